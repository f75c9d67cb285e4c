#include "validate/HtmlCharset.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "edit/TextRepairs.h"
#include "shell/FastStrings.h"

namespace quorrel {

namespace {

size_t Find(std::string_view text, std::string_view pattern, size_t from = 0) {
  const size_t at = PosNoCase(pattern, text, from + 1);
  return at == 0 ? std::string_view::npos : at - 1;
}

// Whether a declared name (after "charset=" or "encoding=") is UTF-8.
bool NamesUtf8(std::string_view text, size_t at) {
  while (at < text.size() && (text[at] == '"' || text[at] == '\'' || text[at] == ' ')) ++at;
  for (std::string_view name : {std::string_view("utf-8"), std::string_view("utf8")}) {
    if (text.size() - at < name.size() || PosNoCase(name, text.substr(at, name.size())) != 1) {
      continue;
    }
    const size_t after = at + name.size();
    return after == text.size() || !std::isalnum(static_cast<unsigned char>(text[after]));
  }
  return false;
}

}  // namespace

bool DeclaresUtf8(const std::string& text) {
  // Only the head declares: a page about character sets may name them in its text.
  const std::string_view head =
      std::string_view(text).substr(0, std::min(Find(text, "</head"), Find(text, "<body")));
  // A browser reads an HTML page by the charset of its meta tag, and only without
  // one by the XML declaration.
  for (size_t at = Find(head, "charset="); at != std::string_view::npos;
       at = Find(head, "charset=", at + 8)) {
    const size_t tag = head.rfind('<', at);
    if (tag == std::string_view::npos || head.find('>', tag) < at ||
        PosNoCase("<meta", head.substr(tag, 5)) != 1) {
      continue;
    }
    return NamesUtf8(head, at + 8);
  }
  const size_t first = head.find_first_not_of(" \n\r\t");
  if (first != std::string_view::npos && head.compare(first, 5, "<?xml") == 0) {
    const size_t end = head.find("?>", first);
    const size_t encoding = Find(head.substr(0, end), "encoding=", first);
    if (encoding != std::string_view::npos) return NamesUtf8(head, encoding + 9);
  }
  return false;
}

size_t Utf8CharAt(const std::string& text, size_t at, bool utf8) {
  if (!utf8 || at >= text.size() || static_cast<unsigned char>(text[at]) < 0xC2) return 0;
  return Utf8SequenceAt(text, at);
}

}  // namespace quorrel
