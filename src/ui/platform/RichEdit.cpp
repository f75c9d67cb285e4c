#include "ui/platform/RichEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

#include "platform/CodePage.h"
#include "ui/platform/Colours.h"
#include "ui/platform/RtfReader.h"
#include "ui/platform/RtfWriter.h"
#include "ui/platform/SymbolFonts.h"

namespace quorrel {

namespace {

// Windows-1252 text -> the editor's: QTextCursor ends a block at CR LF, LF and CR
// alike, so the line ends go in as they are.
QString ToEditorText(const std::string& text) {
  return AnsiToQString(text);
}

// Document text (block boundaries as U+2029, soft breaks as U+2028) -> CR LF text.
std::string FromEditorText(const QString& text) {
  return QStringToAnsiLines(text);
}

// Lines longer than this are not wrapped. Wrapping costs time that grows with the
// square of a line's length when the line has few places to break (a minified
// script, inline data): minutes for a line of 1 MB, against a second unwrapped.
constexpr int kLongLine = 10000;

// In a text of more blocks than this the edits wait for the layout, which Qt
// would otherwise redo at once from the first edit on (seconds for megabytes): the
// text is laid out again lazily, from the start, as the view needs it.
constexpr int kLayoutAtOnce = 5000;

// Whether a line of the text is as long as kLongLine: a look at the bytes costs
// less than a walk through the blocks of a long document.
bool HasLongLine(const std::string& text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    if (end - start >= static_cast<size_t>(kLongLine)) return true;  // as UnwrapLongLines counts
    start = end + 1;
  }
  return false;
}

}  // namespace

TRichEdit::TRichEdit(QWidget* parent) : QTextEdit(parent) {
  UseSymbolFonts();
  setAcceptRichText(false);
  setLineWrapMode(QTextEdit::WidgetWidth);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  fontFamily_ = QStringLiteral("Monospace");
  ApplyFont();
  // Only real edits count as changes: colouring through layout formats leaves the
  // document's revision alone.
  connect(document(), &QTextDocument::contentsChange, this,
          [this, revision = -1](int, int, int) mutable {
            int now = document()->revision();
            if (now != revision) {
              revision = now;
              Changed();
            }
          });
  // Colour runs follow the edits; the blocks an edit touched get their formats again.
  connect(document(), &QTextDocument::contentsChange, this,
          [this, revision = document()->revision()](int from, int removed, int added) mutable {
            int now = document()->revision();
            if (now == revision) return;
            revision = now;
            if (!runsMoved_) ColoursFollowEdit(from, removed, added);
          });
}

std::string TRichEdit::GetText() const {
  return FromEditorText(document()->toRawText());
}

void TRichEdit::SetText(const std::string& text) {
  QTextDocument* doc = document();
  // With no page size the layout waits until the long lines are marked.
  const QSizeF pageSize = doc->pageSize();
  doc->setPageSize(QSizeF(0, 0));
  setPlainText(ToEditorText(text));
  // The marks are part of the new text, not a step to undo.
  if (HasLongLine(text)) {
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    UnwrapLongLines(0, doc->characterCount());
    doc->setUndoRedoEnabled(undo);
  }
  doc->setPageSize(pageSize);
  doc->setModified(false);
}

size_t TRichEdit::TextLength() const {
  return document()->characterCount() - 1;
}

std::string TRichEdit::TextRange(size_t start, size_t length) const {
  size_t total = TextLength();
  if (start >= total) return "";
  QTextCursor cursor(document());
  cursor.setPosition(static_cast<int>(start));
  cursor.setPosition(static_cast<int>(std::min(total, start + std::min(length, total))),
                     QTextCursor::KeepAnchor);
  return FromEditorText(cursor.selectedText());
}

size_t TRichEdit::SelStart() const {
  return textCursor().selectionStart();
}

size_t TRichEdit::SelLength() const {
  QTextCursor cursor = textCursor();
  return cursor.selectionEnd() - cursor.selectionStart();
}

void TRichEdit::Select(size_t start, size_t length) {
  size_t total = TextLength();
  start = std::min(start, total);
  length = std::min(length, total - start);
  const QTextCursor now = textCursor();
  // The same selection again keeps the format set for what is typed next.
  if (now.anchor() == static_cast<int>(start) &&
      now.position() == static_cast<int>(start + length)) {
    return;
  }
  QTextCursor cursor(document());
  cursor.setPosition(static_cast<int>(start));
  cursor.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
  // Selecting does not scroll: ScrollCaret does that when a command asks.
  int h = horizontalScrollBar()->value();
  int v = verticalScrollBar()->value();
  setTextCursor(cursor);
  horizontalScrollBar()->setValue(h);
  verticalScrollBar()->setValue(v);
}

