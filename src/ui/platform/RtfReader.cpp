#include "ui/platform/RtfReader.h"

#include <QColor>
#include <QSizeF>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextOption>
#include <vector>

#include "platform/CodePage.h"
#include "platform/RtfParse.h"
#include "ui/platform/Colours.h"

namespace quorrel {

static_assert(RtfKeep == QTextFormat::UserProperty + 0x100);
static_assert(RtfField == QTextFormat::UserProperty + 0x200);

QTextCharFormat QtCharFormat(const TRtfCharFormat& f) {
  QTextCharFormat q;
  if (!f.font.empty()) q.setFontFamilies(QStringList{AnsiToQString(f.font)});
  q.setFontPointSize(f.halfPoints / 2.0);
  q.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
  q.setFontItalic(f.italic);
  q.setFontUnderline(f.underline);
  q.setFontStrikeOut(f.strike);
  if (f.caps) q.setFontCapitalization(QFont::AllUppercase);
  if (f.script > 0) q.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
  if (f.script < 0) q.setVerticalAlignment(QTextCharFormat::AlignSubScript);
  if (f.color >= 0) q.setForeground(ColourFromRgb(f.color));
  if (f.highlight >= 0) q.setBackground(ColourFromRgb(f.highlight));
  if (!f.field.empty()) q.setProperty(RtfField, AnsiToQString(f.field));
  return q;
}

QTextBlockFormat QtBlockFormat(const TRtfParaFormat& f) {
  QTextBlockFormat q;
  switch (f.align) {
    case TRtfAlign::Left:
      q.setAlignment(Qt::AlignLeft);
      break;
    case TRtfAlign::Center:
      q.setAlignment(Qt::AlignHCenter);
      break;
    case TRtfAlign::Right:
      q.setAlignment(Qt::AlignRight);
      break;
    case TRtfAlign::Justify:
      q.setAlignment(Qt::AlignJustify);
      break;
  }
  q.setLeftMargin(f.leftIndent / TwipsPerPixel);
  q.setRightMargin(f.rightIndent / TwipsPerPixel);
  q.setTextIndent(f.firstIndent / TwipsPerPixel);
  q.setTopMargin(f.spaceBefore / TwipsPerPixel);
  q.setBottomMargin(f.spaceAfter / TwipsPerPixel);
  if (f.lineSpacing > 0 && f.lineMultiple) {
    q.setLineHeight(f.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
  } else if (f.lineSpacing > 0) {
    q.setLineHeight(f.lineSpacing / TwipsPerPixel, QTextBlockFormat::MinimumHeight);
  } else if (f.lineSpacing < 0) {
    q.setLineHeight(-f.lineSpacing / TwipsPerPixel, QTextBlockFormat::FixedHeight);
  }
  if (!f.tabs.empty()) {
    QList<QTextOption::Tab> tabs;
    for (const TRtfTab& tab : f.tabs) {
      QTextOption::TabType type = QTextOption::LeftTab;
      QChar delimiter;
      if (tab.kind == 'r') type = QTextOption::RightTab;
      if (tab.kind == 'c') type = QTextOption::CenterTab;
      if (tab.kind == 'd') type = QTextOption::DelimiterTab, delimiter = u'.';
      tabs.append(QTextOption::Tab(tab.position / TwipsPerPixel, type, delimiter));
    }
    q.setTabPositions(tabs);
  }
  if (f.keep) q.setProperty(RtfKeep, true);
  if (f.keepNext) q.setProperty(RtfKeepNext, true);
  if (f.noHyphenation) q.setProperty(RtfNoHyphenation, true);
  return q;
}

void FillDocument(const TRtfDocument& model, QTextDocument& document) {
  const bool undo = document.isUndoRedoEnabled();
  document.setUndoRedoEnabled(false);
  // With no page size the layout ignores the edits; setting it back afterwards
  // lays the new text out as a whole, step by step, as loading a document does.
  const QSizeF pageSize = document.pageSize();
  document.setPageSize(QSizeF(0, 0));
  document.clear();
  QTextCursor cursor(&document);
  cursor.beginEditBlock();
  // Documents repeat a few formats many times: convert each once.
  std::vector<std::pair<TRtfCharFormat, QTextCharFormat>> cache;
  auto charFormat = [&cache](const TRtfCharFormat& f) -> const QTextCharFormat& {
    for (auto& entry : cache) {
      if (entry.first == f) return entry.second;
    }
    if (cache.size() >= 64) cache.erase(cache.begin());
    cache.emplace_back(f, QtCharFormat(f));
    return cache.back().second;
  };
  const TRtfParaFormat* lastPara = nullptr;
  QTextBlockFormat blockFormat;
  bool first = true;
  // The bulleted list that the paragraphs being read belong to.
  QTextList* list = nullptr;
  for (const TRtfParagraph& p : model.paragraphs) {
    if (!lastPara || !(*lastPara == p.format)) blockFormat = QtBlockFormat(p.format);
    lastPara = &p.format;
    const QTextCharFormat mark = charFormat(p.markFormat);
    if (first) {
      cursor.setBlockFormat(blockFormat);
      cursor.setBlockCharFormat(mark);
      first = false;
    } else {
      cursor.insertBlock(blockFormat, mark);
    }
    if (!p.format.bullet) {
      list = nullptr;
    } else if (list) {
      list->add(cursor.block());
    } else {
      QTextListFormat bullets;
      bullets.setStyle(QTextListFormat::ListDisc);
      list = cursor.createList(bullets);
    }
    for (const TRtfRun& run : p.runs) {
      cursor.insertText(QString::fromStdU16String(run.text), charFormat(run.format));
    }
  }
  cursor.endEditBlock();
  document.setPageSize(pageSize);
  document.setUndoRedoEnabled(undo);
}

void ReadRtf(const std::string& source, QTextDocument& document) {
  FillDocument(ParseRtf(source), document);
}

}  // namespace quorrel
