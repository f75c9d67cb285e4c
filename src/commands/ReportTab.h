#pragma once
// Where a command's report goes: a tab of its own, never the document it reports on.
#include <string>

namespace quorrel {

class TMyRich;

// Makes the first "Untitled" document current for a report, or a new plain one
// when the current document is itself an untitled one (the report may be about it).
void OpenReportTab();

// Shows a report in that tab: the text, unmodified, with the caret at its start.
// Nothing is shown when no tab could be had, or when the tab would be `never` (an
// editor the command works in).
void ShowReport(const std::string& text, const TMyRich* never = nullptr);

}  // namespace quorrel
