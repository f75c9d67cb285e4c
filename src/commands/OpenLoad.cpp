// Reading an existing file into the current tab: the file's kind decides how its
// bytes become the editor's text.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

#include "commands/OpenSteps.h"
#include "commands/ValidateCurrentFile.h"
#include "edit/TextRepairs.h"
#include "music/MyPlayer.h"
#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "platform/UserDialogs.h"
#include "publish/FetchUrl.h"
#include "shell/Archive7z.h"
#include "shell/ClassifyDocument.h"
#include "shell/Closing.h"
#include "shell/CommandNames.h"
#include "shell/Commands.h"
#include "shell/DBoxUnit.h"
#include "shell/DirectoryListing.h"
#include "shell/Documents.h"
#include "shell/DocumentsOpen.h"
#include "shell/DocumentsPending.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/RtfView.h"
#include "shell/SaveText.h"
#include "shell/Scrambled.h"
#include "shell/ShellState.h"
#include "shell/SlowRead.h"
#include "shell/TextFiles.h"
#include "shell/WPFormat.h"
#include "shell/WorkFiles.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

constexpr int AddBaseTagHelp = 32200;

// How the reading of a file ended.
enum class TLoad {
  Stop,     // stopped with the document left as it is
  Closed,   // the tab was closed (the file went elsewhere)
  Text,     // the file's text is in the editor
  Special,  // a web page or a played file: no file text to check
};

int64_t FileTimeOf(const std::string& path) {
  struct stat st;
  return ::stat(NativePath(path).c_str(), &st) == 0 ? static_cast<int64_t>(st.st_mtime) : 0;
}

void ShowStatusText(const std::string& text) {
  if (TMainWindow* w = MainWindow()) w->SetStatusText(MessagePanel, "  " + text);
}

// CurrentText back into the editor after a conversion.
void PutBack() {
  CurrentEditor->SetText(CurrentText);
  DocModified = true;
  GetEditorText();
}

// The slot blanked and the tab freed after a failed load.
void DropTab(int slot) {
  TMainWindow* w = MainWindow();
  const int tab = TabOfSlot(slot);
  if (slot >= 0 && static_cast<size_t>(slot) < OpenFiles.size()) OpenFiles[slot].clear();
  if (w && tab >= 0) {
    w->CloseTab(tab);
    if (w->TabCount() > 0) w->ActivateTab(std::max(tab - 1, 0));
  }
  CurrentEditor = nullptr;
  PCChange();
}

// The user's own file without its write bit gets it back; someone else's file is
// opened as it is, and a save will say that it cannot be written.
void OfferWriting(const std::string& path) {
  const std::string native = NativePath(path);
  struct stat st;
  if (::stat(native.c_str(), &st) != 0 || st.st_uid != ::geteuid() || (st.st_mode & S_IWUSR)) {
    return;
  }
  if (NotInSite || AskYesNo(path + " is read-only.\r\rChange to read-write?")) {
    ::chmod(native.c_str(), (st.st_mode & 07777) | S_IWUSR);
  }
}

// The binary question; returns Closed when the file went elsewhere.
TLoad AskAboutBinary(const std::string& path) {
  const int answer =
      AskCustom("Run this file using its default program?", "&Run", "&Open as text", 0, "&Save");
  if (answer == mrNo) return TLoad::Text;
  if (answer == mrYes) {
    ShellOpen(path);
    CloseClick("CloseTab");
    return TLoad::Closed;
  }
  const std::string ext = ExtractFileExt(path);
  std::string chosen = path;
  const bool save = ShowFileDialog(ext + " files|*" + ext + "|All files|*.*", ExtractFilePath(path),
                                   true, chosen, "Save as");
  if (save && !CopyFileBytes(path, chosen)) ShowErrorAndAbort("Unable to create file " + chosen);
  CurrentEditor->SetModified(false);
  CloseClick("CloseTab");
  if (save) ShowMsg(chosen + " saved.");
  return TLoad::Closed;
}

bool IsBinaryDocument(const std::string& ext) {
  return ext.starts_with(".DOC") || ext.starts_with(".GZ") || ext.starts_with(".PDF") ||
         ext.starts_with(".ZIP") || (IsBinaryExtension(ext) && ext != ".BAK");
}