std::string TRichEdit::SelText() const {
  return FromEditorText(textCursor().selectedText());
}

void TRichEdit::OpenEditBlock(QTextCursor& cursor) {
  if (editGroup_ && groupStarted_) {
    cursor.joinPreviousEditBlock();
  } else {
    cursor.beginEditBlock();
  }
  groupStarted_ = true;
}

void TRichEdit::SetSelText(const std::string& text) {
  QTextCursor cursor = textCursor();
  const int from = cursor.selectionStart();
  OpenEditBlock(cursor);
  cursor.insertText(ToEditorText(text));
  UnwrapLongLines(from, cursor.position());
  cursor.endEditBlock();
  setTextCursor(cursor);
}

void TRichEdit::ReplaceKeepingFormats(size_t start, const std::string& text) {
  // The new characters in the document's own terms: one per line end.
  QString wanted = ToEditorText(text);
  wanted.replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator));
  wanted.replace(QChar('\r'), QChar::ParagraphSeparator);
  wanted.replace(QChar('\n'), QChar::ParagraphSeparator);
  wanted.replace(QChar('\v'), QChar::LineSeparator);
  const int from = static_cast<int>(std::min(start, TextLength()));
  const int to = std::min(from + static_cast<int>(wanted.size()), static_cast<int>(TextLength()));
  // Plain numbers: a cursor would follow the edits.
  const int keptAnchor = textCursor().anchor();
  const int keptPosition = textCursor().position();
  QTextCursor cursor(document());
  bool opened = false;
  if (plain_ && from < to) {
    // Plain text has one format throughout: the whole range in one replacement.
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    const QString next = wanted.left(to - from);
    if (cursor.selectedText() == next) return;
    OpenEditBlock(cursor);
    cursor.insertText(next, cursor.charFormat());
    UnwrapLongLines(from, cursor.position());
    cursor.endEditBlock();
    QTextCursor restored(document());
    restored.setPosition(keptAnchor);
    restored.setPosition(keptPosition, QTextCursor::KeepAnchor);
    setTextCursor(restored);
    return;
  }
  // One notice for the whole change, not one per fragment: on a long document
  // the followers of each edit (colours, the change handler) cost more than it.
  const bool blocked = document()->blockSignals(true);
  // Fragment by fragment: each keeps its format, and the text between blocks (the
  // line ends) is never touched.
  for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() < to;
       block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const int a = std::max(fragment.position(), from);
      const int b = std::min(fragment.position() + fragment.length(), to);
      if (a >= b) continue;
      const QString now = fragment.text().mid(a - fragment.position(), b - a);
      const QString next = wanted.mid(a - from, b - a);
      if (now == next) continue;
      if (!opened) {
        OpenEditBlock(cursor);
        opened = true;
      }
      cursor.setPosition(a);
      cursor.setPosition(b, QTextCursor::KeepAnchor);
      cursor.insertText(next, fragment.charFormat());
    }
  }
  if (opened) cursor.endEditBlock();
  document()->blockSignals(blocked);
  if (opened) {
    ColoursFollowEdit(from, to - from, to - from);
    Changed();
  }
  QTextCursor restored(document());
  restored.setPosition(keptAnchor);
  restored.setPosition(keptPosition, QTextCursor::KeepAnchor);
  setTextCursor(restored);
}

