#include "shell/RtfView.h"

#include <algorithm>

#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "platform/RtfTokens.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

bool IsCompactScript = false;

bool IsCompactScriptSource(std::string_view source) {
  return source.find("\\sa60") != std::string_view::npos &&
         source.find("\\fcharset0 Courier New") == std::string_view::npos;
}

bool StartsWithRtf(std::string_view text) {
  return text.starts_with("{\\rtf");
}

void SetRtfSource(const std::string& rtf, TMyRich& editor) {
  if (rtf.empty() || rtf[0] != '{') ShowErrorAndAbort("Raw text does not start \"{\".");
  editor.SetRtfSource(rtf);
}

std::string GetRtfSource(TMyRich& editor) {
  std::string source = editor.GetRtfSource();
  IsCompactScript = IsCompactScriptSource(source);
  return source;
}

void FlipRtfView(TMyRich& editor) {
  const bool modified = editor.Modified();
  const size_t caret = editor.SelStart();
  if (!editor.PlainText()) {
    if (!StartsWithRtf(editor.TextRange(0, 5))) {
      const std::string source = editor.GetRtfSource();
      editor.SetPlainText(true);
      editor.SetText(source);
      editor.Select(caret, 0);
      editor.SetModified(modified);
      return;
    }
    ShowMsg("This is RTF codes and will be treated as such.");
    editor.SetPlainText(true);
  }
  editor.SetRtfSource(editor.GetText());
  editor.Select(caret, 0);
  editor.SetModified(modified);
}

size_t MarkerPlaceInCodes(const std::string& codes, size_t offset, bool* blankFirst) {
  *blankFirst = false;
  size_t at = std::min(offset, codes.size());
  const size_t viewkind = codes.find("\\viewkind");
  if (viewkind != std::string::npos && viewkind < 999) {
    const size_t blank = codes.find(' ', viewkind);
    if (blank != std::string::npos && blank < 999) at = std::max(at, blank + 1);
  }
  const size_t stop = codes.find_first_of(" \\", at);
  if (stop == std::string::npos) return codes.size();
  if (codes[stop] == '\\') {
    const size_t lineEnd = codes.find_first_of("\r\n", stop);
    at = lineEnd == std::string::npos ? codes.size() : lineEnd;
  } else {
    at = stop;
  }
  if (EndsWithControlWord(codes, at)) {
    if (at < codes.size() && codes[at] == ' ') {
      ++at;  // after the blank that ends the word, which is no text of its own
    } else {
      *blankFirst = true;
    }
  }
  return at;
}

size_t SwitchRtfView(TMyRich& editor) {
  const std::string marker = kSwitchMarker;
  // Fewer characters than this after the caret: the caret goes to the end instead.
  constexpr size_t kRoomForMarker = 12;
  if (editor.PlainText()) {
    const std::string codes = editor.GetText();
    const size_t offset = editor.PosToOffset(editor.SelStart());
    bool blankFirst = false;
    const size_t at = MarkerPlaceInCodes(codes, offset, &blankFirst);
    if (codes.size() - at < kRoomForMarker) {
      FlipRtfView(editor);
      return editor.TextLength();
    }
    editor.Select(editor.OffsetToPos(at), 0);
    editor.SetSelText(blankFirst ? " " + marker : marker);
    FlipRtfView(editor);
    const size_t found = editor.GetText().find(marker);
    if (found == std::string::npos) {
      // Lost on the way: the codes as they were, caret and all.
      editor.SetPlainText(true);
      editor.SetText(codes);
      editor.Select(editor.OffsetToPos(offset), 0);
      return editor.SelStart();
    }
    const size_t pos = editor.OffsetToPos(found);
    editor.Select(pos, marker.size());
    editor.SetSelText("");
    return pos;
  }
  const size_t caret = editor.SelStart();
  if (StartsWithRtf(editor.TextRange(0, 5))) {  // codes shown formatted: they are rendered
    FlipRtfView(editor);
    return std::min(caret, editor.TextLength());
  }
  if (editor.TextLength() - std::min(caret, editor.TextLength()) < kRoomForMarker) {
    FlipRtfView(editor);
    return editor.TextLength();
  }
  const std::string clean = editor.GetRtfSource();
  editor.Select(caret, 0);
  editor.SetSelText(marker);
  FlipRtfView(editor);
  const size_t found = editor.GetText().find(marker);
  if (found == std::string::npos) {
    editor.SetText(clean);  // the codes without the marker wherever it went
    ShowMsg("Switch marker not found in display mode.");
    return 0;
  }
  const size_t pos = editor.OffsetToPos(found);
  editor.Select(pos, marker.size());
  editor.SetSelText("");
  return pos;
}

void RawClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  if (editor->TextLength() == 0) ShowErrorAndAbort("Add some text first!");
  const bool modified = editor->Modified();
  const size_t caret = SwitchRtfView(*editor);
  // The markers' snapshots are of the other view's text.
  for (TMarkerState& marker : Markers) marker.text.clear();
  DocModified = true;
  GetEditorText();
  ScrollToPos(caret, true);
  editor->SetModified(modified);
  MainMenu().SetChecked("Raw", editor->PlainText());
  if (!editor->PlainText()) PCChange();
}

void InstallRtfViewCommands() {
  MainMenu().SetHandler("Raw", [](const TMenuItem&) { RawClick(); });
}

TRtfDisguise RtfInDisguise(const std::string& firstFive) {
  if (IsRtf || !CurrentEditor || !StartsWithRtf(firstFive)) return TRtfDisguise::NotRtf;
  if (AskYesNo(CurrentFileName + "\ris in RTF format.  Save as plain text?")) {
    SetRtfSource(CurrentText, *CurrentEditor);
    return TRtfDisguise::RenderedToSave;
  }
  CurrentFileName = ChangeFileExt(CurrentFileName, ".RTF");
  CurrentExt = ".RTF";
  return TRtfDisguise::RenamedToRtf;
}

bool ReportEmptyRtf(const std::string& path, size_t renderedLength, bool saving) {
  if (saving || renderedLength > 0) return false;
  ShowMsg(path + "\ris empty.");
  return true;
}

void ResetRtfView() {
  IsCompactScript = false;
}

namespace {
const TResetEntry resetRtfView(ResetRtfView);
}  // namespace

}  // namespace quorrel
