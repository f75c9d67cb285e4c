#include "validate/PascalKeywords.h"

#include <array>

namespace quorrel {

namespace {

// In code order: a word's code is its place here plus one.
constexpr std::array<std::string_view, PasKeywordCount> kKeywords = {
    "BEGIN",          "TRY",          "ASM",       "CASE",        "REPEAT",     "WITH",
    "WHILE",          "FOR",          "EXCEPT",    "FINALLY",     "PRIVATE",    "PUBLIC",
    "PUBLISHED",      "PROTECTED",    "AUTOMATED", "USES",        "TYPE",       "VAR",
    "CONST",          "LABEL",        "IF",        "ELSE",        "END",        "UNTIL",
    "IMPLEMENTATION", "PROCEDURE",    "FUNCTION",  "CONSTRUCTOR", "DESTRUCTOR", "INTERFACE",
    "PROPERTY",       "INHERITED",    "RAISE",     "EXIT",        "PROGRAM",    "UNIT",
    "INITIALIZATION", "FINALIZATION", "BREAK",
};

}  // namespace

int PascalKeywords(std::string_view upperWord) {
  for (size_t i = 0; i < kKeywords.size(); ++i) {
    if (kKeywords[i] == upperWord) return static_cast<int>(i) + 1;
  }
  return 0;
}

std::string_view PascalKeyword(int code) {
  if (code < 1 || code > PasKeywordCount) return {};
  return kKeywords[static_cast<size_t>(code) - 1];
}

bool IsPascalWordChar(char c) {
  return c == '!' || c == '$' || c == '.' || (c >= '0' && c <= '9') || c == '@' ||
         (c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z');
}

}  // namespace quorrel
