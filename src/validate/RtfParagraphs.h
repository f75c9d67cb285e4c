#pragma once
// The paragraph checks of RTF documents: round brackets and double quotes, one
// paragraph at a time, over the text the editor shows (Windows-1252 bytes, CR LF
// line ends). A paragraph is a line; from a line that begins ".WW" up to the next
// line that begins "." the lines are one paragraph.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

inline constexpr char NestedBracketsMessage[] = "Nested brackets in this paragraph";
inline constexpr char UnopenedBracketMessage[] = "Unopened bracket in this paragraph";
inline constexpr char UnmatchedQuotesMessage[] = "Unmatched double quotes in this paragraph.";
inline constexpr char UnclosedBracketMessage[] = "Unclosed bracket in this paragraph.";

// A closing bracket in this text colour (0x00BBGGRR) is not checked.
inline constexpr int UncheckedBracketColour = 0xFFFFD8;

// The options the checks follow: "Validate on Save", "Check quotes", "Check brackets".
struct TParagraphOptions {
  bool valSave = true;
  bool checkQuotes = true;
  bool checkBrackets = true;
};

// The first fault found: its message, where its paragraph starts (an offset into
// the checked text), the paragraph, the offsets in the paragraph of the characters
// at fault, and of the double quotes that were paired (inch marks are not).
struct TParagraphFault {
  std::string message;
  size_t offset = 0;
  std::string paragraph;
  std::vector<size_t> marks;
  std::vector<size_t> quotes;
};

// The text colour (0x00BBGGRR, -1 for the automatic colour) of the character at an
// offset of the checked text.
using TColourAt = std::function<int(size_t offset)>;

// Checks the paragraphs of a text in order and returns the first fault, or none.
std::optional<TParagraphFault> CheckParagraphs(std::string_view text,
                                               const TParagraphOptions& options,
                                               const TColourAt& colourAt);

// The paragraph as the viewer shows it: its paired double quotes become "\xAB" and
// "\xBB" (guillemets) in turn, so the pairing the check saw can be read.
std::string ParagraphForViewer(const TParagraphFault& fault);

}  // namespace quorrel
