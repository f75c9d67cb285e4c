#include "commands/FindRun.h"

#include <algorithm>

#include "commands/FindState.h"
#include "commands/ReportTab.h"
#include "edit/Sections.h"
#include "platform/UserDialogs.h"
#include "shell/BlinkJob.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/Hooks.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "shell/CommandNames.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

// Half-periods of the blink on a found text.
constexpr int FoundBlinkJob = 6;

// The prompt's highlight: aqua text on a plain document, black on aqua in RTF
// (0x00BBGGRR).
constexpr int HighlightAqua = 0xFFFF00;

// The highlight codes a dot-command page may hold in its RTF source. "\highlight0 "
// goes with its backslash: without it the next word would read as a control word.
constexpr const char* kHighlightCodes[] = {"\\cf1\\highlight2 ", "\\cf2\\highlight3 ",
                                           "\\cf0\\highlight0 ", "\\highlight1 ",
                                           "\\highlight0 "};

// Every edit of one run is one undo step, however it ends.
class TEditGroup {
 public:
  explicit TEditGroup(TMyRich& editor) : editor_(editor) { editor_.BeginEditGroup(); }
  ~TEditGroup() { editor_.EndEditGroup(); }
  TEditGroup(const TEditGroup&) = delete;
  TEditGroup& operator=(const TEditGroup&) = delete;

 private:
  TMyRich& editor_;
};

// The length of the working copy's text that the editor holds: the copy ends with
// a line end the editor may not have.
size_t EditorTextEnd(const TMyRich& editor, bool crLf) {
  const size_t length = editor.TextLength();
  const size_t end = crLf ? editor.PosToOffset(length) : length;
  return std::min(end, CurrentText.size());
}

// Offsets of the CR LF text to editor positions, as TMyRich::OffsetToPos gives
// them, for offsets that only rise: each search starts from the line of the one
// before, so that thousands cost little more than one.
class TRisingPositions {
 public:
  explicit TRisingPositions(const TMyRich& editor) : editor_(editor), count_(editor.LineCount()) {}
  size_t operator()(size_t offset) {
    size_t lo = line_, step = 1;
    while (lo + step < count_ && StartOf(lo + step) <= offset) {
      lo += step;
      step *= 2;
    }
    size_t hi = std::min(count_ - 1, lo + step);
    while (lo < hi) {
      const size_t mid = lo + (hi - lo + 1) / 2;
      if (StartOf(mid) <= offset) {
        lo = mid;
      } else {
        hi = mid - 1;
      }
    }
    line_ = lo;
    const size_t column = std::min(offset - std::min(offset, StartOf(lo)), editor_.LineLength(lo));
    return editor_.LineIndex(lo) + column;
  }

 private:
  // Line k starts at offset LineIndex(k) + k: one more character per line end.
  size_t StartOf(size_t line) const { return editor_.LineIndex(line) + line; }
  const TMyRich& editor_;
  const size_t count_;
  size_t line_ = 0;
};

}  // namespace

TFindRun::TFindRun(const TFindSetup& setup)
    : setup_(setup),
      editor_(*CurrentEditor),
      work_(CurrentText),
      crLf_(CurrentText.find('\r') != std::string::npos),
      wasModified_(CurrentEditor->Modified()) {
  const size_t start = editor_.SelStart();
  selStart_ = crLf_ ? editor_.PosToOffset(start) : start;
  const size_t end = start + editor_.SelLength();
  selLength_ = (crLf_ ? editor_.PosToOffset(end) : end) - selStart_;
}

size_t TFindRun::ToPos(size_t offset) const {
  return crLf_ ? editor_.OffsetToPos(offset) : offset;
}

void TFindRun::SelectOffsets(size_t offset, size_t length) {
  const size_t pos = ToPos(offset);
  editor_.Select(pos, ToPos(offset + length) - pos);
}

size_t TFindRun::StartingPoint() const {
  if (setup_.next && FindState.found) {
    if (!setup_.replaceMode && FindState.foundIn == CurrentFileName) {
      return std::min(FindState.foundEnd, work_.Size());
    }
    return selStart_ + selLength_;
  }
  if (setup_.replaceMode && setup_.blockReplace) return selStart_;
  if (setup_.inSection) {
    const TSectionAt at = SectionAt(selStart_);
    return at.index < 0 ? 0 : at.start;
  }
  return 0;
}

