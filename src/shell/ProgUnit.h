#pragma once
// Progress and error report of long runs over many files (building a site,
// copying menus, comparing with the server). One box, TProgBox, shows the lines
// of the running run; TProgress counts its errors, keeps every line in the report
// file and ends the run with its count. Texts are Windows-1252 bytes.
#include <fstream>
#include <string>
#include <vector>

namespace quorrel {

inline constexpr char ErrorReportFile[] = "EReport.Txt";

// What the progress box shows; the box draws it.
struct TProgBoxState {
  std::string caption;  // "" while no run is in progress
  std::vector<std::string> lines;
  std::string errorLabel;  // "Errors: n" during a run with errors
  std::string cancelCaption = "Cancel";
  bool printVisible = false;
  bool scrollBar = false;
  int width = 0;
  int helpContext = 0;
  bool visible = false;
};

// The box as core reaches it; the ui's TProgBox implements it. Without one,
// nothing is drawn and the model alone records the run.
class TProgressView {
 public:
  virtual ~TProgressView() = default;
  // The model was set up for a new run (text cleared, buttons reset).
  virtual void RunPrepared() = 0;
  // A line was appended to the model: show it and repaint.
  virtual void LineAdded(const std::string& line) = 0;
  // Caption, label, buttons, width or scroll bar changed.
  virtual void StateChanged() = 0;
  virtual void ShowBox() = 0;  // not modal
  virtual void HideBox() = 0;
  // Shows the box modally until the user closes it with "OK".
  virtual void ShowModalBox() = 0;
  // Lets pending events run, so the user can press Cancel.
  virtual void ProcessMessages() = 0;
  // Prints the lines of a run that reports to the printer.
  virtual void PrintLines(const std::vector<std::string>& lines) = 0;
};

void SetProgressView(TProgressView* view);
const TProgBoxState& ProgBoxState();

// Set by the box's Cancel button; a run tests it between files.
extern bool RunCancelled;

class TProgress;
// The run in progress, nullptr when none.
extern TProgress* ActiveProgress;

class TProgress {
 public:
  // Prepares the box for a run. Refuses, with a message and the silent abort,
  // while another run still uses the box.
  TProgress(const std::string& caption, int helpContext, bool showTimes, bool toReportFile);
  // Ends the run quietly when Destroy was not reached (a command that aborted).
  ~TProgress();
  TProgress(const TProgress&) = delete;
  TProgress& operator=(const TProgress&) = delete;

  void SetWidth(int width);
  // A progress line.
  void Add(const std::string& line);
  // An error line, counted.
  void Error(const std::string& line);
  // The final line and count; the box stays up for reading until "OK" when it
  // holds more than one line. The report file is deleted afterwards.
  void Destroy();

  int ErrorCount() const;
  // Where the report is written ("" before the first line or without a file).
  const std::string& ReportPath() const { return reportPath_; }

 private:
  void OpenReport();
  void WriteReport(const std::string& line);
  void CloseReport();
  void Finish();

  bool showTimes_;
  bool toReportFile_;
  bool reportOpen_ = false;
  bool finished_ = false;
  std::string reportPath_;
  std::ofstream report_;
  std::vector<std::string> printed_;  // lines for the printer
};

// The box's Cancel button, or its window being closed: asks "Cancel the run?"
// during a run. Returns true when the box is to close.
bool ProgBoxCancelClick();

// Back to the state of a freshly started program.
void ResetProgUnit();

}  // namespace quorrel
