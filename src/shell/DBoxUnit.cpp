#include "shell/DBoxUnit.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "platform/Abort.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "shell/EditorPaints.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

// Messages are centred in a box of this many characters.
constexpr int kCentreWidth = 50;

// Batch commands whose messages name the page being processed (menu component names:
// "Update &Menu", "Validate all", "Build &Web pages").
constexpr const char* kBatchCommands[] = {"UpMenu", "ValAll", "BuildAll", "RefreshLib", "RegenHtml"};

const char kLargeFontMessage[] =
    "Using a font size more than 125% means that some items will not be displayed correctly.";

std::string ExecutableFolder() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return "/";
  return AddBackslash(exe.parent_path().string());
}

bool InBatchRun() {
  if (IsContentDoc || IsDotPage) return true;
  return std::any_of(std::begin(kBatchCommands), std::end(kBatchCommands),
                     [](const char* name) { return CurrentCommand == name; });
}

int AskQuestion(DialogKind kind, const std::string& question, int helpContext) {
  DialogCall call;
  call.kind = kind;
  call.text = question;
  call.caption = ApplicationTitle;
  call.helpContext = helpContext;
  TEditorPaints paints;
  return UserDialogs().ShowBox(call);
}

int YesNoOrCancel(int result) {
  return result == mrYes || result == mrNo ? result : mrCancel;
}

}  // namespace

int MessageTimeout = 0;
int FontScale = NormalFontScale;
std::string ProgramDir = ExecutableFolder();
bool NotepadMode = false;

std::string MessageText(const std::string& message) {
  std::string text = message;
  int n = (kCentreWidth - static_cast<int>(text.size())) / 2;
  if (n > 0 && text.find('\r') == std::string::npos) {
    text = std::string(n, ' ') + text + std::string(n, ' ');
  }
  if (!CurrentPageName.empty() && InBatchRun()) {
    std::string name = CurrentPageName;
    if (name.find('.') == std::string::npos) name += ".htm";
    if (text.find(name) == std::string::npos) text += "\r" + name;
  }
  return text;
}

void ShowMsg(const std::string& message) {
  DialogCall call;
  call.text = MessageText(message);
  // The text goes to the box as it stands: Qt boxes show "&" as it is.
  if (MessageTimeout > 0) {
    call.kind = DialogKind::TimedMessage;
    call.caption = "Quorrel";
    call.timeoutMs = MessageTimeout;
  } else {
    call.kind = DialogKind::Message;
    call.caption = ApplicationTitle;
  }
  // The timeout belongs to this one message, whatever becomes of it.
  MessageTimeout = 0;
  {
    TEditorPaints paints;
    UserDialogs().ShowBox(call);
  }
  UserDialogs().ProcessMessages();
}

void ShowErrorAndAbort(const std::string& message) {
  ShowMsg(message);
  CurrentCommand.clear();
  Abort();
}

bool AskYesNo(const std::string& question) {
  return AskQuestion(DialogKind::YesNo, question, 0) == mrYes;
}

bool AskYesNoHelp(const std::string& question, int helpContext) {
  return AskQuestion(DialogKind::YesNoHelp, question, helpContext) == mrYes;
}

int AskYesNoCancel(const std::string& question) {
  return YesNoOrCancel(AskQuestion(DialogKind::YesNoCancel, question, 0));
}

int AskYesNoCancelHelp(const std::string& question, int helpContext) {
  return YesNoOrCancel(AskQuestion(DialogKind::YesNoCancelHelp, question, helpContext));
}

int AskOkHelpCancel(const std::string& message, int helpContext) {
  return AskCustom(message, "&OK", "&Help", helpContext, "Cancel");
}

int AskCustom(const std::string& message, const std::string& caption1, const std::string& caption2,
              int helpContext, const std::string& caption3) {
  DialogCall call;
  call.kind = DialogKind::Custom;
  call.text = message;
  call.caption = ApplicationTitle;
  call.buttons = {caption1, caption2, caption3};
  call.helpContext = helpContext;
  TEditorPaints paints;
  int result = UserDialogs().ShowBox(call);
  UserDialogs().ProcessMessages();
  return result == mrNone ? mrCancel : result;
}

std::string EscapeAmpersands(const std::string& text) {
  std::string result;
  result.reserve(text.size() + 8);
  for (char c : text) {
    result += c;
    if (c == '&') result += '&';
  }
  return result;
}

std::string PadLeft(const std::string& text, int width, char fill) {
  width = std::max(width, 0);
  int length = static_cast<int>(text.size());
  if (length == width) return text;
  // An over-long value shows as a row of stars rather than a misleading cut.
  if (length > width) return std::string(width, '*');
  return std::string(width - length, fill) + text;
}

std::string PadRightOrCut(const std::string& text, int width) {
  size_t w = static_cast<size_t>(std::max(width, 0));
  if (text.size() < w) return text + std::string(w - text.size(), ' ');
  return text.substr(0, w);
}

std::string AddBackslash(const std::string& path) {
  if (!path.empty() && path.back() == '/') return path;
  return path + "/";
}

std::string AddSlash(const std::string& path) {
  if (path.empty() || path.back() == '/') return path;
  return path + "/";
}

std::string CurrentDirWithBackslash() {
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::current_path(ec);
  return AddBackslash(ec ? std::string() : dir.string());
}

int ScaleForFont(int x) {
  return (x * FontScale + NormalFontScale / 2) / NormalFontScale;
}

TSplashMode SplashModeFor(const std::string& programDir, const std::string& firstParameter) {
  TSplashMode mode;
  if (ContainsNoCase(programDir, "Notepad")) {
    mode.progName = "Notepad";
    mode.notepad = true;
  }
  // Only "/R" on its own is the switch; "/root/page.htm" is a document.
  if (firstParameter.size() == 2 && firstParameter[0] == '/' &&
      (firstParameter[1] == 'R' || firstParameter[1] == 'r')) {
    mode.progName = "Reformatter";
    mode.reformatter = true;
    mode.height = 100;
  }
  return mode;
}

int TenPointFontHeight(double dotsPerInch) {
  return -static_cast<int>(std::lround(10.0 * dotsPerInch / 72.0));
}

void CheckLargeFonts(double dotsPerInch) {
  int height = TenPointFontHeight(dotsPerInch);
  if (height < -13) FontScale = LargeFontScale;
  if (height < -17) ShowMsg(kLargeFontMessage);
}

std::string AboutVersionLine() {
  return std::string("Version ") + QUORREL_VERSION + ", " + BuildDate;
}

void ResetDBoxUnit() {
  MessageTimeout = 0;
  FontScale = NormalFontScale;
  NotepadMode = false;
}

namespace {
const TResetEntry resetDBoxUnit(ResetDBoxUnit);
}  // namespace

}  // namespace quorrel