void TRichEdit::ReplaceRanges(const std::vector<TReplacement>& replacements) {
  if (replacements.empty()) return;
  QTextDocument* doc = document();
  const int total = static_cast<int>(TextLength());
  auto clamped = [total](size_t pos) { return static_cast<int>(std::min<size_t>(pos, total)); };
  const size_t firstLine = FirstVisibleLine();
  const bool suspend = doc->blockCount() > kLayoutAtOnce;
  const QSizeF pageSize = doc->pageSize();
  if (suspend) doc->setPageSize(QSizeF(0, 0));
  QTextCursor cursor(doc);
  OpenEditBlock(cursor);
  // Qt reports the edits as one change over the whole span; the runs between them
  // keep their colours.
  runsMoved_ = true;
  std::vector<TMovedSpan> moved;
  moved.reserve(replacements.size());
  int caret = 0;
  // From the last to the first, so that the positions still to come hold.
  for (auto it = replacements.rbegin(); it != replacements.rend(); ++it) {
    const int from = clamped(it->start);
    const int to = clamped(it->start + it->length);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.insertText(ToEditorText(it->text));
    const int added = cursor.position() - from;
    if (added > 0) UnwrapLongLines(from, cursor.position());
    moved.push_back({static_cast<size_t>(from), static_cast<size_t>(to - from),
                     static_cast<size_t>(added)});
    caret = it == replacements.rbegin() ? from + added : caret + added - (to - from);
  }
  cursor.endEditBlock();
  runsMoved_ = false;
  // The caret goes while the layout waits: placed later, Qt would lay the text out
  // up to it at once.
  cursor.setPosition(caret);
  const int h = horizontalScrollBar()->value();
  setTextCursor(cursor);
  horizontalScrollBar()->setValue(h);
  if (suspend) doc->setPageSize(pageSize);
  std::reverse(moved.begin(), moved.end());
  if (!ColourRuns().empty()) {
    MoveColourRuns(moved);
    // Only the blocks that hold a replacement get their formats again.
    std::vector<std::pair<size_t, size_t>> touched;
    long shift = 0;
    for (const TMovedSpan& span : moved) {
      const size_t start = static_cast<size_t>(static_cast<long>(span.from) + shift);
      touched.push_back({start, start + span.added});
      shift += static_cast<long>(span.added) - static_cast<long>(span.removed);
    }
    FormatBlocks(touched);
  }
  const size_t line = std::min(firstLine, LineCount() - 1);
  // Laid out a view's height beyond the line first: the scroll bar's range, which
  // follows the layout, then holds the view there.
  BlockTop(static_cast<int>(std::min(line + VisibleLineCount() + 1, LineCount() - 1)));
  ScrollTo(line == 0 ? 0 : BlockTop(static_cast<int>(line)));
}

size_t TRichEdit::DisplayLinesFrom(size_t pos) const {
  QAbstractTextDocumentLayout* layout = document()->documentLayout();
  size_t lines = 0;
  for (QTextBlock block = document()->findBlock(static_cast<int>(std::min(pos, TextLength())));
       block.isValid(); block = block.next()) {
    // Laid out now if the view has not come to it yet.
    if (!block.layout() || block.layout()->lineCount() == 0) layout->blockBoundingRect(block);
    lines += block.layout() ? std::max(block.layout()->lineCount(), 1) : 1;
  }
  return lines;
}

int TRichEdit::CharColour(size_t pos) const {
  if (plain_ || pos >= TextLength()) return -1;
  const QChar c = document()->characterAt(static_cast<int>(pos));
  if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) return -1;
  QTextCursor cursor(document());
  cursor.setPosition(static_cast<int>(pos) + 1);  // the format of the character before
  const QTextCharFormat format = cursor.charFormat();
  if (!format.hasProperty(QTextFormat::ForegroundBrush)) return -1;
  return BgrOf(format.foreground().color());
}

void TRichEdit::BeginEditGroup() {
  editGroup_ = true;
  groupStarted_ = false;
}

void TRichEdit::EndEditGroup() {
  editGroup_ = false;
}

void TRichEdit::ShowHighlight(const TColourRun& run) {
  TMyRich::ShowHighlight(run);
  const int total = static_cast<int>(TextLength());
  QTextEdit::ExtraSelection mark;
  mark.cursor = QTextCursor(document());
  mark.cursor.setPosition(std::min(static_cast<int>(run.start), total));
  mark.cursor.setPosition(std::min(static_cast<int>(run.start + run.length), total),
                          QTextCursor::KeepAnchor);
  mark.format.setForeground(ColourFromBgr(run.colour));
  if (run.background >= 0) mark.format.setBackground(ColourFromBgr(run.background));
  setExtraSelections({mark});
}

void TRichEdit::ClearHighlight() {
  TMyRich::ClearHighlight();
  setExtraSelections({});
}

void TRichEdit::UnwrapLongLines(int from, int to) {
  if (!plain_) return;
  QTextDocument* doc = document();
  QTextCursor cursor(doc);
  for (QTextBlock block = doc->findBlock(from); block.isValid() && block.position() <= to;
       block = block.next()) {
    if (block.length() <= kLongLine || block.blockFormat().nonBreakableLines()) continue;
    QTextBlockFormat format = block.blockFormat();
    format.setNonBreakableLines(true);
    cursor.setPosition(block.position());
    cursor.setBlockFormat(format);
  }
}

