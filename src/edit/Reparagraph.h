#pragma once
// Re-paragraphing: hard-wrapped plain text (pasted mail, mostly) joined into
// paragraphs, the quote marks of joined lines removed and two blanks set after
// every sentence end. The Edit menu, Paste and the word-processor conversion reach
// it here. Texts are Windows-1252 bytes with CR LF line ends.
#include <string>

namespace quorrel {

class TEditControl;
class TMyRich;

inline constexpr char ReparagraphRtfQuestion[] =
    "Reparagraphing RTF will lose all the formatting:\rBold, Italic, Fonts, Colours, "
    "etc.\rAre you SURE you want to continue?";

// The text re-paragraphed. In a page (html) the sentence ends get "&nbsp; " and
// script, style and PRE blocks and the insides of tags stay as they are.
std::string ReparagraphText(const std::string& text, bool html);

// Re-paragraphs the selection of a control, or its whole text when nothing is
// selected. The whole text of the current editor of an RTF document is done only
// when the user agrees to lose its formatting; No ends the command.
void Reparagraph(TEditControl& control);
void Reparagraph(TMyRich& editor);

}  // namespace quorrel
