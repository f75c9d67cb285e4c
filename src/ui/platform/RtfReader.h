#pragma once
// RTF source into a QTextDocument: what streaming RTF into the rich-edit control
// does. The document's text, paragraphs and formatting are replaced; the undo
// history is not touched.
#include <string>

#include "platform/RtfModel.h"

class QTextDocument;
class QTextCharFormat;
class QTextBlockFormat;

namespace quorrel {

void ReadRtf(const std::string& source, QTextDocument& document);
void FillDocument(const TRtfDocument& model, QTextDocument& document);

// Qt formats of the model's formats. Lengths go from twips to the document's
// pixels at 96 per inch (15 twips each).
QTextCharFormat QtCharFormat(const TRtfCharFormat& format);
QTextBlockFormat QtBlockFormat(const TRtfParaFormat& format);

// Paragraph properties Qt has no field for, kept on the block format.
enum TRtfBlockProperty {
  RtfKeep = 0x100100,  // QTextFormat::UserProperty + 0x100
  RtfKeepNext,
  RtfNoHyphenation,
};

}  // namespace quorrel
