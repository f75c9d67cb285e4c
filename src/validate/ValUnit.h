#pragma once
// The state the validators share with the dispatcher (commands/ValidateCurrentFile.h),
// the run over every matching file in and below a folder, the validators' error
// routines and the report tabs. Texts are Windows-1252 bytes. Offsets are into CurrentText,
// whose line ends are one character in an HTML working copy and two otherwise;
// the error routines turn them into editor positions.
#include <string>

namespace quorrel {

// ---- state of one validation of the current document (kept afterwards) --------------
// Check without rewriting the document or marking it modified: generated pages, the
// content document, the site-menu update, the re-check after a download.
extern bool CheckOnly;
// Set by a validator that changed the text and wants another pass.
extern bool ValidateAgain;
// Passes run so far in this call (starts at 1 for the re-check after a download).
extern int ValidationPass;
// The folder against which relative references are resolved, with "/".
extern std::string ValidationBaseFolder;

// Text handed from one validator to the next: the PHP and Classic ASP checkers give
// their re-indented page to the HTML validator, which reads it on every pass after
// the first and writes its output back; site tools hand pages in and take them back.
extern std::string HandOverText;
// The HTML validator's pending error ("" = none) and the help context going with it.
extern std::string ErrMsg;
extern int ErrHelpContext;
// The CSS validator is checking a style block of a page for the HTML validator.
extern bool CheckingStyleBlock;

// At most this many passes; a server page gets two, a re-check after a download four.
constexpr int MaxValidationPasses = 5;
inline constexpr char ValidationLoopMessage[] = "Validation loop";

// ---- folder runs ------------------------------------------------------------------------
// A folder preset for the next ValidateFolder (used once, then cleared).
extern std::string ValidateFolderRoot;
// Whether a folder run is going on.
constexpr int BatchIdle = 0;
constexpr int BatchRunning = 1;
constexpr int BatchStopAsked = 2;  // closing the program asked the run to stop
extern int BatchState;
// The first folder run of the program asks whether images are to be checked
// against the server; later runs do not.
extern bool AskServerImages;
// The files the Validate-all command takes.
inline constexpr char ValidateAllPatterns[] = "*.HTM|*.HTML|*.ASP|*.ASPX|*.PHP|*.CS|*.CSS";

// Validates every file matching one of the "|"-separated masks in and below a folder,
// saving each file the validation changed. The first error stops the run with its
// file open at the error; the progress box's Cancel stops it before the next file.
void ValidateFolder(const std::string& patterns);

// ---- error routines of the validators --------------------------------------------------
// Error at the 1-based CurrentText index n: the caret goes there and the message is
// shown after "At offset " and n - 1. Ends the command.
[[noreturn]] void RaiseAtOffset(const std::string& message, long n);
// Error at the 0-based CurrentText offset n: the caret goes there, the message is
// shown followed by "\rat offset " and n (nothing is shown for an empty message, when
// the validator has spoken already), and the place blinks. Ends the command.
[[noreturn]] void RaiseErrorAt(const std::string& message, long n);

// Marks the current document modified unless the run only checks; every validator
// calls it when it has rewritten the text.
void MarkDocumentChanged();

// With the Debug option: where a validator's output first differs from its input,
// and, when asked, both in the outside compare program.
void CompareInputOutput(const std::string& input, const std::string& output);

// ---- report tabs ----------------------------------------------------------------------
// Makes the tab of a document's slot the current one (nothing happens when no tab
// holds the slot), with the caret at the start when toTop is set.
void ShowFileTab(int fileIndex, bool toTop);
// Makes the first "Untitled" document current, or opens a new plain-text one, for
// a report to be written into it.
void UseUntitledTab();

// Back to the state of a freshly started program.
void ResetValUnit();

}  // namespace quorrel
