#include "commands/FindClick.h"

#include "commands/Exit.h"
#include "commands/FindCorrections.h"
#include "commands/FindRun.h"
#include "commands/FindState.h"
#include "commands/FindText.h"
#include "commands/OpenCommand.h"
#include "publish/Connection.h"
#include "publish/OpenUnit.h"
#include "publish/SiteFileList.h"
#include "shell/BlinkJob.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Saving.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"

namespace quorrel {

namespace {

// A text given for Replace tag as a tag: "<" + name + ">" for a bare name; one that
// begins with "<" must end with ">".
std::string AsTag(const std::string& text, const char* missingEnd) {
  if (text.empty() || text[0] != '<') return "<" + text + ">";
  if (text.back() != '>') ShowErrorAndAbort(missingEnd);
  return text;
}

// The end tag of a start tag: its name only, as an end tag has no attributes.
std::string EndTagOf(const std::string& tag) {
  const size_t nameEnd = tag.find_first_of(" \t\r\n>", 1);
  return "</" + tag.substr(1, nameEnd - 1) + ">";
}

bool IsReplaceCommand(const std::string& command) {
  return command == ReplaceCommand || command == ReplaceTagCommand;
}

std::string CaptionOf(const std::string& command) {
  std::string caption;
  for (char c : MainMenu().Item(command).caption) {
    if (c != '&') caption += c;
  }
  return caption;
}

// Shows the dialog for a command; false when the user did not press OK.
bool AskFindDialog(const std::string& command, bool selection) {
  TFindRequest request;
  request.caption = CaptionOf(command);
  request.helpContext = command == ExtractCommand ? ExtractHelpContext : FindHelpContext;
  request.replaceMode = FindState.replaceMode;
  request.selection = selection;
  TFindDialog* dialog = FindDialog();
  if (!dialog || !dialog->Execute(request)) return false;
  if (FindAnswers.hex) {
    FindAnswers.findText = DecodeHexPairs(FindAnswers.findText);
    FindAnswers.hex = false;
  }
  FindState.blockReplace = FindAnswers.blockRepEnabled && FindAnswers.blockRep;
  FindState.inSection = FindAnswers.inSectionVisible && FindAnswers.inSection;
  return true;
}

// Opens the next file of the site file list through the open command, caret at its
// start; false at the end of the list, or when the file could not be opened.
bool OpenNextListedFile(bool first) {
  const std::string before = CurrentFileName;
  OpenClick(FindNextCommand);
  if (FileListEnded || !CurrentEditor) return false;
  TMainWindow* w = MainWindow();
  const bool alreadyOpen =
      w && w->StatusText(MessagePanel).find("File already open") != std::string::npos;
  if (!alreadyOpen && CurrentFileName == before) return false;  // the open was refused
  GetEditorText();
  ScrollToPos(0, false);
  if (!first && !alreadyOpen) ShowStatus("Moved to next file in list");
  return true;
}

// A search through the files of a folder: each file is opened and searched in turn.
void RunInFiles(const TFindSetup& setup) {
  const TFindInFilesRun running;
  SiteFileList.root = FindAnswers.root.empty() ? std::string() : AddBackslash(FindAnswers.root);
  SiteFileList.fileMask = FindAnswers.fileMask;
  SiteFileList.subFolders = FindAnswers.subFolders;
  // Only the files that hold the text are listed, and opened one after another.
  TListing listing;
  listing.find = TScanFind{setup.search, setup.shownText, setup.options.caseSensitive,
                           setup.options.wholeWords};
  // No file holds the text: the listing has said so.
  if (!ScanSiteFileList(listing) || SiteFileList.entries.empty()) return;
  FileListEnded = false;
  if (!OpenNextListedFile(true)) return;
  bool foundAny = false;
  for (;;) {
    TFindRun run(setup);
    run.Run();
    foundAny = foundAny || run.FoundAny();
    if (run.Cancelled() || (!setup.replaceMode && run.FoundAny())) return;
    // Only what this run replaced is saved: edits the user left unsaved in a
    // document without the text stay the user's to save.
    if (run.Replaced() && CurrentEditor && CurrentEditor->Modified()) SaveClick();
    ShowStatus("Moving to next file in list");
    if (!OpenNextListedFile(false)) break;
  }
  if (!foundAny) ShowStatus("Not found: \"" + setup.shownText + "\"");
}

}  // namespace

void FindClick(const std::string& command) {
  if (!CurrentEditor) return;
  GetEditorText();
  const bool selection = CurrentEditor->SelLength() > 0;
  TFindSetup setup;
  setup.next = command == FindNextCommand;
  if (setup.next) {
    if (FindState.lastCommand.empty()) FindState.lastCommand = FindCommand;
    if (FindState.blockReplace && !selection) ShowErrorAndAbort("Block replace: No block marked.");
  } else {
    FindState.lastCommand = command;
    FindState.replaceMode = IsReplaceCommand(command);
    if (!AskFindDialog(command, selection)) return;
  }
  // The corrections are looked for by their colour, not by text.
  if (FindAnswers.findText == CorrectionsText && !FindState.replaceMode) {
    FindCorrectionRun(setup.next);
    return;
  }
  setup.command = FindState.lastCommand;
  setup.replaceMode = FindState.replaceMode;
  setup.extract = setup.command == ExtractCommand;
  setup.blockReplace = setup.replaceMode && FindState.blockReplace;
  setup.inSection = FindState.inSection;

  // The marks of the fields: "¶" is the document's line end; "»" a tab only in an
  // RTF document: elsewhere it is a character of its own (French quotes).
  const std::string lineEnd = DocumentLineEnd(CurrentText);
  const bool tabs = IsRtf;
  setup.shownText = FindAnswers.findText;
  setup.search = ResolveMarks(FindAnswers.findText, lineEnd, tabs);
  setup.replacement = ResolveMarks(FindAnswers.replaceText, lineEnd, tabs);
  if (setup.search.empty()) ShowErrorAndAbort("Cannot Find a null string");
  if (setup.command == ReplaceTagCommand) {
    setup.tag = true;
    setup.search = AsTag(setup.search, "Missing \">\" at end of seatch string");
    if (setup.replacement.empty()) ShowErrorAndAbort("Missing replacement string");
    setup.replacement = AsTag(setup.replacement, "Missing \">\" at end of replacement string");
    setup.endTag = EndTagOf(setup.search);
    setup.replacementEndTag = EndTagOf(setup.replacement);
  }
  FindState.searchText = setup.search;
  FindState.replacement = setup.replacement;

  CurrentCommand = command;
  ShowStatus("");  // this search's outcome replaces the last one's message
  if (TMainWindow* w = MainWindow()) w->HideMarkers();
  setup.options.caseSensitive = FindAnswers.caseSensitive;
  setup.options.wholeWords = FindAnswers.wholeWords;
  setup.prompt = FindAnswers.prompt;
  setup.filesMode = FindAnswers.searchFiles && !setup.next && !setup.extract;
  if (!setup.filesMode) {
    TFindRun(setup).Run();
    return;
  }
  if (setup.replaceMode) SetOnline(false);  // no uploads while the files change
  RunInFiles(setup);
}

void InstallFindCommands() {
  ExitHistories().find = [] {
    LoadFindHistories();  // never empty a stored history the dialog did not show
    return FindHistory;
  };
  ExitHistories().replace = [] {
    LoadFindHistories();
    return ReplaceHistory;
  };
  MainMenu().SetHandler(FindCorrectionCommand, [](const TMenuItem&) { FindCorrClick(); });
  for (const char* command :
       {FindCommand, FindNextCommand, ReplaceCommand, ReplaceTagCommand, ExtractCommand}) {
    MainMenu().SetHandler(command, [command](const TMenuItem&) { FindClick(command); });
  }
}

}  // namespace quorrel
