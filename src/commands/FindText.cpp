#include "commands/FindText.h"

#include "publish/PasswordCodec.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"

namespace quorrel {

std::string DecodeHexPairs(const std::string& digits) {
  if (digits.size() > 1 && digits.size() % 2 == 1) ShowErrorAndAbort("Odd number of hex digits.");
  return HexToBytes(digits);
}

std::string DocumentLineEnd(std::string_view text) {
  // The final line end itself does not count: the working copy adds it.
  std::string_view body = text;
  if (!body.empty() && body.back() == '\n') body.remove_suffix(1);
  return body.find("\r\n") == std::string_view::npos ? "\n" : "\r\n";
}

std::string ResolveMarks(std::string text, const std::string& lineEnd, bool tabs) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == LineEndMark) {
      out += lineEnd;
    } else if (c == TabMark && tabs) {
      out += '\t';
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace quorrel
