#pragma once
// The colour preview of CSS documents: while the caret stands in a rule that sets
// "color" or "background", the editor shows its whole text in those colours.
// Colours are 0x00BBGGRR.
#include <cstddef>
#include <string_view>

namespace quorrel {

// What the rule around the caret says.
struct TCssRuleColours {
  bool inRule = false;   // the caret stands between a rule's "{" and "}"
  bool invalid = false;  // a colour property whose value is no "#" and six hex digits
  int colour = -1;       // "color"; -1 when not given
  int background = -1;   // "background" or "background-color"; -1 when not given
};

// The colours of the rule around caret (an offset into text).
TCssRuleColours CssRuleColours(std::string_view text, size_t caret);

// Black on a light colour, white on a dark one: the sum of red, green and blue
// decides (416 or more is light).
int ContrastColour(int colour);

// The text and background colours to show for a rule; false when the rule sets
// neither (the editor keeps what it shows). An invalid value gives the scheme's
// default text and background colours.
bool PreviewColours(const TCssRuleColours& rule, int defaultText, int defaultBackground, int& text,
                    int& background);

}  // namespace quorrel
