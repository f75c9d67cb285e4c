#pragma once
// Writes a document as RTF source in the one layout the program's commands search
// with plain string operations:
//
//   {\rtf1\ansi\ansicpg1252\deff0\deflang2057{\fonttbl{\f0\fnil\fcharset0 NAME;}...} CR LF
//   {\colortbl ;\red..\green..\blue..;...} CR LF
//   \viewkind4\uc1\pard\f0\fs24 first paragraph CR LF
//   \par next paragraph CR LF
//   \par \pard\qc a paragraph with other paragraph formatting CR LF
//   \par } CR LF
//
// Each paragraph mark starts a new source line as "\par " and the source ends with
// "\par }" CR LF. Font f0 and the header's size are those most of the text is in;
// other fonts and the colours are numbered in the order the text first uses them.
// Formatting that ends with a paragraph is closed before its line end ("\b0" CR LF),
// formatting that starts with one is opened after its "\par ". Character words:
// \b \b0 \i \i0 \ul \ulnone \strike \strike0 \caps \caps0 \super \sub \nosupersub
// \fN \fsN \cfN \highlightN. A bulleted paragraph's text begins with
// "{\pntext\fN\'B7\tab}{\*\pn\pnlvlblt\pnfN\pnindent0{\pntxtb\'B7}}", N the Symbol
// font's number (after the text's fonts). The result of a field is written as
// "{\field{\*\fldinst INSTRUCTION}{\fldrslt TEXT}}". A tab is \tab, a line
// break \line, a non-breaking blank \~, an optional hyphen \-, a non-breaking
// hyphen \_; "\", "{" and "}" are escaped with "\"; control characters and bytes
// of Windows-1252 from 0x80 up as \'hh (lower-case hex); other characters as \uN?.
#include <string>

#include "platform/RtfModel.h"

namespace quorrel {

// The font used when the text names none.
inline constexpr char kRtfFallbackFont[] = "Calibri";

std::string ComposeRtf(const TRtfDocument& document);

}  // namespace quorrel
