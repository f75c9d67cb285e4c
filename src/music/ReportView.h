#pragma once
// The report viewer "Errors/Warnings": a window beside the editor listing ReadList,
// in which a click on a message that names a line (and column) of the document
// puts the caret there. The window is the ui's; what a click means is decided here.
#include <functional>
#include <optional>
#include <string>

namespace quorrel {

// The window, registered by the ui at start-up.
class TReportViewer {
 public:
  virtual ~TReportViewer() = default;
  // Shows ReadList, not modally; replaces a viewer already showing.
  virtual void Show() = 0;
  virtual void Close() = 0;
  virtual bool Showing() const = 0;
};
void SetReportViewer(TReportViewer* viewer);
TReportViewer* ReportViewer();
// Shows ReadList in the viewer, or closes it; nothing happens without a viewer.
void ShowReportViewer();
void CloseReportViewer();

inline constexpr int ReportViewerHelp = 55500;
inline constexpr char ReportViewerCaption[] = "Errors/Warnings";

// Where a message line points: a 1-based line and a column (characters into it).
struct TReportPlace {
  long line = 0;
  long column = 0;
};
// The line is the number at the start of the message, or the first number after
// " in line"; "-", "." or ":" after it introduces the column. Nothing for a message
// without a number, with a number too large or below 1, or holding "[" (its number
// could not be computed).
std::optional<TReportPlace> ParseReportLine(const std::string& message);

// The viewer's click on a message: puts the caret of the current editor at the
// place it names (the line's start plus the column, not past the line's end),
// pauses the MIDI player, focuses the editor and starts the caret's blink. Returns
// false when the message names no place or no document is open.
bool ReportLineClicked(const std::string& message);

// What a jump asks of other parts of the program, installed by them: pausing the
// MIDI player while it plays, and scheduling the caret refresh (blink) job.
void SetReportJumpHooks(std::function<void()> pausePlayer,
                        std::function<void()> scheduleCaretRefresh);

// Back to the state of a freshly started program: no viewer, no hooks.
void ResetReportView();

}  // namespace quorrel
