// Save as and Save copy as.
#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "shell/Backups.h"
#include "shell/ClassifyDocument.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/Hooks.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/RtfView.h"
#include "shell/SaveText.h"
#include "shell/Saving.h"
#include "shell/Scrambled.h"
#include "shell/ShellState.h"
#include "shell/SitePaths.h"
#include "shell/SiteState.h"
#include "shell/StatusBar.h"
#include "shell/TextFiles.h"

namespace quorrel {

namespace {

// A web address's path starts at the first "/" from its tenth character on,
// after "http://" or "https://" and the host.
constexpr size_t kUrlPathFrom = 9;

// The folder the file-list form lists: the top folder of the open documents, as
// the form takes it when it is shown.
std::string FileListRoot() {
  return !HighestFolder.empty() ? HighestFolder : CurrentFolder;
}

bool IsMidiExt(const std::string& ext) {
  return ext.size() >= 4 && UpperCaseAnsi(ext.substr(1, 3)) == "MID";
}

// The name and folder the dialog proposes.
void ProposeName(const std::string& sender, std::string& name, std::string& folder) {
  const std::string path = CurrentFileName;
  name = ExtractFileName(path);
  folder = CurrentFolder;
  if (sender == "RestoreM") name = ChangeFileExt(name, ".RTF");
  const bool web = StartsWithNoCase(path, "http");
  if (!NotInSite && !web) return;
  name.clear();
  folder = FileListRoot();
  if (!web) return;
  const size_t slash = path.find('/', kUrlPathFrom);
  if (slash == std::string::npos) return;
  const std::string local = AddBackslash(folder.empty() ? CurrentFolder : folder);
  std::string target = local + ToLocalPath(path.substr(slash + 1));
  while (target.size() > local.size() && target.back() == '/') target.pop_back();
  name = ExtractFileName(target);
  const std::string wanted = ExtractFilePath(target);
  if (DirectoryExists(wanted)) {
    folder = wanted;
  } else if (AskYesNo(wanted + "\rFolder does not exist - create it?")) {
    std::error_code ec;
    std::filesystem::create_directories(NativePath(wanted), ec);
    if (!ec) folder = wanted;
  }
}

// The document as a copy of it is written: its RTF source, its text with the line
// ends of its type, or its scrambled form when it is kept scrambled.
std::string CopyBytes() {
  TMyRich& editor = *CurrentEditor;
  GetEditorText();
  if (MainMenu().Checked("Encrypted") && !IsRtf) {
    return ScrambleDocumentBytes(CurrentText, CurrentScrambleKey());
  }
  if (IsRtf) {
    const std::string source = editor.PlainText() ? CurrentText : GetRtfSource(editor);
    const size_t zero = RtfZeroByte(source);
    if (zero != std::string::npos) ShowErrorAndAbort(RtfZeroByteMessage(zero));
    return TextForDisk(TightenRtfLineBreaks(source), false, true);
  }
  return TextForDisk(CurrentText, IsHtml || editor.LfOnlyFile(), false);
}

}  // namespace

std::string SaveAsFilter() {
  if (CurrentExt == ".HTM" || CurrentExt == ".HTML") return "Web pages|*.htm;*.html|All files|*.*";
  if (CurrentExt == ".TXT") return "All files|*.*";
  return CurrentExt + " files|*" + CurrentExt + "|All files|*.*";
}

void SaveAsClick(const std::string& sender) {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const bool copy = sender == "SaveCopyAs";

  // The filter, and a word about keywords a page may not mean to carry.
  GetEditorText();
  ClassifyDocument();
  const std::string filter = SaveAsFilter();
  if (CurrentExt == ".HTM" || CurrentExt == ".HTML") {
    const size_t at = PosNoCase("meta name=keywords", CurrentText);
    if (at > 0) {
      ShowMsg("Warnimg: File contains \"" + CurrentText.substr(at - 1, 18) +
              "\"\rwhich you might not have meant.");
    }
  }

  // The name, proposed and then chosen.
  std::string name, folder;
  ProposeName(sender, name, folder);
  std::string chosen = name.empty() ? std::string() : AddBackslash(folder) + name;
  if (!ShowFileDialog(filter, folder, true, chosen, copy ? "Save a copy as..." : "Save as...")) {
    Abort();
  }
  const std::string oldPath = CurrentFileName;
  const bool midi = IsMidiExt(ExtractFileExt(oldPath));

  // A copy leaves the document as it is.
  if (copy || midi) {
    bool written;
    if (midi) {
      written = CopyFileBytes(oldPath, chosen);
    } else {
      written = ReplaceFile(chosen, CopyBytes(), false) == TReplaceResult::Replaced;
    }
    if (!written) ShowErrorAndAbort("Unable to create\r" + chosen);
    ShowStatus("Saved as " + chosen);
    return;
  }

  // The document takes the new name and is saved there.
  CurrentDocument().FileAge = 0;
  CurrentFileName = chosen;
  SetTabCaption(chosen);
  ClassifyDocument();
  CurrentFolder = ExtractFilePath(chosen);
  if (LoadServerDetailsHook(chosen) && SiteHasServer) CheckServer();
  SaveClick("NoValidate");
  // A save started from Save (an untitled document) leaves the window's caption to
  // the tab change.
  if (TMainWindow* window = MainWindow(); window && window->Caption() != MainCaption()) PCChange();
}

}  // namespace quorrel
