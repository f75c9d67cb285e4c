#pragma once
// What Paste makes of formatted text from another program, once the hidden rich
// editor has turned it into RTF source in the program's own layout: the source
// tidied, HTML with bold, italic and line breaks made from it, and the body that
// goes into an RTF document or a dot-command page. Texts are Windows-1252 bytes.
#include <string>

namespace quorrel {

// The source as Paste works on it: the UTF-8 quotes and accents that some
// programs put into RTF as byte codes made plain characters, everything before
// the first "\pard" removed (none: the silent abort after the search's message)
// and the final "\par " before the closing "}" dropped.
std::string TidyPastedRtf(const std::string& source);

// The code of the first character written as "\u" and a number (outside
// Windows-1252): up to the "?" after it, at most 10 characters; "" when none.
std::string UnicodeCodeIn(const std::string& rtf);

// The message that stops Paste for such a character.
std::string UnicodeMessage(const std::string& code);

// Tidied RTF as HTML: bullet paragraph marks as " &bull; ", "\b" and "\i" as
// <b> and <i> until "\b0" and "\i0", a paragraph mark as CR "<Br>" and two in a
// row as CR "<P>", byte codes as character references ("&hellip;" for the
// ellipsis, nothing for a middle dot); other control words go. Ends at the "}"
// that closes the text; malformed source ends at its end.
std::string RtfToHtml(const std::string& rtf);

// Tidied RTF without its leading "\pard" and the control words right after it,
// save bold ("\b"), underline ("\ul") and byte codes.
std::string WithoutLeadingPard(const std::string& rtf);

// The body as a dot-command page takes it: curly single quotes plain, the final
// line ends and "}" gone, the layout words the page builder does not read (with
// their numbers) removed, a final "\f1 " removed.
std::string DotPageBody(const std::string& body);

// The page's own RTF with its text replaced by the body, ready to be put into the
// page formatted. The page's RTF must end " }" CR LF: otherwise the command stops
// with "End of RTF not as expected:" and the RTF.
std::string DotPageRtf(const std::string& pageRtf, const std::string& body);

// Whether pasted RTF holds formatting worth keeping: bold, italic, a character
// outside the code page or a bullet.
bool HoldsFormatting(const std::string& rtf);

}  // namespace quorrel
