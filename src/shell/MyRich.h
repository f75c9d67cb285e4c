#pragma once
// The editor control of a tab, as every command sees it. It behaves like a
// rich-edit control: its text reads out with CR LF line ends and no final line
// end; positions (selection, caret, lines) are 0-based and count ONE position
// per line end. Texts are Windows-1252 bytes.
//
// "Lines" here are the text's lines (paragraphs), whether or not the view wraps
// them; the first visible line and scrolling count the same lines.
#include <algorithm>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/RtfModel.h"

namespace quorrel {

// A stretch of text shown in a colour of its own: editor positions, colours as
// 0x00BBGGRR, background -1 for none.
struct TColourRun {
  size_t start = 0;
  size_t length = 0;
  int colour = 0;
  int background = -1;
  bool operator==(const TColourRun&) const = default;
};

// A range of positions and the text that takes its place.
struct TReplacement {
  size_t start = 0;
  size_t length = 0;
  std::string text;
};

class TMyRich {
 public:
  virtual ~TMyRich() = default;

  // ---- text ----------------------------------------------------------------
  // The whole text, lines joined by CR LF, no line end after the last line.
  virtual std::string GetText() const = 0;
  // Replaces the whole text. CR LF, a lone LF and a lone CR each end a line.
  // Clears the modified flag (as setting a control's text does) and leaves the
  // caret at 0 with nothing selected.
  virtual void SetText(const std::string& text) = 0;
  // Number of positions: characters plus one per line end.
  virtual size_t TextLength() const = 0;
  // The text between two positions, line ends as CR LF.
  virtual std::string TextRange(size_t start, size_t length) const = 0;

  // ---- selection and caret -------------------------------------------------
  virtual size_t SelStart() const = 0;
  virtual size_t SelLength() const = 0;
  // Selects [start, start + length) with the caret at its end; both are clamped to
  // the text. Length 0 just places the caret.
  virtual void Select(size_t start, size_t length) = 0;
  void SetSelStart(size_t pos) { Select(pos, 0); }
  void SetSelLength(size_t length) { Select(SelStart(), length); }
  virtual std::string SelText() const = 0;
  // Replaces the selection (an edit: sets the modified flag); the caret ends
  // after the inserted text.
  virtual void SetSelText(const std::string& text) = 0;

  // Puts text over the characters from a position, one for one: the text reads as
  // TextRange gives it, with its line ends where the editor has them. Each
  // character keeps its own format (bold, colour ...), as a plain replacement of
  // the range would not. One edit; the selection is left where it was.
  virtual void ReplaceKeepingFormats(size_t start, const std::string& text) = 0;
  // Replaces each range (sorted, not overlapping, positions of the text as it is)
  // by its text in one edit: one undo step, a long text laid out once. The text
  // between keeps its formats and colours; the caret ends after the last text, as
  // replacing the ranges one by one would leave it, but the view does not move
  // (the first visible line stays).
  virtual void ReplaceRanges(const std::vector<TReplacement>& replacements) = 0;

  // The editor's own copy and cut of the selection, formats and all; an editor
  // without formats hands the clipboard the plain text.
  virtual void CopySelection() { Desktop().SetClipboardText(SelText()); }
  virtual void CutSelection() {
    CopySelection();
    SetSelText("");
  }

  // ---- lines ---------------------------------------------------------------
  virtual size_t LineCount() const = 0;  // an empty text has one line
  virtual size_t LineFromChar(size_t pos) const = 0;
  // Position of the first character of a line; the text length when the line
  // lies beyond the last.
  virtual size_t LineIndex(size_t line) const = 0;
  virtual size_t LineLength(size_t line) const = 0;

  // ---- view ----------------------------------------------------------------
  virtual size_t FirstVisibleLine() const = 0;
  // Whole lines the view shows at once (at least 1).
  virtual size_t VisibleLineCount() const = 0;
  // Scrolls the view by lines (negative: towards the start), within the text.
  virtual void ScrollLines(long lines) = 0;
  // Scrolls as little as needed to bring the caret into view.
  virtual void ScrollCaret() = 0;
  // Scrolls to the end of the text (the last line at the bottom of the view).
  virtual void ScrollToBottom() = 0;
  // Position of the first visible character, and of the character at the
  // bottom-left of the view (2 pixels above its bottom).
  virtual size_t FirstVisiblePos() const = 0;
  virtual size_t BottomLeftPos() const = 0;

  // Lines as the view lays them out at its width, wrapped lines counted each,
  // from the line that holds a position to the end of the text.
  virtual size_t DisplayLinesFrom(size_t pos) const { return LineCount() - LineFromChar(pos); }

