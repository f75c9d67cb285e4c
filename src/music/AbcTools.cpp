#include "music/AbcTools.h"

#include <vector>

#include "music/AbcOptions.h"
#include "music/AbcWorkFiles.h"
#include "music/ReportView.h"
#include "music/TunePrep.h"
#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/Help.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/RunPrograms.h"
#include "shell/ShellState.h"

namespace quorrel {

std::string AbcToolFolder;
std::string Abc2AbcPath;
std::string Abcm2psPath;
std::string Abc2MidiPath;
std::string Midi2AbcPath;
std::string GhostscriptPath;
std::string GhostscriptFolder;

namespace {

constexpr char System[] = "System";
constexpr int GhostLocHelp = 55820;

std::string ReadSystem(const std::string& key) {
  return SettingsIni ? SettingsIni->ReadString(System, key, "") : "";
}

void WriteSystem(const std::string& key, const std::string& value) {
  if (SettingsIni) SettingsIni->WriteString(System, key, value);
}

// A program file of that name we may run; "" when there is none.
std::string Runnable(const std::string& path) {
  std::string found = FindProgram(NativePath(path));
  return found.empty() ? "" : PathFromNative(found);
}

// Runs a version query with its output (or, with toStderr, its error output) going
// to the work file, and returns what it wrote, line ends as CR LF.
std::string QueryVersion(const std::string& program, const std::vector<std::string>& arguments,
                         bool toStderr, int waitSeconds) {
  const std::string file = ToolTextFile();
  DeleteWorkFile(file);
  TRunOptions options;
  (toStderr ? options.stderrFile : options.stdoutFile) = NativePath(file);
  if (!RunHidden(NativePath(program), arguments, 0, options)) return "";
  ToolWaitSeconds = waitSeconds;
  WaitForOutputFile(NativePath(file));
  std::string bytes;
  ReadFileBytes(file, bytes);
  std::string text;
  for (char c : Utf8ToAnsi(bytes)) {
    if (c == '\r') continue;
    if (c == '\n') text += '\r';
    text += c;
  }
  return text;
}

}  // namespace

void ABCClick() {
  if (!GhostscriptPath.empty()) return;
  std::string abc2midi = Runnable("abc2midi");
  AbcToolFolder = abc2midi.empty() ? "" : ExtractFilePath(abc2midi);
  Abc2AbcPath = AbcToolFolder + "abc2abc";
  Abcm2psPath = AbcToolFolder + "abcm2ps";
  Abc2MidiPath = AbcToolFolder + (AbcOption("abc2midiu") ? "abc2midiu" : "abc2midi");
  Midi2AbcPath = AbcToolFolder + "midi2abc";

  GhostscriptPath = ReadSystem("Ghostscript");
  if (!GhostscriptPath.empty() && !FileExists(GhostscriptPath)) {
    const std::string missing = GhostscriptPath;
    GhostscriptPath.clear();
    if (AskYesNo("Ghostscript program not found at\r" + missing +
                 "\rDo you want to specify another location?")) {
      GhostLocClick();
    } else {
      WriteSystem("Ghostscript", "");
    }
  }
  if (GhostscriptPath.empty()) {
    // Beside the ABC programs first, then wherever PATH finds it.
    if (!AbcToolFolder.empty()) GhostscriptPath = Runnable(AbcToolFolder + "gs");
    if (GhostscriptPath.empty()) GhostscriptPath = Runnable("gs");
    if (GhostscriptPath.empty()) {
      AskOkHelpCancel("Ghostscript program not found.", AbcProgramsHelp);
      Abort();
    }
  }
  GhostscriptFolder = ExtractFilePath(GhostscriptPath);
}

void GhostLocClick() {
  if (!GhostscriptPath.empty() && !AskYesNo("Ghostscript program is currently\r" + GhostscriptPath +
                                            "\rDo you want to change this?")) {
    return;
  }
  std::string path = ReadSystem("Ghostscript");
  FileDialogCall call;
  call.title = "Ghostscript program";
  call.filter = "Program files|*";
  call.folder = path.empty() ? GhostscriptFolder : ExtractFilePath(path);
  call.helpContext = GhostLocHelp;
  // Cancel keeps the program there was.
  if (!UserDialogs().FileDialog(call, path)) return;
  if (!FileExists(path)) ShowErrorAndAbort(path + "\rnot found.");
  GhostscriptPath = path;
  GhostscriptFolder = ExtractFilePath(path);
  WriteSystem("Ghostscript", path);
}

void PDFViewerClick() {
  std::string path = PdfViewerPath;
  if (!UserDialogs().InputQuery("Quorrel", "PDF Viewer (with full path)", path, false)) return;
  PdfViewerPath = path;
  if (path.empty() || FileExists(path)) {
    WriteSystem("Viewer", path);
  } else {
    // Kept for this session all the same.
    ShowMsg(path + "\rFile not found.");
  }
}

void VerInfoClick() {
  ABCClick();
  const std::string file = ToolTextFile();
  // -1: four seconds, and an empty file is no error: abcm2ps may answer on either
  // output.
  std::string abcm2ps = QueryVersion(Abcm2psPath, {"-v"}, false, -1);
  if (abcm2ps.empty()) abcm2ps = QueryVersion(Abcm2psPath, {}, true, -1);
  std::string abc2midi = QueryVersion(Abc2MidiPath, {"-ver"}, false, 2);
  std::string abc2abc = QueryVersion(Abc2AbcPath, {"-ver"}, false, 2);
  std::string ghostscript = QueryVersion(GhostscriptPath, {"-version"}, false, 2);
  ghostscript = ghostscript.substr(0, ghostscript.find('\r'));
  DeleteWorkFile(file);
  ShowMsg("ABC Version information\r\rIn folder " + AbcToolFolder + "\r" + abcm2ps +
          "abc2midi: " + abc2midi + "abc2abc: " + abc2abc + "\rIn folder " + GhostscriptFolder +
          "\r" + ghostscript);
}

void HelpABCMClick() {
  ShowHelpContext(AbcProgramsHelp);
}

void InstallAbcToolCommands() {
  const std::pair<const char*, void (*)()> commands[] = {
      {"VerInfo", VerInfoClick},
      {"GhostLoc", GhostLocClick},
      {"PDFViewer", PDFViewerClick},
      {"HelpABCM", HelpABCMClick},
  };
  for (const auto& [name, command] : commands) {
    if (MainMenu().Find(name))
      MainMenu().SetHandler(name, [command](const TMenuItem&) { command(); });
  }
}

void ResetAbcTools() {
  AbcToolFolder.clear();
  Abc2AbcPath.clear();
  Abcm2psPath.clear();
  Abc2MidiPath.clear();
  Midi2AbcPath.clear();
  GhostscriptPath.clear();
  GhostscriptFolder.clear();
  ResetTunePrep();
  ResetReportView();
}

namespace {
const TResetEntry resetAbcTools(ResetAbcTools);
}  // namespace

}  // namespace quorrel