void TFindRun::Run() {
  limit_ = EditorTextEnd(editor_, crLf_);
  if (setup_.replaceMode && setup_.blockReplace) {
    blockStart_ = selStart_;
    blockLength_ = selLength_;
    limit_ = std::min(limit_, selStart_ + selLength_);
  }
  if (setup_.inSection) {
    const TSectionAt at = SectionAt(selStart_);
    if (at.next != std::string::npos) limit_ = std::min(limit_, at.next);
  }
  caret_ = StartingPoint();
  all_ = setup_.replaceMode && !setup_.prompt;
  const bool holdsLineEnd = setup_.search.find_first_of("\r\n") != std::string::npos;
  {
    TEditGroup group(editor_);
    while (!cancelled_) {
      size_t at = work_.Find(setup_.search, caret_, limit_, setup_.options);
      // A line end found at the text's last character is the working copy's own
      // final line end, which the editor need not hold.
      if (at != std::string::npos && holdsLineEnd && at + 1 >= work_.Size()) {
        at = std::string::npos;
      }
      if (at == std::string::npos) {
        NotFound();
        break;
      }
      if (!Occurrence(at)) break;
    }
    Flush();
  }
  Finish();
}

bool TFindRun::Occurrence(size_t at) {
  ++occurrences_;
  if (setup_.replaceMode && occurrences_ == LoopQuestionAt) {
    Flush();  // the user sees what has been replaced before answering
    if (AskYesNo("100 occurrences replaced.  Quorrel may be in a loop!  Cancel?")) {
      cancelled_ = true;
      return false;
    }
  }
  if (setup_.extract) {
    CollectLine(at);
    return true;
  }
  const size_t length = setup_.search.size();
  FindState.found = true;
  if (!setup_.replaceMode) {
    FocusEditor();
    ScrollToPos(ToPos(at), true);
    SelectOffsets(at, length);
    StartBlink(ToPos(at), ToPos(at + length) - ToPos(at), true, FoundBlinkJob);
    FindState.foundEnd = at + length;
    FindState.foundIn = CurrentFileName;
    return false;  // Find stops at the first
  }
  int answer = mrYes;
  if (!all_) {
    // Shown and asked one by one; replacing without asking shows only the result.
    FocusEditor();
    ScrollToPos(ToPos(at), true);
    SelectOffsets(at, length);
    answer = AskReplace(at);
  }
  if (answer != mrYes && answer != mrNo && answer != mrAll) {  // Cancel, or the prompt gone
    cancelled_ = true;
    return false;
  }
  if (answer == mrNo) {
    caret_ = at + length;
    return true;
  }
  if (answer == mrAll) all_ = true;
  ReplaceAt(at);
  return true;
}

int TFindRun::AskReplace(size_t at) {
  if (!FindState.promptShown) {
    FindState.promptShown = true;
    if (IsRtf) ShowMsg("Warning: you will probably find the highlighted text is permanent!");
  }
  const size_t pos = ToPos(at);
  TColourRun run;
  run.start = pos;
  run.length = ToPos(at + setup_.search.size()) - pos;
  run.colour = IsRtf ? 0 : HighlightAqua;
  run.background = IsRtf ? HighlightAqua : -1;
  StdCursor();
  editor_.ShowHighlight(run);
  DialogCall call;
  call.kind = DialogKind::ReplacePrompt;
  call.text = ReplacePromptText;
  const int answer = UserDialogs().ShowBox(call);
  editor_.ClearHighlight();
  return answer;
}

void TFindRun::ReplaceText(size_t at, size_t length, const std::string& with, bool defer) {
  const bool beforeLimit = at < limit_;
  if (defer) {
    // Made in the editor later, in one edit with the others.
    pending_.push_back({static_cast<size_t>(static_cast<long>(at) - pendingDelta_), length, with});
    pendingDelta_ += static_cast<long>(with.size()) - static_cast<long>(length);
  } else {
    SelectOffsets(at, length);
    editor_.SetSelText(with);
  }
  work_.Replace(at, length, with);
  if (beforeLimit) {
    limit_ = std::min(limit_ + with.size() - length, work_.Size());
    if (setup_.blockReplace) blockLength_ = blockLength_ + with.size() - length;
  }
  replaced_ = true;
}

