#pragma once
// The Text menu's character and tag commands: Bold, Italic, Underline,
// Strike-through, Key, Quote, Superscript, Subscript, Normal, HTML, Font, the
// alignments and BlockQuote. A web page (or a dot-command page, or C#) gets tags;
// a formatted RTF document gets character formats. Texts are Windows-1252 bytes.
#include <string>

#include "platform/RtfModel.h"

namespace quorrel {

class TMyRich;

// A formatted RTF document: its character formats can change.
bool FormattedRtf(const TMyRich& editor);
// The selection less the line ends at its end.
void DropTrailingLineEnds(TMyRich& editor);

// The styles Bold, Italic, Underline and Strike-through switch, by their items' tags.
enum class TTextStyle { Bold = 0, Italic = 1, Underline = 2, Strike = 3 };

// Whether a tag toggled at a caret after `before` closes: the last "<tag>" or
// "</tag>" in it (letters of any case) is the start tag. "<LI>" or "<sub>" count
// for no one-letter tag.
bool EndTagDue(const std::string& before, const std::string& tag);

// RTF codes for text: "\", "{" and "}" escaped, line ends as paragraph marks,
// tabs and line breaks as their control words, bytes from 0x80 up as \'hh.
std::string RtfCodesOfText(const std::string& text);

// Puts RTF codes in place of the selection of a formatted RTF document: the
// selection becomes a marker, the marker in the document's codes becomes the
// codes, and the codes are read back. A marker format, when given, reaches the
// codes through the writer's font and colour tables. With dropBlankAfter a blank
// right after the marker goes too. The caret ends `caret` positions after the
// selection's start. False, with the selection put back, when the writer split
// the marker.
bool ReplaceSelectionByCodes(TMyRich& editor, const std::string& codes, size_t caret,
                             const TRtfFormatChange* markerFormat = nullptr,
                             bool dropBlankAfter = false);

// Bold, Italic, Underline, Strike-through and Key: a style in a formatted RTF
// document (never for "Kbd"), tags in a web page. Trailing line ends are no part
// of the selection.
void TagOrStyle(const std::string& tag, TTextStyle style);

// Superscript, Subscript and Quote: tags in a web page; in an RTF document the
// selection goes between the control word and its closing word in the codes.
void TagOrCodes(const std::string& tag, const std::string& word, const std::string& closing);

// Normal: the scheme's text and background colours and no style; 12 points in a
// content document.
void NormalClick();
// HTML: the selection in "FixedSys", or back in the document's first font.
void HtmlFontClick();
// Font: the font dialog (with a colour) for the selection of an RTF document.
void SetFontClick();
// Left-aligned, Right-aligned, Centred: the selected paragraphs of an RTF document.
void AlignClick(TRtfAlign align);
// BlockQuote: the selection between BlockQuote tags, or the clipboard's text.
void BlockQuoteClick();

// Gives the Text menu's style items their commands.
void InstallTextStyleCommands();

}  // namespace quorrel
