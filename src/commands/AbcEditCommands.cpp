#include "commands/AbcEditCommands.h"

#include <optional>
#include <string>
#include <utility>

#include "commands/OpenDocs.h"
#include "commands/ReportTab.h"
#include "commands/ValidateCommands.h"
#include "edit/LineCommands.h"
#include "edit/Sections.h"
#include "music/AbcEdits.h"
#include "music/MidiRatio.h"
#include "music/TunePrep.h"
#include "platform/Desktop.h"
#include "platform/Help.h"
#include "platform/Paths.h"
#include "shell/Backups.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/TextFiles.h"
#include "shell/TextLines.h"

namespace quorrel {

namespace {

constexpr int kCombineHelp = 55430;
constexpr int kSplitHelp = 55440;
// A clipboard text shorter than this is no tune worth asking about.
constexpr size_t kShortestClipboardTune = 20;

constexpr char kManyVoices[] =
    "Warning: This is a tune with more that one voice,\rso you probably need to add \"M:\", "
    "\"Q:\" and \"L:\" lines after \"V:1\".";

// Selects the characters of CurrentText from an offset.
void SelectText(TMyRich& editor, size_t offset, size_t length) {
  const size_t from = EditorPosOf(offset);
  editor.Select(from, EditorPosOf(offset + length) - from);
}

// Moves the caret one character on and reads where Previous and Next section put it.
struct TTuneAtCaret {
  size_t caret = 0;  // one character on
  size_t start = 0;
  size_t next = 0;
};
TTuneAtCaret TuneSections(TMyRich& editor) {
  TTuneAtCaret at;
  SectionsClick("");  // the tunes of the text as it is now
  editor.Select(editor.SelStart() + 1, 0);
  at.caret = TextOffsetOf(editor.SelStart());
  PNSectClick(false);
  at.start = TextOffsetOf(editor.SelStart());
  PNSectClick(true);
  at.next = TextOffsetOf(editor.SelStart());
  return at;
}

// The editor's text replaced as an edit of the user's: the document is changed.
void SetChangedText(TMyRich& editor, const std::string& text) {
  editor.SetText(text);
  editor.SetModified(true);
  DocModified = true;
  GetEditorText();
}

void SameClick() {
  if (!CurrentEditor) return;
  if (!IsAbc) {
    ShowMsg("[Same] applies to ABC files only");
    return;
  }
  CurrentEditor->SetSelText(" \"/\"");
  GetEditorText();
}

void CombineClick() {
  if (!CurrentEditor) return;
  TMyRich& editor = *CurrentEditor;
  GetEditorText();
  if (FindTuneStart().find("V:2") != std::string::npos) ShowMsg(kManyVoices);
  const std::optional<TTextRange> range =
      CombineRange(CurrentText, TextOffsetOf(editor.SelStart()));
  if (!range) {
    ShowHelpContext(kCombineHelp);
    return;
  }
  SelectText(editor, range->start, range->length);
  editor.SetSelText(AbcSplitMarker);
  GetEditorText();
  ValidateClick(ValidateCommand);
}

void SplitClick() {
  if (!CurrentEditor) return;
  TMyRich& editor = *CurrentEditor;
  GetEditorText();
  const TTuneAtCaret tune = TuneSections(editor);
  const size_t marker = SplitMarkerIn(CurrentText, tune.start, tune.next);
  if (marker == std::string::npos) {
    ShowHelpContext(kSplitHelp);
    return;
  }
  SelectText(editor, marker, AbcSplitMarkerLength);
  editor.SetSelText("\r\nX:?");
  GetEditorText();
  ValidateClick(ValidateCommand);
}

void ExtractTuneClick() {
  if (!CurrentEditor) return;
  TMyRich& editor = *CurrentEditor;
  GetEditorText();
  const TTuneAtCaret tune = TuneSections(editor);
  const std::optional<std::string> piece =
      ExtractedTune(CurrentText, tune.caret, tune.start, tune.next);
  if (!piece) {
    ShowHelpContext(kSplitHelp);
    return;
  }
  if (AskYesNo(TitleOfTune(*piece) +
               "\rExtract to temporary file?\r\"No\" to add to bottom of current file")) {
    OpenText(*piece);
    return;
  }
  SetChangedText(editor, CurrentText + "\r\n" + *piece);
  editor.Select(editor.TextLength(), 0);
  ValidateClick(ValidateCommand);
}

void DeleteLyricsClick() {
  if (!CurrentEditor) return;
  GetEditorText();
  bool lineEndAfterLast = false;
  WorkList = WithoutLyricLines(LinesWithoutEnds(CurrentText, &lineEndAfterLast));
  const std::string text = JoinLines(WorkList, lineEndAfterLast);
  if (text == CurrentText) return;
  SaveCaretPos();
  SetChangedText(*CurrentEditor, text);
  RestoreCaretPos();
}

void ExtractLyricsClick() {
  if (!CurrentEditor) return;
  GetEditorText();
  const std::string lyrics = LyricsOfTune(FindTuneStart());
  // A report tab of its own, never the untitled document the tune may be in.
  ShowReport(lyrics);
}

void DefaultTuneClick() {
  EnsureDefaultTune();
  OpenThis(DefaultTunePath);
}

}  // namespace

void EnsureDefaultTune() {
  if (!FileExists(DefaultTunePath)) WriteTextFile(DefaultTunePath, DefaultTuneText);
}

void NewTuneClick() {
  RatioOffered = false;
  if (!CurrentEditor) return;
  TMyRich& editor = *CurrentEditor;
  std::string tune = Desktop().ClipboardText();
  const bool fromClipboard = tune.size() >= kShortestClipboardTune &&
                             PosNoCase("X:", tune) == 1 && AskYesNo("Copy from clipboard?");
  if (!fromClipboard) {
    EnsureDefaultTune();
    tune = ReadTextFile(DefaultTunePath);
  }
  size_t caret = editor.SelStart();
  editor.SetSelText(tune);
  // A tune after other text starts on a line of its own.
  if (caret > 0) {
    editor.Select(caret, 0);
    editor.SetSelText("\r\n");
    ++caret;
  }
  editor.Select(caret, 0);
  GetEditorText();
  TuneStart = 1;
  const bool broken = tune.find_first_of("<>") != std::string::npos;
  if (broken && !ContainsNoCase(tune, "MIDI RATIO")) OfferMidiRatio();
}

void InstallAbcEditCommands() {
  TMenuModel& menu = MainMenu();
  const std::pair<const char*, void (*)()> commands[] = {
      {"NewTune", NewTuneClick},        {"Same", SameClick},
      {"Combine", CombineClick},        {"SplitM", SplitClick},
      {"ExTune", ExtractTuneClick},     {"DelLyrics", DeleteLyricsClick},
      {"ExLyrics", ExtractLyricsClick}, {"DftTune", DefaultTuneClick},
  };
  for (const auto& [name, command] : commands) {
    if (menu.Find(name)) menu.SetHandler(name, [command](const TMenuItem&) { command(); });
  }
}

}  // namespace quorrel