TLoad OpenWebAddress(const std::string& address) {
  TMainWindow* w = MainWindow();
  const size_t cut = address.find_last_of("/\\");
  const std::string name = cut == std::string::npos ? address : address.substr(cut + 1);
  if (w) w->SetTabCaption(w->ActiveTab(), name, "");
  const bool rtf = PosNoCase(".RTF", address) > 0;
  CurrentEditor->SetPlainText(!rtf);
  const std::string page = FetchUrl(address, name);
  if (page.empty()) return TLoad::Stop;
  if (IsDirectoryListing(page)) {
    CurrentEditor->SetText(DirectoryListingText(address, page));
  } else if (rtf && page.starts_with("{")) {
    CurrentEditor->SetRtfSource(page);
  } else {
    CurrentEditor->SetText(page);
    if (PosNoCase("<html", page) > 0 && PosNoCase("<base", page) == 0 &&
        CurrentCommand != "SiteMapXml" && AskYesNoHelp("Add Base tag?", AddBaseTagHelp)) {
      InsertBaseTag(address);
    }
  }
  DocModified = true;
  GetEditorText();
  return TLoad::Special;
}

// Reads the file, the steps that may stop or replace the open coming first.
TLoad LoadFile(TOpenRun& run) {
  const bool raw = CurrentCommand == OpenRawCommand;
  std::string& path = run.path;
  if (path.starts_with("rtsp://")) {
    ShowMsg("Sorry, Quorrel cannot download RTSP files.");
    CurrentEditor->SetModified(false);
    return TLoad::Stop;
  }
  const bool web = StartsWithNoCase(path, "HTTP");
  if (path == "Content") return TLoad::Stop;
  if (!web && !FileExists(path)) {
    const std::string backup = path + ".Bak";
    if (FileExists(backup) && AskYesNo(path + " not found.  Restore from back-up file?")) {
      if (!CopyFileBytes(backup, path)) ShowErrorAndAbort("Unable to create file " + path);
    } else {
      ShowMsg("File not found:\r" + path);
      CurrentEditor->SetModified(false);
      return TLoad::Stop;
    }
  }
  if (web) return OpenWebAddress(path);
  if (AppPhase == PhaseRunning && !raw && IsBinaryDocument(CurrentExt)) {
    if (AskAboutBinary(path) == TLoad::Closed) return TLoad::Closed;
  }
  if (CurrentExt == ".7Z") {
    path = ExtractFirstMember(path);
    CurrentFileName = path;
    if (run.slot >= 0 && static_cast<size_t>(run.slot) < OpenFiles.size())
      OpenFiles[run.slot] = path;
    SetTabCaption(path);
    ClassifyDocument();
  }
  if (CurrentExt == ".MID" || CurrentExt == ".MIDI" || CurrentExt == ".MP3") {
    OpenInPlayer(path);
    return TLoad::Special;
  }
  OfferWriting(path);

  // Loading.
  std::string bytes;
  if (!FileBytes(path, bytes)) throw std::runtime_error("Cannot open file \"" + path + "\".");
  if (IsRtf) DropRtfEndMark(bytes);
  RemoveLeftoverWorkFiles(NativePath(path));
  const size_t expected = LoadedLengthOf(bytes) / 5 * 5;
  const std::string firstFive = bytes.substr(0, 5);
  const bool utf16 = IsUtf16(bytes);
  const bool scrambled = IsScrambledData(bytes);
  const bool zeroByte = HoldsZeroByte(bytes);
  const TDocumentType type = CurrentDocumentType();
  ShowStatusText("Loading " + path);
  const bool formatted = IsRtf && !raw;
  CurrentEditor->SetPlainText(!formatted);
  CurrentEditor->SetLfOnlyFile(HasLfOnlyLineEnds(bytes));
  // The bytes become the text, unless a step below reads them: the editor takes a
  // copy of its own, and a large file is not to be held three times. The slow read
  // offered for a size discrepancy reads the file again.
  const bool keepBytes = utf16 || scrambled || OffersSlowRead(path, type, zeroByte, false);
  std::string text = keepBytes ? LoadedText(bytes) : LoadedText(std::move(bytes));
  if (!keepBytes) bytes.clear();
  // A plain text goes into the editor once, after the conversions below: each
  // SetText of a long text costs Qt a pass over all of it.
  const bool editorDue = !(formatted && text.starts_with("{")) && !keepBytes;
  bool converted = false;
  auto putBack = [&] {
    if (editorDue) {
      converted = true;
    } else {
      PutBack();
    }
  };
  if (formatted && text.starts_with("{")) {
    CurrentEditor->SetRtfSource(text);
    DocModified = true;
    GetEditorText();
  } else if (editorDue) {
    TakeEditorText(text);
  } else {
    CurrentEditor->SetText(text);
    TakeEditorText(std::move(text));
  }
  // The size as loaded: the conversions below shorten the text on purpose.
  const size_t loaded = CurrentText.size();

  if (!raw && CurrentExt == ".TXT" && CurrentText.find('\x80') != std::string::npos) {
    CurrentText = Utf8PunctuationToAscii(CurrentText);
    putBack();
  }
  if (!raw && IsHtml && CurrentText.find("\xE2\x80") != std::string::npos) {
    CurrentText = HtmlUtf8Punctuation(CurrentText);
    putBack();
  }
  IsPlainText = CurrentExt == ".TXT" && CurrentText.find("========") != std::string::npos;
  IsOfficeHtml = PosNoCase("<o:", CurrentText) > 0;
  if (formatted) ReportEmptyRtf(path, CurrentEditor->TextLength(), false);

  if (utf16) {
    ShowMsg(
        "Quorrel does not support Double-byte character set (Unicode).\rConverting to normal "
        "text.");
    CurrentText = Utf16ToAnsi(bytes);
  } else if (scrambled) {
    ReadScrambledDocument();
  } else if (OffersSlowRead(path, type, zeroByte, loaded < expected || loaded > expected + 127) &&
             AskYesNoHelp(SlowReadQuestion, SlowReadHelp)) {
    CurrentEditor->SetText("");
    if (bytes.empty() && !FileBytes(path, bytes)) {
      throw std::runtime_error("Cannot open file \"" + path + "\".");
    }
    size_t zeros = 0;
    CurrentText = SlowReadText(bytes, &zeros);
    putBack();
    if (zeros > 0) ShowMsg("X'00' byte(s) in input file.\r\rDO NOT SAVE!");
  }
  // A binary file opened as text is not repaired: its bytes are not text.
  if (!IsRtf && ((!IsBinaryExtension(CurrentExt) && FixPseudoBlanks(CurrentText)) || utf16)) {
    putBack();
  }
  if (editorDue) {
    if (converted) {
      PutBack();
    } else {
      CurrentEditor->SetText(text);
    }
  }

  // Caret and state.
  if (run.reload) {
    ScrollToPos(std::min(run.keptCaret, CurrentEditor->TextLength()), true);
  } else if (CurrentCommand != FindCommand && CurrentCommand != FindNextCommand) {
    CurrentEditor->Select(0, 0);
    ScrollToPos(std::min(StoredCaretPosition(path), CurrentEditor->TextLength()), true);
  }
  CurrentEditor->SetModified(false);
  if (run.slot >= 0 && run.slot < MaxTabs) FileAges[run.slot] = FileTimeOf(path);
  if (RtfInDisguise(firstFive) == TRtfDisguise::RenderedToSave) {
    DocModified = true;
    GetEditorText();
    MainMenu().Click("Save");
  }
  return TLoad::Text;
}

}  // namespace

