#pragma once
// A QTextDocument as RTF source: what streaming the rich-edit control out as RTF
// gives, in the layout of platform/RtfCompose.h. Syntax colouring laid over the
// text (layout formats) is not part of the document and is not written.
#include <string>

#include "platform/RtfModel.h"

class QTextDocument;
class QTextCharFormat;
class QTextBlockFormat;
class QFont;

namespace quorrel {

std::string WriteRtf(const QTextDocument& document);
TRtfDocument DocumentModel(const QTextDocument& document);

// The model's formats of Qt formats; what a character format leaves unset comes
// from the document's default font.
TRtfCharFormat RtfCharFormat(const QTextCharFormat& format, const QFont& defaultFont);
TRtfParaFormat RtfParaFormat(const QTextBlockFormat& format);

}  // namespace quorrel
