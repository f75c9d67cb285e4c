// The tab change: everything that follows from another document becoming current.
#include <algorithm>
#include <stdexcept>

#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/Instances.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "shell/ClassifyDocument.h"
#include "shell/CommandNames.h"
#include "shell/Documents.h"
#include "shell/DocumentsOpen.h"
#include "shell/DocumentsPending.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/Hooks.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Recolour.h"
#include "shell/RtfView.h"
#include "shell/Scrambled.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "shell/StatusBar.h"

namespace quorrel {

namespace {

// The document the tab change last entered. The open command names the file it
// puts into a tab before the change runs, so a document that replaced another in
// the same tab is told apart by this, not by CurrentFileName.
struct TEntered {
  const TMyRich* editor = nullptr;
  std::string path;
};
TEntered entered;

// Whether the running command is an item of the File menu (the open commands,
// Recent ...).
bool CommandFromFileMenu() {
  if (CurrentCommand.empty()) return false;
  TMenuItem* item = MainMenu().Find(CurrentCommand);
  while (item && item->parent && item->parent->parent) item = item->parent;
  return item && item->name == "FileMenu";
}

void Enable(const char* name, bool enabled) {
  MainMenu().SetEnabled(name, enabled);
}

// Which commands suit the document's type.
void EnableMenusByType(bool raw, bool scrambled) {
  auto kindShows = [](TKindMenu menu) { return KindsShowMenu(CurrentKinds(), menu); };
  // A kind with a sections rule has sections, also while RTF shows as its codes.
  const bool sections = SectionRuleOfKinds(CurrentKinds(), false) != TSectionRule::None;
  for (const char* name :
       {"Sections", "PrevSection", "NextSection", "SectCount", "SectNames", "SelSect"}) {
    Enable(name, sections);
  }
  // The list's own build shows the item once it finds a section.
  if (!sections) MainMenu().SetVisible("Sections", false);
  for (const char* name :
       {"UpContent", "Library", "CreateLib", "UpdateLib", "RefreshLib", "RegenHtml", "RegenOne",
        "UpdateTable", "AddNbsp", "EncodeHtml", "MobileCheck", "PageSpeed", "MobiReady",
        "SiteMapXml", "AddBase", "HtmlHelp"}) {
    Enable(name, kindShows(MenuPageTools));
  }
  for (const char* name :
       {"DoubleSpace", "FindCorr", "Raw", "Align", "AlLeft", "AlRight", "AlCentre", "BgColour",
        "FgColour", "SaveStyle", "CopyStyle", "SetFont"}) {
    Enable(name, kindShows(MenuRtfTools));
  }
  const bool styled = (IsRtf && !raw) || IsHtml || IsCSharp;
  for (const char* name : {"Bold", "Italic", "Underline", "Strike", "Normal", "Nbsp", "Bullet",
                           "Arrow", "InsTable", "InsRow", "Teletype", "Website", "Email"}) {
    Enable(name, styled);
  }
  Enable("InsList", styled || CurrentExt == ".TXT");
  Enable("ColourD", kindShows(MenuColourWords));
  Enable("Validate", !NotInSite);
  Enable("ValAll", !NotInSite);
  Enable("OnlineValOne", kindShows(MenuOnlineCheck));
  Enable("OnlineValAll", kindShows(MenuOnlineCheck));
  MainMenu().SetChecked("Encrypted", scrambled);
  Enable("Browser", !IsScript);
  Enable("BuildAll", kindShows(MenuBuild));
  Enable("BuildOne", kindShows(MenuBuild));
  Enable("ViewNotes", kindShows(MenuViewNotes));
}

// Function keys follow the document's type. Where two items would share a key,
// only the one that suits the document keeps it.
void SetFunctionKeys() {
  TMenuModel& menu = MainMenu();
  menu.SetShortcut("ShowScore", IsAbc ? "F2" : "");
  menu.SetShortcut("Play", IsAbc ? "F4" : "");
  menu.SetShortcut("Same", IsAbc ? "Ctrl+=" : "");
  menu.SetShortcut("Raw", !IsAbc && IsRtf ? "F2" : "");
  menu.SetShortcut("Teletype", !IsAbc && !IsRtf ? "F2" : "");
  menu.SetShortcut("Normal", IsAbc ? "" : "Ctrl+=");
  menu.SetShortcut("Link", IsAbc ? "" : "F4");
  menu.SetShortcut("PrevScene", IsScript ? "F9" : "");
  menu.SetShortcut("NextScene", IsScript ? "Shift+F9" : "");
  // F9 of a letter opens the pop-up box. "Paragraph" has no command to take the key
  // from it: Enter already starts a paragraph in a letter.
  const bool letter = IsRtf && !IsDotPage && !IsScript;
  menu.SetShortcut("PU", letter ? "F9" : "");
  // On a dot-command master Ctrl+W builds the caret's page; elsewhere it closes the tab.
  menu.SetShortcut("CloseTab", IsDotPage ? "" : "Ctrl+W");
  menu.SetShortcut("BuildOne", IsDotPage ? "Ctrl+W" : "");
}

void NoDocument(TMainWindow& w) {
  CurrentEditor = nullptr;
  CurrentFileName.clear();
  CurrentText.clear();
  DocModified = false;
  entered = {};
  ApplicationTitle = "Quorrel";
  w.SetCaption(ApplicationTitle);
  MainMenu().SetVisible("ABCMenu", false);
  MainMenu().SetVisible("ScriptMenu", false);
}

void PublishTitle(const std::string& caption) {
  try {
    SetInstanceTitle(caption);
  } catch (const std::runtime_error&) {
    // Without a private work folder there is no instance list to keep.
  }
}

// The document left goes: its panels, the busy state, what the engines knew of it.
void LeaveDocument(TMainWindow& w) {
  BeginBusy();
  DocumentLeftHook();
  w.HideSectionsBox();
  w.SetStatusText(LineColumnPanel, "");
}

// Makes the tab's editor current. Returns true for a document entered anew (another
// file, or one whose text must be read again): its sections and markers start afresh.
bool EnterEditor(TMainWindow& w, TMyRich* editor, const std::string& path) {
  const bool pathChanged = path != CurrentFileName;
  const bool replaced = editor != entered.editor || path != entered.path;
  const bool anew = pathChanged || replaced || CurrentText.empty() || DocModified || !CurrentEditor;
  entered = {editor, path};
  if (anew) {
    SectionLines.clear();
    if (pathChanged && CurrentCommand != ExitCommand) {
      if (CurrentEditor) SaveMarkersHook();
      ClearMarkerPositionsHook();
      w.HideMarkers();
    }
  }
  // The busy state switched drawing off in the editor left; it would keep it off
  // while hidden, and a control that does not draw shows, when it comes back to the
  // front, whatever was on screen before it: another tab's text.
  if (CurrentEditor && CurrentEditor != editor) CurrentEditor->SetRedraw(true);
  CurrentEditor = editor;
  CurrentFileName = path;
  if (anew) DocModified = true;
  return anew;
}

// The text is read before its type is judged, so that the flags that test the text
// look at this document's and not at the one just left.
void ReadAndClassify() {
  ClassifyDocument(true);
  GetEditorText();
  ClassifyDocument(true);
  FitLineEnds();
  if (!CurrentCommand.empty()) StatusText.clear();
  MainMenu().SetVisible("ABCMenu", KindsShowMenu(CurrentKinds(), MenuAbc));
  MainMenu().SetVisible("ScriptMenu", KindsShowMenu(CurrentKinds(), MenuScript));
}

// The current folder follows a document on disk; a web page or the content
// document leaves it where it was.
void FollowFolder(const std::string& path) {
  if (path != "Content" && !StartsWithNoCase(path, "http")) CurrentFolder = ExtractFilePath(path);
  GetHighest();
}

// An RTF document shown as its codes ticks "Raw"; returns whether it is.
bool ShowRawState() {
  const bool raw = IsRtf && StartsWithRtf(CurrentText);
  MainMenu().SetChecked("Raw", raw);
  return raw;
}

void ShowCaptionAndZoom(TMainWindow& w, TMyRich& editor) {
  std::string caption = MainCaption();
  ApplicationTitle = caption;
  w.SetCaption(caption);
  PublishTitle(caption);
  editor.SetZoom(SettingsIni ? SettingsIni->ReadInteger("System", "Zoom", 100) : 100);
}

// The site's server details; a tab whose file was never loaded is loaded now.
void LoadSiteAndText(TMyRich& editor, const std::string& path, int slot) {
  if (ClosingAll) return;
  if (StartMode != StartReformat) SiteHasServer = LoadServerDetailsHook(path);
  if (slot >= 0 && slot < MaxTabs && FileAges[slot] == 0 && editor.TextLength() == 0 &&
      FileExists(path) && (StartMode == StartNormal || CurrentExt == ".DPR")) {
    LoadIntoEditor(editor, path, slot);
    GetEditorText();
    ClassifyDocument(true);
  }
}

// Colouring, the command line's find text, the date, size and lines of the document,
// the comparison with the server, markers and the activation check.
void ShowDocumentState(TMainWindow& w, TMyRich& editor, const std::string& path, bool anew) {
  const bool fromFileMenu = CommandFromFileMenu();
  if ((!CurrentText.empty() || IsContentDoc) && !fromFileMenu) {
    if (w.TabsVisible()) RequestRecolour(RecolourEntered);
    if (!StartFindText.empty()) {
      size_t at = PosNoCase(StartFindText, CurrentText);
      size_t pos = at == 0 ? editor.TextLength() : EditorPosOf(at - 1);
      ScrollToPos(pos, false);
      StartFindText.clear();
    }
    if (CurrentCommand != UpdateMenuCommand) ActivateHook();
  }
  // A document entered anew, or just opened (from the File menu too), has its
  // markers back.
  if ((anew || !MarkersBelongToHook(path)) && (!CurrentText.empty() || IsContentDoc)) {
    LoadMarkersHook(path);
  }
  // The open command shows "Loading" while it reads the file; a tab with its text,
  // whatever command led to it (the File menu's own, one that ended on an error and
  // left another tab, a tune being played), shows its date, size and lines, and its
  // comparison with the server copy: the open command's own look at the server
  // comes before the details of a new site are read here.
  w.SetIndicator("", 0, false);
  if (!CurrentText.empty() || IsContentDoc) {
    StatusText = DocumentInfoText(path, CurrentText);
    ServerComparisonHook();
  } else {
    StatusText =
        CurrentExt.starts_with(".DOC") ? "Microsoft Word file - do not modify!" : "Empty file ";
  }
}

}  // namespace

void PCChange() {
  TMainWindow* w = MainWindow();
  if (!w) return;
  int tab = w->ActiveTab();
  if (tab < 0) {
    NoDocument(*w);
    return;
  }
  LeaveDocument(*w);
  TMyRich* editor = w->TabEditor(tab);
  const int slot = editor->Tag();
  const std::string path = TabPath(tab);
  const bool anew = EnterEditor(*w, editor, path);
  ReadAndClassify();
  FollowFolder(path);
  const bool raw = ShowRawState();
  ShowCaptionAndZoom(*w, *editor);
  SetFunctionKeys();
  LoadSiteAndText(*editor, path, slot);
  EnableMenusByType(raw, w->TabHelpContext(tab) == ScrambledTabContext);
  ShowDocumentState(*w, *editor, path, anew);
  ShowInfo();
}

namespace {
const TResetEntry resetTabChange([] { entered = {}; });
}  // namespace

}  // namespace quorrel