size_t LoadedLengthOf(const std::string& bytes) {
  size_t length = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    length += bytes[i] == '\r' || bytes[i] == '\n' ? 2 : 1;
  }
  if (!bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n') length += 2;
  return length;
}

bool ReformatOnOpen(const std::string& text) {
  if (IsCss) return PosCase(" {", text) == 0 && PosNoCase("NoReformat", text) == 0;
  return (CurrentExt == ".HTM" || CurrentExt == ".HTML") && PosNoCase("\n<Head ", text) == 0 &&
         PosNoCase("\n<Head>", text) == 0;
}

void OpenExistingFile(TOpenRun& run) {
  TLoad load = TLoad::Stop;
  try {
    load = LoadFile(run);
  } catch (const EAbort&) {
    DropTab(run.slot);
    throw;
  } catch (const std::exception& e) {
    ShowMsg(e.what());
    DropTab(run.slot);
    return;
  }
  if (load == TLoad::Stop || load == TLoad::Closed) return;
  if (load == TLoad::Special) {
    CurrentEditor->Select(0, 0);
    CurrentEditor->SetModified(false);
  }
  if (CurrentExt != ".CSS" && PosNoCase("Bots.Txt", CurrentFileName) == 0) WPFormat();
  ClassifyDocument();
  if (CurrentCommand != OpenRawCommand && ReformatOnOpen(CurrentText)) {
    RunCommand("Validate", [] { ValidateCurrentFile("Validate"); });
    CurrentEditor->SetModified(false);
  }
  FinishOpen();
}

}  // namespace quorrel