void TFindRun::ReplaceAt(size_t at) {
  const size_t length = setup_.search.size();
  const std::string& with = setup_.replacement;
  if (!setup_.tag) {
    ReplaceText(at, length, with, all_);
    caret_ = at + with.size();
    return;
  }
  // The end tag is found before anything changes: a tag that cannot be matched
  // leaves its element as it was. These runs edit as they go.
  const size_t endAt = MatchingEndTag(at + length);
  ReplaceText(at, length, with, false);
  caret_ = at + with.size();
  ReplaceText(endAt + with.size() - length, setup_.endTag.size(), setup_.replacementEndTag, false);
  SelectOffsets(caret_, 0);  // back after the start tag
}

size_t TFindRun::MatchingEndTag(size_t from) {
  const std::string& endTag = setup_.endTag;
  int depth = 1;
  for (size_t i = from; i < work_.Size(); ++i) {
    if (work_.At(i) != '<') continue;
    if (i + 1 < work_.Size() && work_.At(i + 1) == '/') {
      --depth;
    } else {
      ++depth;
    }
    if (depth > 0) continue;
    const std::string found = work_.Substr(i, std::min(endTag.size(), work_.Size() - i));
    if (UpperCaseAnsi(found) != UpperCaseAnsi(endTag)) {
      SelectOffsets(i, found.size());
      ShowErrorAndAbort("Expected " + endTag + " but found " + found);
    }
    return i;
  }
  ShowErrorAndAbort("End of tag not found");
}

void TFindRun::Flush() {
  if (pending_.empty()) return;
  // The editor still holds the text as it was before these replacements. Only the
  // replaced words change there: a long text is laid out once, and the text
  // between keeps its formats.
  TRisingPositions positions(editor_);
  auto toPos = [&](size_t offset) { return crLf_ ? positions(offset) : offset; };
  for (TReplacement& replacement : pending_) {
    const size_t pos = toPos(replacement.start);
    replacement.length = toPos(replacement.start + replacement.length) - pos;
    replacement.start = pos;
  }
  editor_.ReplaceRanges(pending_);  // the caret after the last, the view where it was
  pending_.clear();
  pendingDelta_ = 0;
}

void TFindRun::CollectLine(size_t at) {
  const std::string_view text = work_.Tail(0);
  size_t from = at;
  const std::string& search = setup_.search;
  if (search[0] == '\r' || search[0] == '\n') {
    from += search.compare(0, 2, "\r\n") == 0 ? 2 : 1;  // the line after the line end
  }
  if (from >= text.size()) {
    caret_ = text.size();
    return;
  }
  const size_t before = from == 0 ? std::string::npos : text.rfind('\n', from - 1);
  const size_t lineStart = before == std::string::npos ? 0 : before + 1;
  const size_t feed = text.find('\n', from);
  const size_t lineEnd = feed == std::string::npos ? text.size() : feed + 1;
  collected_.append(text.substr(lineStart, lineEnd - lineStart));
  caret_ = std::max(lineEnd, at + 1);
}

void TFindRun::NotFound() {
  Flush();
  if (!setup_.replaceMode) FindState.found = false;
  editor_.Select(editor_.SelStart(), 0);
  if (occurrences_ > 0 || setup_.filesMode) return;
  if (MainMenu().Find(ShowHexItem)) MainMenu().SetChecked(ShowHexItem, false);
  const bool inBlock = setup_.replaceMode && setup_.blockReplace;
  ShowStatus(std::string(inBlock ? "Not found in selected text: " : "Not found: ") + "\"" +
             setup_.shownText + "\"");
}

void TFindRun::Finish() {
  editor_.SetModified(replaced_ || wasModified_);
  if (occurrences_ == 0) SelectOffsets(selStart_, selLength_);
  if (replaced_ && setup_.blockReplace) SelectOffsets(blockStart_, blockLength_);
  if (replaced_ && IsDotPage) {
    std::string rtf = editor_.GetRtfSource();
    for (const char* code : kHighlightCodes) rtf = ReplaceAll(rtf, code, "", true);
    const size_t caret = editor_.SelStart();
    editor_.SetRtfSource(rtf);
    editor_.SetModified(true);
    editor_.Select(caret, 0);
  }
  if (replaced_) {
    DocModified = true;
    GetEditorText();
  }
  StdCursor();
  CurrentCommand.clear();
  if (collected_.empty()) return;
  // A report of the lines found, in a document of its own; never into the document
  // searched.
  ShowReport(collected_, &editor_);
}

}  // namespace quorrel
