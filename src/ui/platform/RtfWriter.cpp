#include "ui/platform/RtfWriter.h"

#include <QFont>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <cmath>

#include "platform/CodePage.h"
#include "platform/RtfCompose.h"
#include "ui/platform/Colours.h"
#include "ui/platform/RtfReader.h"

namespace quorrel {

namespace {

int Twips(double pixels) {
  return static_cast<int>(std::lround(pixels * TwipsPerPixel));
}

int32_t RgbOfBrush(const QBrush& brush) {
  return brush.style() == Qt::NoBrush ? -1 : RgbOf(brush.color());
}

}  // namespace

TRtfCharFormat RtfCharFormat(const QTextCharFormat& q, const QFont& defaultFont) {
  TRtfCharFormat f;
  const QStringList families = q.fontFamilies().toStringList();
  f.font = QStringToAnsi(families.isEmpty() ? defaultFont.family() : families.first());
  const double points =
      q.hasProperty(QTextFormat::FontPointSize) ? q.fontPointSize() : defaultFont.pointSizeF();
  f.halfPoints = points > 0 ? static_cast<int>(std::lround(points * 2)) : 24;
  f.bold = q.hasProperty(QTextFormat::FontWeight) ? q.fontWeight() >= QFont::DemiBold
                                                  : defaultFont.bold();
  f.italic = q.hasProperty(QTextFormat::FontItalic) ? q.fontItalic() : defaultFont.italic();
  f.underline = q.fontUnderline();
  f.strike = q.fontStrikeOut();
  f.caps = q.fontCapitalization() == QFont::AllUppercase;
  if (q.verticalAlignment() == QTextCharFormat::AlignSuperScript) f.script = 1;
  if (q.verticalAlignment() == QTextCharFormat::AlignSubScript) f.script = -1;
  if (q.hasProperty(QTextFormat::ForegroundBrush)) f.color = RgbOfBrush(q.foreground());
  if (q.hasProperty(QTextFormat::BackgroundBrush)) f.highlight = RgbOfBrush(q.background());
  if (q.hasProperty(RtfField)) f.field = QStringToAnsi(q.stringProperty(RtfField));
  return f;
}

TRtfParaFormat RtfParaFormat(const QTextBlockFormat& q) {
  TRtfParaFormat f;
  const Qt::Alignment horizontal = q.alignment() & Qt::AlignHorizontal_Mask;
  if (horizontal & Qt::AlignHCenter) f.align = TRtfAlign::Center;
  if (horizontal & Qt::AlignRight) f.align = TRtfAlign::Right;
  if (horizontal & Qt::AlignJustify) f.align = TRtfAlign::Justify;
  f.leftIndent = Twips(q.leftMargin());
  f.rightIndent = Twips(q.rightMargin());
  f.firstIndent = Twips(q.textIndent());
  f.spaceBefore = Twips(q.topMargin());
  f.spaceAfter = Twips(q.bottomMargin());
  switch (q.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
      f.lineSpacing = static_cast<int>(std::lround(q.lineHeight() * 240.0 / 100.0));
      f.lineMultiple = true;
      break;
    case QTextBlockFormat::MinimumHeight:
      f.lineSpacing = Twips(q.lineHeight());
      break;
    case QTextBlockFormat::FixedHeight:
      f.lineSpacing = -Twips(q.lineHeight());
      break;
    default:
      break;
  }
  for (const QTextOption::Tab& tab : q.tabPositions()) {
    TRtfTab t;
    t.position = Twips(tab.position);
    if (tab.type == QTextOption::RightTab) t.kind = 'r';
    if (tab.type == QTextOption::CenterTab) t.kind = 'c';
    if (tab.type == QTextOption::DelimiterTab) t.kind = 'd';
    f.tabs.push_back(t);
  }
  f.keep = q.boolProperty(RtfKeep);
  f.keepNext = q.boolProperty(RtfKeepNext);
  f.noHyphenation = q.boolProperty(RtfNoHyphenation);
  return f;
}

// Bulleted list items; numbered ones have no place in the model.
static bool IsBulleted(const QTextBlock& block) {
  const QTextList* list = block.textList();
  if (!list) return false;
  const QTextListFormat::Style style = list->format().style();
  return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
         style == QTextListFormat::ListSquare;
}

TRtfDocument DocumentModel(const QTextDocument& document) {
  TRtfDocument model;
  const QFont defaultFont = document.defaultFont();
  // Fragments repeat a few formats many times: convert each once.
  int lastIndex = -1;
  TRtfCharFormat last;
  auto charFormat = [&](const QTextFragment& fragment) -> const TRtfCharFormat& {
    const int index = fragment.charFormatIndex();
    if (index != lastIndex) {
      last = RtfCharFormat(fragment.charFormat(), defaultFont);
      lastIndex = index;
    }
    return last;
  };
  int lastBlockIndex = -1;
  TRtfParaFormat para;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    TRtfParagraph p;
    if (block.blockFormatIndex() != lastBlockIndex) {
      para = RtfParaFormat(block.blockFormat());
      lastBlockIndex = block.blockFormatIndex();
    }
    p.format = para;
    p.format.bullet = IsBulleted(block);
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid()) continue;
      std::u16string text = fragment.text().toStdU16String();
      // Images and other objects stand in the text as U+FFFC: they have no RTF here.
      std::erase(text, char16_t{0xFFFC});
      AppendRun(p, text, charFormat(fragment));
    }
    p.markFormat =
        p.runs.empty() ? RtfCharFormat(block.charFormat(), defaultFont) : p.runs.front().format;
    model.paragraphs.push_back(std::move(p));
  }
  return model;
}

std::string WriteRtf(const QTextDocument& document) {
  return ComposeRtf(DocumentModel(document));
}

}  // namespace quorrel
