// The editor control's character and paragraph formats: one format operation
// over a range, however many characters it holds.
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <algorithm>

#include "platform/CodePage.h"
#include "ui/platform/Colours.h"
#include "ui/platform/RichEdit.h"
#include "ui/platform/RtfReader.h"
#include "ui/platform/RtfWriter.h"

namespace quorrel {

namespace {

// The properties a change sets, as a Qt format to merge. The automatic colour
// (-1) is the absence of a brush, which merging cannot express: see ClearBrushes.
QTextCharFormat QtChange(const TRtfFormatChange& c) {
  QTextCharFormat q;
  if (c.font) q.setFontFamilies(QStringList{AnsiToQString(*c.font)});
  if (c.halfPoints) q.setFontPointSize(*c.halfPoints / 2.0);
  if (c.bold) q.setFontWeight(*c.bold ? QFont::Bold : QFont::Normal);
  if (c.italic) q.setFontItalic(*c.italic);
  if (c.underline) q.setFontUnderline(*c.underline);
  if (c.strike) q.setFontStrikeOut(*c.strike);
  if (c.script) {
    q.setVerticalAlignment(*c.script > 0   ? QTextCharFormat::AlignSuperScript
                           : *c.script < 0 ? QTextCharFormat::AlignSubScript
                                           : QTextCharFormat::AlignNormal);
  }
  if (c.color && *c.color >= 0) q.setForeground(ColourFromRgb(*c.color));
  if (c.highlight && *c.highlight >= 0) q.setBackground(ColourFromRgb(*c.highlight));
  return q;
}

bool ClearsBrush(const TRtfFormatChange& c) {
  return (c.color && *c.color < 0) || (c.highlight && *c.highlight < 0);
}

void ClearBrushes(QTextDocument& document, int from, int to, const TRtfFormatChange& c) {
  QTextCursor cursor(&document);
  for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
       block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const int start = std::max(from, fragment.position());
      const int end = std::min(to, fragment.position() + fragment.length());
      if (start >= end) continue;
      QTextCharFormat format = fragment.charFormat();
      if (c.color && *c.color < 0) format.clearForeground();
      if (c.highlight && *c.highlight < 0) format.clearBackground();
      cursor.setPosition(start);
      cursor.setPosition(end, QTextCursor::KeepAnchor);
      cursor.setCharFormat(format);
    }
  }
}

}  // namespace

TRtfCharFormat TRichEdit::CharFormatAt(size_t pos) const {
  pos = std::min(pos, TextLength());
  const QTextBlock block = document()->findBlock(static_cast<int>(pos));
  // A cursor reports the format of the character before it.
  const bool insideLine = static_cast<int>(pos) < block.position() + block.length() - 1;
  QTextCursor cursor(document());
  cursor.setPosition(static_cast<int>(pos) + (insideLine ? 1 : 0));
  return RtfCharFormat(cursor.charFormat(), document()->defaultFont());
}

void TRichEdit::ChangeCharFormat(size_t start, size_t length, const TRtfFormatChange& change) {
  if (plain_) return;
  const size_t total = TextLength();
  start = std::min(start, total);
  length = std::min(length, total - start);
  const QTextCharFormat merge = QtChange(change);
  if (length == 0) {
    if (SelStart() != start || SelLength() != 0) Select(start, 0);
    QTextCursor cursor = textCursor();
    QTextCharFormat typing = cursor.charFormat();
    typing.merge(merge);
    if (change.color && *change.color < 0) typing.clearForeground();
    if (change.highlight && *change.highlight < 0) typing.clearBackground();
    setCurrentCharFormat(typing);
    return;
  }
  QTextCursor cursor(document());
  cursor.beginEditBlock();
  cursor.setPosition(static_cast<int>(start));
  cursor.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
  cursor.mergeCharFormat(merge);
  if (ClearsBrush(change)) {
    ClearBrushes(*document(), static_cast<int>(start), static_cast<int>(start + length), change);
  }
  cursor.endEditBlock();
  document()->setModified(true);
}

void TRichEdit::AlignParagraphs(size_t start, size_t length, TRtfAlign align) {
  if (plain_) return;
  const size_t total = TextLength();
  start = std::min(start, total);
  length = std::min(length, total - start);
  TRtfParaFormat paragraph;
  paragraph.align = align;
  QTextBlockFormat format;
  format.setAlignment(QtBlockFormat(paragraph).alignment());
  QTextCursor cursor(document());
  cursor.setPosition(static_cast<int>(start));
  cursor.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
  cursor.mergeBlockFormat(format);
  document()->setModified(true);
}

}  // namespace quorrel