size_t TRichEdit::LineCount() const {
  return document()->blockCount();
}

size_t TRichEdit::LineFromChar(size_t pos) const {
  pos = std::min(pos, TextLength());
  return document()->findBlock(static_cast<int>(pos)).blockNumber();
}

size_t TRichEdit::LineIndex(size_t line) const {
  if (line >= LineCount()) return TextLength();
  return document()->findBlockByNumber(static_cast<int>(line)).position();
}

size_t TRichEdit::LineLength(size_t line) const {
  if (line >= LineCount()) return 0;
  return document()->findBlockByNumber(static_cast<int>(line)).length() - 1;
}

int TRichEdit::LineHeight() const {
  // The laid-out height of a one-line block, else the font's line spacing.
  QTextBlock first = document()->firstBlock();
  QRectF rect = document()->documentLayout()->blockBoundingRect(first);
  if (rect.height() > 0 && first.layout() && first.layout()->lineCount() == 1) {
    return std::max(1, static_cast<int>(rect.height()));
  }
  return std::max(1, QFontMetrics(document()->defaultFont()).lineSpacing());
}

// The view is worked out from block rectangles only: asking the layout for a
// block lays the text out just that far, whereas Qt's hit tests lay out a long
// text whole (a second and more for megabytes) before the first paint.
double TRichEdit::BlockTop(int number) const {
  return document()
      ->documentLayout()
      ->blockBoundingRect(document()->findBlockByNumber(number))
      .top();
}

