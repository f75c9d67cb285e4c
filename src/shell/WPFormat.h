#pragma once
// Text from Varek's old word processor: its own code page, dot commands at line
// starts and style bytes that switch bold, italic, underline and a coloured bold
// on and off. Converted into an RTF document. Texts are Windows-1252 bytes.
#include <functional>
#include <string>

namespace quorrel {

// Whether a text is offered for conversion: more than three characters, a "."
// first, and not an RTF document (inserted text is offered even into one).
bool WPFormatOffered(const std::string& text, bool isRtf, bool inserting);

// The 19 bytes of the old code page that differ from Windows-1252, mapped all at
// once (so that 9B -> F8 is not then taken for F8 -> B0).
std::string WPMapBytes(const std::string& text);

// RTF source of mapped, re-paragraphed text in a font and point size: the style
// bytes become RTF words, each line ends with "\par ".
std::string WPFormatSource(const std::string& text, const std::string& font, int pointSize);

// Re-paragraphs the mapped text before it is marked up. Until the re-paragraphing
// command exists the text goes through as it is.
extern std::function<std::string(const std::string&)> WPReparagraph;

// TWebForm.WPFormat for the current document: when offered and the user agrees,
// the document is converted, shown formatted and renamed to ".RTF". Returns
// whether it was converted.
bool WPFormat();

// The conversion of text to be inserted into the current editor (in the editor's
// font and size): its RTF source, or "" when not offered or declined.
std::string WPFormatInsert(const std::string& text, const std::string& font, int pointSize);

// Back to the state of a freshly started program.
void ResetWPFormat();

}  // namespace quorrel
