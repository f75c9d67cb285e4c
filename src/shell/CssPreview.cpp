#include "shell/CssPreview.h"

#include <string>

namespace quorrel {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "#" and six hex digits (lower case, as the rule is lowered) as 0x00BBGGRR; -1 otherwise.
int ColourValue(std::string_view value) {
  if (value.size() != 7 || value[0] != '#') return -1;
  int rgb[3];
  for (int i = 0; i < 3; ++i) {
    int high = HexDigit(value[1 + 2 * i]), low = HexDigit(value[2 + 2 * i]);
    if (high < 0 || low < 0) return -1;
    rgb[i] = high * 16 + low;
  }
  return rgb[0] | rgb[1] << 8 | rgb[2] << 16;
}

std::string_view Trim(std::string_view s) {
  size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= ' ') ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ') --b;
  return s.substr(a, b - a);
}

}  // namespace

TCssRuleColours CssRuleColours(std::string_view text, size_t caret) {
  TCssRuleColours result;
  if (caret > text.size()) caret = text.size();
  size_t open = text.rfind('{', caret == 0 ? 0 : caret - 1);
  if (caret == 0 || open == std::string_view::npos) return result;
  // A "}" between them: the caret stands between two rules.
  if (text.find('}', open) < caret) return result;
  size_t close = text.find('}', caret);
  if (close == std::string_view::npos) return result;
  result.inRule = true;
  std::string rule(text.substr(open + 1, close - open - 1));
  for (char& c : rule) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  std::string_view rest = rule;
  while (!rest.empty()) {
    size_t end = rest.find(';');
    std::string_view declaration = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    size_t colon = declaration.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view property = Trim(declaration.substr(0, colon));
    if (property != "color" && property != "background" && property != "background-color") {
      continue;
    }
    std::string_view value = Trim(declaration.substr(colon + 1));
    value = value.substr(0, value.find(' '));
    int colour = ColourValue(value);
    if (colour < 0) {
      result.invalid = true;
    } else if (property == "color") {
      result.colour = colour;
    } else {
      result.background = colour;
    }
  }
  return result;
}

int ContrastColour(int colour) {
  int sum = (colour & 0xFF) + (colour >> 8 & 0xFF) + (colour >> 16 & 0xFF);
  return sum >= 416 ? 0x000000 : 0xFFFFFF;
}

bool PreviewColours(const TCssRuleColours& rule, int defaultText, int defaultBackground, int& text,
                    int& background) {
  if (rule.invalid) {
    text = defaultText;
    background = defaultBackground;
    return true;
  }
  if (rule.colour >= 0 && (rule.background < 0 || rule.background == rule.colour)) {
    text = rule.colour;
    background = ContrastColour(rule.colour);
    return true;
  }
  if (rule.background >= 0 && rule.colour < 0) {
    background = rule.background;
    text = ContrastColour(rule.background);
    return true;
  }
  if (rule.colour >= 0 && rule.background >= 0) {
    text = rule.colour;
    background = rule.background;
    return true;
  }
  return false;
}

}  // namespace quorrel