int TRichEdit::BlockAtY(double y) const {
  int count = document()->blockCount();
  // Gallop forward from the first block, then halve: the layout is only asked
  // about blocks up to about twice as far as the answer.
  int lo = 0, step = 1;
  while (lo + step < count && BlockTop(lo + step) <= y) {
    lo += step;
    step *= 2;
  }
  int hi = std::min(count - 1, lo + step);
  while (lo < hi) {
    int mid = lo + (hi - lo + 1) / 2;
    if (BlockTop(mid) <= y) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  return lo;
}

size_t TRichEdit::PosAtY(double y) const {
  QTextBlock block = document()->findBlockByNumber(BlockAtY(y));
  double inside = y - BlockTop(block.blockNumber());
  QTextLayout* layout = block.layout();
  if (layout && inside > 0) {
    for (int i = 0; i < layout->lineCount(); ++i) {
      QTextLine row = layout->lineAt(i);
      if (row.y() + row.height() > inside) return block.position() + row.textStart();
    }
  }
  return block.position();
}

void TRichEdit::ScrollTo(double value) {
  // The scroll bar's range follows the layout only once events run; a target in
  // text laid out just now widens it first. Only near the end is the text's whole
  // height needed (to stop with the last line at the bottom).
  QScrollBar* bar = verticalScrollBar();
  if (value > bar->maximum()) {
    double view = viewport()->height();
    int maximum = static_cast<int>(value);
    if (BlockAtY(value + view) >= document()->blockCount() - 1) {
      double height = document()->documentLayout()->documentSize().height();
      maximum = std::max(0, static_cast<int>(height - view));
    }
    if (maximum > bar->maximum()) bar->setMaximum(maximum);
  }
  bar->setValue(static_cast<int>(value));
}

size_t TRichEdit::FirstVisibleLine() const {
  return LineFromChar(FirstVisiblePos());
}

size_t TRichEdit::VisibleLineCount() const {
  int height = viewport()->height() - 2 * static_cast<int>(document()->documentMargin());
  return std::max(1, height / LineHeight());
}

void TRichEdit::ScrollLines(long lines) {
  long target = static_cast<long>(FirstVisibleLine()) + lines;
  target = std::clamp<long>(target, 0, static_cast<long>(LineCount()) - 1);
  ScrollTo(target == 0 ? 0 : BlockTop(static_cast<int>(target)));
}

void TRichEdit::ScrollCaret() {
  QTextCursor cursor = textCursor();
  QTextBlock block = cursor.block();
  double top = BlockTop(block.blockNumber());
  double height = LineHeight();
  if (QTextLayout* layout = block.layout()) {
    QTextLine row = layout->lineForTextPosition(cursor.position() - block.position());
    if (row.isValid()) {
      top += row.y();
      height = row.height();
    }
  }
  double value = verticalScrollBar()->value();
  double view = viewport()->height();
  if (top < value) {
    ScrollTo(top);
  } else if (top + height > value + view) {
    ScrollTo(top + height - view);
  }
  ensureCursorVisible();  // the horizontal direction
}

void TRichEdit::ScrollToBottom() {
  QSizeF size = document()->documentLayout()->documentSize();
  ScrollTo(std::max(0.0, size.height() - viewport()->height()));
}

// One pixel in, so that a line scrolled exactly to the top is not taken for the one above.
size_t TRichEdit::FirstVisiblePos() const {
  return PosAtY(verticalScrollBar()->value() + 1);
}

size_t TRichEdit::BottomLeftPos() const {
  // The character at the bottom-left of the view, 2 pixels above its bottom.
  return PosAtY(verticalScrollBar()->value() + std::max(0, viewport()->height() - 3));
}

bool TRichEdit::Modified() const {
  return document()->isModified();
}

void TRichEdit::SetModified(bool modified) {
  document()->setModified(modified);
}

void TRichEdit::SetPlainText(bool plain) {
  plain_ = plain;
  setAcceptRichText(!plain);
}

void TRichEdit::SetRedraw(bool on) {
  if (on == redraw_) return;
  redraw_ = on;
  setUpdatesEnabled(on);
  if (on) viewport()->update();
}

void TRichEdit::SetZoom(int percent) {
  zoom_ = percent > 0 ? percent : 100;
  ApplyFont();
}

bool TRichEdit::WordWrap() const {
  return lineWrapMode() != QTextEdit::NoWrap;
}

void TRichEdit::SetWordWrap(bool wrap) {
  setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

void TRichEdit::SetEditorFont(const std::string& name, int size, bool bold) {
  QString family = AnsiToQString(name);
  size = size > 0 ? size : 10;
  // The same font again would only lay the whole text out anew.
  if (family == fontFamily_ && size == fontSize_ && bold == fontBold_) return;
  fontFamily_ = family;
  fontSize_ = size;
  fontBold_ = bold;
  ApplyFont();
}

std::string TRichEdit::EditorFontName() const {
  return QStringToAnsi(fontFamily_);
}

void TRichEdit::ApplyFont() {
  QFont font(fontFamily_);
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSizeF(fontSize_ * zoom_ / 100.0);
  font.setBold(fontBold_);
  document()->setDefaultFont(font);
  setFont(font);
}

bool TRichEdit::CanFocus() const {
  return isVisible() && isEnabled();
}

void TRichEdit::SetFocus() {
  setFocus(Qt::OtherFocusReason);
}

void TRichEdit::SetRtfSource(const std::string& rtf) {
  SetPlainText(false);
  // With no page size the layout waits: the new text is laid out once, lazily, when
  // the size comes back, not first up to the old caret at its end.
  const QSizeF pageSize = document()->pageSize();
  document()->setPageSize(QSizeF(0, 0));
  ReadRtf(rtf, *document());
  setTextCursor(QTextCursor(document()));
  document()->setPageSize(pageSize);
  document()->setModified(false);
}

std::string TRichEdit::GetRtfSource() const {
  return WriteRtf(*document());
}

void TRichEdit::CopySelection() {
  copy();
}

void TRichEdit::CutSelection() {
  cut();
}

QMimeData* TRichEdit::createMimeDataFromSelection() const {
  if (!PlainText()) return QTextEdit::createMimeDataFromSelection();
  auto* data = new QMimeData;
  std::string text = SelText();
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  data->setText(AnsiToQString(text));
  return data;
}

bool TRichEdit::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride && ProgramTakesKey) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && ProgramTakesKey(*key)) {
      // Not accepted: the key goes on to the menu's shortcut.
      event->ignore();
      return true;
    }
  }
  if (event->type() == QEvent::KeyPress && ProgramRunsKey) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & Qt::ControlModifier) && ProgramRunsKey(*key)) {
      event->accept();
      return true;
    }
  }
  return QTextEdit::event(event);
}

void TRichEdit::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !hasFocus()) setFocus(Qt::MouseFocusReason);
  QTextEdit::mousePressEvent(event);
}

void TRichEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  QTextEdit::mouseDoubleClickEvent(event);
  Q_EMIT DoubleClicked();
}

}  // namespace quorrel
