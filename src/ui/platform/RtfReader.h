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

// The document's pixels are laid out at 96 per inch; RTF gives lengths in twips,
// 1440 per inch.
inline constexpr double TwipsPerPixel = 15.0;

// Qt formats of the model's formats, lengths in the document's pixels.
QTextCharFormat QtCharFormat(const TRtfCharFormat& format);
QTextBlockFormat QtBlockFormat(const TRtfParaFormat& format);

// Paragraph properties Qt has no field for, kept on the block format.
enum TRtfBlockProperty {
  RtfKeep = 0x100100,  // QTextFormat::UserProperty + 0x100
  RtfKeepNext,
  RtfNoHyphenation,
};

// RTF of the text that the editor cannot show, kept on the character format: the
// instruction of the field whose result the text is (a link's address).
enum TRtfCharProperty {
  RtfField = 0x100200,  // QTextFormat::UserProperty + 0x200
};

}  // namespace quorrel
