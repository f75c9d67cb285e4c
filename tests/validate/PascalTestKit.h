#pragma once
// Runs the Pascal formatter on a text as the dispatcher hands it over, and reads
// real units from Debian's Free Pascal sources. The fuzz target uses it too.
#include <cctype>
#include <fstream>
#include <iterator>
#include <string>

#include "shell/FastStrings.h"
#include "validate/Validators.h"

namespace quorrel::test {

inline TValidation FormatPascal(const std::string& text) {
  TPage page;
  page.text = text;
  page.path = "/site/unit.pas";
  page.kind = TDocumentKind::Pascal;
  return ValidatePascal(page);
}

// The text a verdict leaves: the new one, or the page as it was.
inline std::string TextAfter(const TValidation& verdict, const std::string& text) {
  return verdict.text ? *verdict.text : text;
}

// The text without blanks and line ends, in upper case: all that re-formatting
// may not change.
inline std::string PascalKept(const std::string& text) {
  std::string kept;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    kept += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return kept;
}

inline constexpr char kFpcSource[] = "/usr/share/fpcsrc/3.2.2/";

// A file of the Free Pascal sources with CR LF line ends, as the editor's text has them.
inline std::string FpcSource(const std::string& path) {
  std::ifstream in(kFpcSource + path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ReplaceAll(ReplaceAll(text, "\r\n", "\n", true), "\n", "\r\n", true);
}

}  // namespace quorrel::test
