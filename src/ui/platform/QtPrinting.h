#pragma once
// Printing on Qt: the printer of the run, which the set-up dialog, the print dialog
// and every job share, and the printing of a job page by page.
#include <string>

#include "shell/PrintLayout.h"

class QPrinter;
class QTextDocument;

namespace quorrel {

// Made on first use, so that starting the program does not wait for the print
// system; it keeps the settings the user chose until the program ends.
QPrinter& RunPrinter();

// Prints the job on the run's printer, sent where its target says: the formatted
// document when one is given, else the job's text. "" when printed, else why not.
std::string PrintJob(const TPrintJob& job, const QTextDocument* formatted);

}  // namespace quorrel