  // ---- state ---------------------------------------------------------------
  virtual bool Modified() const = 0;
  virtual void SetModified(bool modified) = 0;
  // Plain-text mode (true) or formatted RTF mode (false).
  virtual bool PlainText() const = 0;
  virtual void SetPlainText(bool plain) = 0;
  // Redrawing off while a long change runs; on again repaints once.
  virtual void SetRedraw(bool on) = 0;
  virtual bool Redraw() const = 0;
  virtual int Zoom() const = 0;  // percent
  virtual void SetZoom(int percent) = 0;
  virtual bool WordWrap() const = 0;
  virtual void SetWordWrap(bool wrap) = 0;
  virtual void SetEditorFont(const std::string& name, int size, bool bold) = 0;
  // The name of the font last set; "" when the control cannot tell.
  virtual std::string EditorFontName() const { return {}; }
  // Overwrite mode: typed characters replace those after the caret (the Insert key).
  virtual bool Overwrite() const { return overwrite_; }
  virtual void SetOverwrite(bool on) { overwrite_ = on; }

  // Focus: CanFocus holds when the control and every parent are showing and enabled.
  virtual bool CanFocus() const = 0;
  virtual void SetFocus() = 0;

  // The control's class, as the spell checker looks it up.
  virtual std::string ClassName() const { return "TMyRich"; }

  // The document's slot in OpenFiles and FileAges.
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  // Whether the document was read from a file with LF-only line ends: it is saved
  // with LF again, so that scripts and files other programs read stay intact.
  bool LfOnlyFile() const { return lfOnlyFile_; }
  void SetLfOnlyFile(bool on) { lfOnlyFile_ = on; }

  // Whether the document waits for its first full colouring (the scheme's
  // background, font and colours): one opened while another tab comes to the
  // front gets it when its own tab does.
  bool SchemeDue() const { return schemeDue_; }
  void SetSchemeDue(bool due) { schemeDue_ = due; }

  // Runs after every change of the text (edits and SetText).
  void SetOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }

  // ---- RTF source ------------------------------------------------------------
  // Rendering RTF source into the control and saving the control as RTF source
  // belong to the RTF reader and writer; until they exist these refuse.
  virtual void SetRtfSource(const std::string& rtf) {
    (void)rtf;
    throw std::runtime_error("Reading RTF into the editor is not available yet.");
  }
  virtual std::string GetRtfSource() const {
    throw std::runtime_error("Saving the editor as RTF is not available yet.");
  }

  // ---- character and paragraph formats (formatted mode) ------------------------
  // The format of the character at a position; at a line's end, of the character
  // before it.
  virtual TRtfCharFormat CharFormatAt(size_t pos) const = 0;
  // Changes the format of [start, start + length) as one edit (the modified flag is
  // set). With length 0 it changes the format of what is typed next at the caret,
  // until the caret moves; that is no edit.
  virtual void ChangeCharFormat(size_t start, size_t length, const TRtfFormatChange& change) = 0;
  // Aligns the paragraphs that [start, start + length) touches (an edit).
  virtual void AlignParagraphs(size_t start, size_t length, TRtfAlign align) = 0;

  // ---- syntax colours -----------------------------------------------------------
  // Colours laid over the text for display only: setting them is no edit (no undo
  // step, the modified flag and the change handler stay as they are). The runs
  // are sorted and do not overlap; an edit moves the runs after it, a run grows
  // with text typed at its end, and text that an edit removes loses its run.
  virtual void SetColourRuns(std::vector<TColourRun> runs) { colourRuns_ = std::move(runs); }
  const std::vector<TColourRun>& ColourRuns() const { return colourRuns_; }
  // The editor's background and the colour of text without a run.
  virtual void SetEditorColour(int colour) { editorColour_ = colour; }
  int EditorColour() const { return editorColour_; }
  virtual void SetTextColour(int colour) { textColour_ = colour; }
  int TextColour() const { return textColour_; }

  // ---- character colours ----------------------------------------------------------
  // The text colour of the character at a position (0x00BBGGRR) as the document
  // holds it, not the syntax colours laid over it; -1 for the automatic colour, a
  // line end or a position past the text.
  virtual int CharColour(size_t pos) const {
    (void)pos;
    return -1;
  }

  // ---- one command, one undo step ---------------------------------------------
  // Between these, every edit joins the first one in a single undo step, while each
  // still shows as it is made. Groups do not nest.
  virtual void BeginEditGroup() {}
  virtual void EndEditGroup() {}

  // ---- a passing highlight ---------------------------------------------------------
  // Marks a range in colours of its own (0x00BBGGRR, background -1 for none) until
  // cleared, without editing: the text, the undo steps and the modified flag stay as
  // they are.
  virtual void ShowHighlight(const TColourRun& run) { highlight_ = run; }
  virtual void ClearHighlight() { highlight_ = TColourRun{}; }
  const TColourRun& Highlight() const { return highlight_; }

