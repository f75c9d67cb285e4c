#include "commands/IdleLoop.h"

#include <exception>

#include "commands/ValidateCurrentFile.h"
#include "edit/MarkerAnchors.h"
#include "edit/Sections.h"
#include "platform/Abort.h"
#include "platform/ResetRegistry.h"
#include "shell/CommandNames.h"
#include "shell/Commands.h"
#include "shell/CssPreview.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FileSets.h"
#include "shell/IdleStatus.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Recolour.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "validate/ColourScheme.h"
#include "validate/ColourSyntax.h"
#include "validate/ValUnit.h"

namespace quorrel {

int64_t LastIdleTime = 0;
bool InScriptOrStyle = false;

namespace {

TIdleHooks hooks;

// The one-shot actions of the special modes are still to run.
bool startActionsDue = true;
// "No border" is applied on the first pass with a document.
bool noBorderDue = true;
// The lock keys as the last pass found them.
bool locksKnown = false;
bool capsWas = false;
bool numWas = false;
// The section panel's text, shown at the end of every pass.
std::string sectionText;
const TMyRich* sectionEditor = nullptr;
int sectionWas = -1;
// The length of the text at that pass: a change means the user typed.
size_t sectionLengthWas = 0;

bool Checked(const char* name) {
  TMenuItem* item = MainMenu().Find(name);
  return item && item->checked;
}

bool IsHtmlPage() {
  return CurrentExt == ".HTM" || CurrentExt == ".HTML";
}

// The message bar's message blinks, and leaves after six seconds.
void Messages(TMainWindow& w, int64_t now) {
  std::string shown = w.StatusText(MessagePanel);
  if (shown != StatusShownText) {
    // Written by a command without ShowStatus: it counts from now.
    StatusShownText = shown;
    if (!shown.empty()) {
      StatusShownAt = now;
      SetMessageColour(ShowHexTicked() ? TMessageColour::Normal : TMessageColour::Orange);
      return;
    }
  }
  if (!shown.empty() && now - StatusShownAt > StatusLifetimeMs) {
    w.SetStatusText(MessagePanel, "");
    StatusShownText.clear();
    shown.clear();
  }
  if (shown.empty() || shown == "  Modified" || ShowHexTicked()) {
    SetMessageColour(TMessageColour::Normal);
  } else {
    SetMessageColour(MessageColour == TMessageColour::Red ? TMessageColour::Normal
                                                          : TMessageColour::Red);
  }
}

// What "/P", "/E", "/R" and "/S" leave for the first pass.
void StartActions(TMainWindow& w) {
  if (!startActionsDue) return;
  startActionsDue = false;
  if (PrintAndQuit) {
    PrintAndQuit = false;
    MainMenu().Click("Print");
    w.Terminate();
    return;
  }
  switch (StartMode) {
    case StartSet:
      StartMode = StartNormal;
      w.Maximise();
      w.SetTabsVisible(true);
      MainMenu().Click("SetOpen");
      break;
    case StartReformat: {
      StartMode = StartReformatting;
      w.SetSplashText(CurrentFileName);
      GetEditorText();
      // Whatever the validation says (its commands end quietly after their message),
      // the run ends with the window.
      if (CurrentEditor && CurrentText.empty()) {
        ValidateFolderRoot = CurrentFolder;
        RunCommand("ValAll", [] { ValidateFolder("*.VBA"); });
      } else if (CurrentEditor) {
        RunCommand("Validate", [] { ValidateCurrentFile(""); });
      }
      w.CloseForm();
      break;
    }
    case StartServer:
      StartMode = StartNormal;
      // The server menu follows the tabs; the server mode needs no document.
      MainMenu().SetEnabled("ServerM", true);
      MainMenu().Click("ServerM");
      w.Terminate();
      break;
    default:
      break;
  }
}

// The CSS colour preview of the rule around the caret.
void CssPreview(TMyRich& editor) {
  if (!IsCss || !Checked("ColourCSS") || editor.SelLength() > 0) return;
  const TCssRuleColours rule = CssRuleColours(CurrentText, TextOffsetOf(editor.SelStart()));
  int text = 0, background = 0;
  if (!PreviewColours(rule, ColourScheme.defaultColour, ColourScheme.background, text,
                      background)) {
    return;
  }
  if (text != editor.TextColour()) editor.SetTextColour(text);
  if (background != editor.EditorColour()) editor.SetEditorColour(background);
}

// The section holding the caret, for the status bar, the colouring and the page name.
void TrackSection(TMyRich& editor, size_t caret) {
  SectionsIdlePassed();
  // Available for the document's type; the menu bar may not show the item.
  TMenuItem* sections = MainMenu().Find("Sections");
  if (!sections || !sections->enabled) {
    sectionText.clear();
    sectionEditor = nullptr;
    InScriptOrStyle = false;
    return;
  }
  if (SectionLines.empty() && !IsContentDoc) {
    SectionTypeAhead.clear();
    SectionsClick("");
  }
  const TSectionAt at = SectionAt(caret);
  if (&editor != sectionEditor) {
    sectionEditor = &editor;
  } else if ((at.index != sectionWas || (IsAbc && CurrentText.size() != sectionLengthWas)) &&
             (IsAbc || IsServerPage) && !SectionsBoxShowing()) {
    // Another tune or script block, or a tune typed in: coloured at once, not at
    // the next request.
    RequestRecolour(RecolourAbcTune);
    ApplySyntaxColours();
  }
  sectionWas = at.index;
  sectionLengthWas = CurrentText.size();
  sectionText = SectionPanelText(at.index);
  std::string name;
  if (at.index >= 0 && static_cast<size_t>(at.index) < SectionCaptions.size()) {
    name = SectionCaptions[at.index];
  }
  if (IsDotPage && CurrentCommand != BuildAllCommand && !name.empty()) {
    CurrentPageName = name.substr(0, name.find('\t'));
  }
  InScriptOrStyle = IsHtml && (name == "Script" || name == "Style");
}

// Markers stay on their text; those on screen show beside it.
void KeepMarkers(TMainWindow& w, TMyRich& editor, size_t caret) {
  for (int digit : ReanchorMarkers(CurrentText, caret)) {
    ShowStatus("Marker " + std::to_string(digit) + " not found.");
  }
  const bool show = Checked("ShowMarkers");
  size_t first = 0, last = 0;
  bool viewKnown = false;
  for (size_t digit = 0; digit < Markers.size(); ++digit) {
    long place = -1;
    if (show && Markers[digit].position >= 0) {
      if (!viewKnown) {
        first = editor.FirstVisiblePos();
        last = editor.BottomLeftPos();
        viewKnown = true;
      }
      const size_t pos = EditorPosOf(static_cast<size_t>(Markers[digit].position));
      if (pos >= first && pos <= last) place = static_cast<long>(pos);
    }
    w.PlaceMarker(static_cast<int>(digit), place);
  }
}

// A document's text in the editor's font (RTF documents have fonts of their own).
void FitFont(TMyRich& editor) {
  if (ColourScheme.fontName.empty()) {
    MainMenu().Click("FontM");
    return;
  }
  if (IsRtf) return;
  const std::string font = editor.EditorFontName();
  if (font.empty() || font == ColourScheme.fontName) return;
  // Only the look changes: a document with unsaved edits keeps them marked.
  const bool modified = editor.Modified();
  editor.SetEditorFont(ColourScheme.fontName, ColourScheme.fontSize, ColourScheme.fontBold);
  editor.SetModified(modified);
  RequestRecolour(RecolourText);
}

// The pass over the current document: colours, caret position, lock keys, section
// and markers.
void DocumentPass(TMainWindow& w, TMyRich& editor) {
  GetEditorText();
  CssPreview(editor);
  FitFont(editor);
  if (RecolourDue()) ApplySyntaxColours();

  w.SetStatusText(LineColumnPanel, LineColumnText(editor, IsRtf));

  const size_t lines = editor.LineCount();
  if (lines >= 41 && !(IsRtf && CurrentText.find("\\trowd") != std::string::npos) &&
      lines - editor.FirstVisibleLine() < 21) {
    editor.ScrollToBottom();
  }

  std::string message;
  bool caps = false, num = false;
  if (w.LockKeyState(caps, num)) {
    if (locksKnown) message = LockKeyMessage(capsWas, numWas, caps, num);
    locksKnown = true;
    capsWas = caps;
    numWas = num;
  }
  if (ShowHexTicked()) message += ShowHexText(editor);
  if (!message.empty()) ShowStatus(message);

  const size_t caret = TextOffsetOf(editor.SelStart());
  TrackSection(editor, caret);

  if (editor.SelLength() > 0) {
    if (CurrentCommand != "Indent") ShowInfo();
  } else {
    KeepMarkers(w, editor, caret);
    w.ShowCaret(true);
  }
  w.SetKeyIndicators(locksKnown && capsWas, locksKnown && numWas, editor.Overwrite());
  w.RedrawActiveTab();
  if (noBorderDue) {
    noBorderDue = false;
    w.SetNoBorder(Checked("NoBorder"));
  }
}

// The pass when nothing is open: the empty window and its caption.
void NoDocumentPass(TMainWindow& w) {
  w.SetBusyCursor(false);
  w.ShowNoDocument(true);
  if (w.Caption() != "Quorrel") w.SetCaption("Quorrel");
  sectionText.clear();
  LastIdleTime = 0;
}

// The end of every pass: the Server menu follows the tabs, the section panel its
// text, and the cursor and drawing come back.
void FinishPass(TMainWindow& w) {
  const bool tabs = w.TabCount() > 0;
  if (TMenuItem* server = MainMenu().Find("ServerM"); server && server->enabled != tabs) {
    MainMenu().SetEnabled("ServerM", tabs);
  }
  if (w.StatusText(SectionPanel) != sectionText) w.SetStatusText(SectionPanel, sectionText);
  if (Busy) {
    StdCursor();
  } else if (CurrentEditor && !CurrentEditor->Redraw()) {
    CurrentEditor->SetRedraw(true);
  }
  if (CurrentEditor) w.ShowEditor();
}

void Pass(TMainWindow& w, int64_t now) {
  if (hooks.tableRefresh && hooks.tableRefresh()) return;
  if (w.IsActiveForm()) {
    LastIdleTime = now;
    if (w.LeftButtonDown()) return;
    Messages(w, now);
    StartActions(w);
    w.FitTabStrip(Checked("ShowTabs"));
    if (CurrentEditor) {
      w.ShowNoDocument(false);
      DocumentPass(w, *CurrentEditor);
    } else {
      NoDocumentPass(w);
    }
  }
  FinishPass(w);
}

}  // namespace

bool RecolourDue() {
  // An HTML page this long is coloured on command only: colouring it takes a while.
  constexpr size_t longPage = 100000;
  return RecolourRequest != RecolourNone && (CurrentText.size() < longPage || !IsHtmlPage());
}

TIdleHooks& IdleHooks() {
  return hooks;
}

bool StartModeAvailable(char mode) {
  switch (mode) {
    case StartPrint:
      return MainMenu().HasHandler("Print");
    case StartServer:
      return MainMenu().HasHandler("ServerM");
    case StartReformat:
    case StartSet:
      return true;
    default:
      return false;
  }
}

void OnIdle() {
  TMainWindow* w = MainWindow();
  if (!w || !IdleReady || AppPhase == PhaseStarting || w->Terminating()) return;
  const int64_t now = IdleNow();
  if (LastIdleTime != 0 && now - LastIdleTime < IdleIntervalMs) return;
  try {
    Pass(*w, now);
  } catch (const EAbort&) {
    // Its message has been shown.
  } catch (const std::exception& error) {
    ShowMsg(error.what());
    w->Maximise();
    w->SetTabsVisible(true);
    w->HideSplash();
  }
}

void ResetIdleLoop() {
  hooks = TIdleHooks{};
  LastIdleTime = 0;
  InScriptOrStyle = false;
  startActionsDue = true;
  noBorderDue = true;
  locksKnown = false;
  capsWas = numWas = false;
  sectionText.clear();
  sectionEditor = nullptr;
  sectionWas = -1;
  sectionLengthWas = 0;
}

namespace {
const TResetEntry resetIdleLoop(ResetIdleLoop);
}  // namespace

}  // namespace quorrel
