#include "shell/ProgUnit.h"

#include <unistd.h>

#include <QTime>
#include <stdexcept>

#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "shell/DBoxUnit.h"
#include "shell/EditorPaints.h"

namespace quorrel {

bool RunCancelled = false;
TProgress* ActiveProgress = nullptr;

namespace {

class NoView : public TProgressView {
 public:
  void RunPrepared() override {}
  void LineAdded(const std::string&) override {}
  void StateChanged() override {}
  void ShowBox() override {}
  void HideBox() override {}
  void ShowModalBox() override {}
  void ProcessMessages() override {}
  void PrintLines(const std::vector<std::string>&) override {}
};

NoView noView;
TProgressView* view = &noView;
TProgBoxState box;

// The error count of the running report.
int errorCount = 0;
// Stops Add and Error from calling each other in a loop: 'O' while Add writes
// its line to the report, 'E' while Error shows its line.
char reportState = ' ';

void ShowBoxIfHidden() {
  if (box.visible) return;
  box.visible = true;
  view->ShowBox();
}

void HideTheBox() {
  box.visible = false;
  view->HideBox();
}

}  // namespace

void SetProgressView(TProgressView* v) {
  view = v ? v : &noView;
}

const TProgBoxState& ProgBoxState() {
  return box;
}

TProgress::TProgress(const std::string& caption, int helpContext, bool showTimes, bool toReportFile)
    : showTimes_(showTimes), toReportFile_(toReportFile) {
  // The box, its count and its report belong to one run at a time.
  if (!box.caption.empty()) {
    ShowErrorAndAbort("\"" + box.caption +
                      "\" is still running.\rWait for it to end, or cancel it.");
  }
  box.caption = caption.empty() ? " " : caption;
  box.lines.clear();
  box.width = ScaleForFont(showTimes ? 302 : 250);
  box.cancelCaption = "Cancel";
  box.printVisible = false;
  box.errorLabel.clear();
  box.scrollBar = false;
  if (helpContext != 0) box.helpContext = helpContext;
  errorCount = 0;
  reportState = ' ';
  RunCancelled = false;
  ActiveProgress = this;
  view->RunPrepared();
}

TProgress::~TProgress() {
  if (finished_) return;
  // A run that ended by an abort: no final box, but nothing left behind either.
  CloseReport();
  Finish();
}

void TProgress::SetWidth(int width) {
  box.width = ScaleForFont(width);
  view->StateChanged();
}

int TProgress::ErrorCount() const {
  return errorCount;
}

void TProgress::Add(const std::string& line) {
  if (box.caption.empty()) {
    ShowMsg(line);
    return;
  }
  ShowBoxIfHidden();
  std::string shown = line;
  if (showTimes_) shown = QTime::currentTime().toString("hh:mm").toStdString() + "  " + line;
  box.lines.push_back(shown);
  view->LineAdded(shown);
  if (reportState != 'E') {
    reportState = 'O';
    Error(shown);
    reportState = ' ';
  }
  view->ProcessMessages();
}

void TProgress::Error(const std::string& line) {
  if (box.caption.empty()) {
    ShowMsg(line);
    return;
  }
  if (!reportOpen_) {
    OpenReport();
    ShowBoxIfHidden();
  }
  if (reportState != 'O') {
    ++errorCount;
    box.errorLabel = "Errors: " + std::to_string(errorCount);
    view->StateChanged();
    reportState = 'E';
    Add(line);
    reportState = ' ';
  }
  WriteReport(line);
}

void TProgress::Destroy() {
  if (finished_) return;
  box.cancelCaption = "OK";
  if (box.lines.size() > 29) box.scrollBar = true;
  view->StateChanged();
  if (errorCount == 0) {
    Add("End of processing.");
  } else {
    box.errorLabel.clear();
    view->StateChanged();
    Add("*** ERRORS: " + std::to_string(errorCount));
  }
  CloseReport();
  box.printVisible = true;
  view->StateChanged();
  HideTheBox();
  if (!toReportFile_) view->PrintLines(printed_);
  if (box.lines.size() > 1) {
    box.visible = true;
    TEditorPaints paints;
    view->ShowModalBox();
  }
  Finish();
}

void TProgress::OpenReport() {
  reportOpen_ = true;
  if (!toReportFile_) return;
  // A work file of our own: in the private temporary folder, so that no file of
  // the user's that happens to bear the name is emptied and deleted.
  try {
    reportPath_ = TempFolder() + ErrorReportFile;
  } catch (const std::runtime_error&) {
    reportPath_.clear();
    return;
  }
  report_.open(reportPath_, std::ios::binary | std::ios::trunc);
  if (!report_) reportPath_.clear();
}

void TProgress::WriteReport(const std::string& line) {
  if (!toReportFile_) {
    printed_.push_back(line);
    return;
  }
  if (report_.is_open()) {
    report_ << line << "\r\n";
    report_.flush();
  }
}

void TProgress::CloseReport() {
  if (report_.is_open()) report_.close();
}

void TProgress::Finish() {
  finished_ = true;
  box.caption.clear();
  HideTheBox();
  view->StateChanged();
  if (!reportPath_.empty()) ::unlink(reportPath_.c_str());
  if (ActiveProgress == this) ActiveProgress = nullptr;
}

bool ProgBoxCancelClick() {
  if (box.caption.empty() || box.cancelCaption == "OK") {
    box.visible = false;  // the next line of a run still going brings it back
    return true;
  }
  if (AskYesNo("Cancel the run?")) {
    RunCancelled = true;
    box.cancelCaption = "OK";
    view->StateChanged();
  }
  return false;
}

void ResetProgUnit() {
  box = TProgBoxState();
  errorCount = 0;
  reportState = ' ';
  RunCancelled = false;
  ActiveProgress = nullptr;
}

namespace {
const TResetEntry resetProgUnit(ResetProgUnit);
}  // namespace

}  // namespace quorrel