  // ---- offsets of the text read out ------------------------------------------
  // Conversions between offsets into the CR LF text (two characters per line end,
  // as CurrentText of a non-HTML document holds it) and editor positions. An
  // offset between a CR and its LF maps to that line end.
  size_t OffsetToPos(size_t offset) const;
  size_t PosToOffset(size_t pos) const;

 protected:
  void Changed() {
    if (onChange_) onChange_();
  }
  // Moves the colour runs over an edit that replaced `removed` positions at `from`
  // by `added` new ones.
  void MoveColourRuns(size_t from, size_t removed, size_t added);
  // The same over several edits made at once (sorted, not overlapping, positions
  // of the text before them).
  struct TMovedSpan {
    size_t from = 0, removed = 0, added = 0;
  };
  void MoveColourRuns(const std::vector<TMovedSpan>& edits);

 private:
  int tag_ = 0;
  bool overwrite_ = false;
  bool lfOnlyFile_ = false;
  bool schemeDue_ = false;
  std::function<void()> onChange_;
  std::vector<TColourRun> colourRuns_;
  TColourRun highlight_;
  int editorColour_ = 0xFFFFFF;
  int textColour_ = 0;
};

// What an edit that replaced `removed` positions at `from` by `added` makes of a
// run; false when nothing of the run is left.
inline bool MoveColourRun(TColourRun& run, size_t from, size_t removed, size_t added) {
  const size_t cut = from + removed;
  const size_t end = run.start + run.length;
  if (end < from || (end == from && added == 0)) return true;  // before the edit: untouched
  if (run.start >= cut) {
    run.start = run.start - removed + added;
    return true;
  }
  // The run meets the edit: it keeps what lies outside the removed text, and
  // text typed at its end (or inside it) takes its colour, as typing does.
  const size_t before = run.start < from ? from - run.start : 0;
  const size_t after = end > cut ? end - cut : 0;
  const bool grows = run.start < from;
  run.length = before + after + (grows ? added : 0);
  if (!grows) run.start = from + added;
  return run.length > 0;
}

inline void TMyRich::MoveColourRuns(size_t from, size_t removed, size_t added) {
  // Runs ending before the edit stay as they are.
  auto first = std::lower_bound(
      colourRuns_.begin(), colourRuns_.end(), from,
      [](const TColourRun& run, size_t at) { return run.start + run.length < at; });
  auto out = first;
  for (auto it = first; it != colourRuns_.end(); ++it) {
    TColourRun run = *it;
    if (MoveColourRun(run, from, removed, added)) *out++ = run;
  }
  colourRuns_.erase(out, colourRuns_.end());
}

inline void TMyRich::MoveColourRuns(const std::vector<TMovedSpan>& edits) {
  // As the edits one at a time from the last to the first, in one sweep: a run is
  // moved by the edits wholly before it and changed by those it meets.
  std::vector<long> shift(edits.size() + 1, 0);  // of the first i edits together
  for (size_t i = 0; i < edits.size(); ++i) {
    shift[i + 1] = shift[i] + static_cast<long>(edits[i].added) -
                   static_cast<long>(edits[i].removed);
  }
  size_t before = 0;  // edits wholly before the run
  size_t reach = 0;   // edits that begin at or before the run's end
  auto out = colourRuns_.begin();
  for (auto it = colourRuns_.begin(); it != colourRuns_.end(); ++it) {
    TColourRun run = *it;
    const size_t end = run.start + run.length;
    while (before < edits.size() && edits[before].from + edits[before].removed <= run.start) {
      ++before;
    }
    if (reach < before) reach = before;
    while (reach < edits.size() && edits[reach].from <= end) ++reach;
    bool kept = true;
    for (size_t i = reach; kept && i-- > before;) {
      kept = MoveColourRun(run, edits[i].from, edits[i].removed, edits[i].added);
    }
    if (!kept) continue;
    run.start = static_cast<size_t>(static_cast<long>(run.start) + shift[before]);
    *out++ = run;
  }
  colourRuns_.erase(out, colourRuns_.end());
}

inline size_t TMyRich::PosToOffset(size_t pos) const {
  if (pos > TextLength()) pos = TextLength();
  return pos + LineFromChar(pos);
}

inline size_t TMyRich::OffsetToPos(size_t offset) const {
  // Line k starts at offset LineIndex(k) + k: find the last line starting at or before.
  size_t lo = 0, hi = LineCount() - 1;
  while (lo < hi) {
    size_t mid = lo + (hi - lo + 1) / 2;
    if (LineIndex(mid) + mid <= offset) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  size_t column = offset - (LineIndex(lo) + lo);
  size_t length = LineLength(lo);
  if (column > length) column = length;
  return LineIndex(lo) + column;
}

}  // namespace quorrel
