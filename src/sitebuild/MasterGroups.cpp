#include "sitebuild/MasterGroups.h"

#include <array>
#include <cctype>

#include "platform/Chars.h"
#include "platform/CodePage.h"

namespace quorrel {

namespace {

// Paragraph layout has no place on a page; centring ("qc") is not here, so that
// the reader refuses it.
constexpr std::array<std::string_view, 18> kLayoutWords = {
    "pard", "li",  "ri",    "fi",   "sb",    "sa",      "sl", "slmult", "tx",
    "tqr",  "tqc", "tqdec", "keep", "keepn", "hyphpar", "ql", "qr",     "qj"};

// Words a link's text keeps: characters, not formatting; the page gives a link its look.
constexpr std::array<std::string_view, 10> kCharacterWords = {
    "tab", "line", "bullet", "endash", "emdash", "lquote", "rquote", "ldblquote", "rdblquote", "u"};

// A control word at `at` ("\" and lower-case letters, then perhaps a number): its
// name, and in end the position after it and its delimiting blank.
std::string_view WordAt(std::string_view s, size_t at, size_t& end) {
  if (at + 1 >= s.size() || s[at] != '\\' || !IsLowerLetter(s[at + 1])) return {};
  size_t k = at + 1;
  while (k < s.size() && IsLowerLetter(s[k])) ++k;
  const std::string_view name = s.substr(at + 1, k - at - 1);
  if (k < s.size() && s[k] == '-') ++k;
  while (k < s.size() && IsDigit(s[k])) ++k;
  if (k < s.size() && s[k] == ' ') ++k;
  end = k;
  return name;
}

template <size_t N>
bool OneOf(std::string_view word, const std::array<std::string_view, N>& words) {
  for (std::string_view w : words) {
    if (w == word) return true;
  }
  return false;
}

// The position after the group that opens at `open`, npos when it never closes.
size_t GroupEnd(std::string_view s, size_t open) {
  int depth = 0;
  for (size_t k = open; k < s.size(); ++k) {
    if (s[k] == '\\') {
      ++k;  // an escaped character or the first letter of a word
    } else if (s[k] == '{') {
      ++depth;
    } else if (s[k] == '}' && --depth == 0) {
      return k + 1;
    }
  }
  return std::string_view::npos;
}

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// The text of a group's source without its words and braces; escapes as characters.
std::string PlainText(std::string_view s) {
  std::string text;
  for (size_t k = 0; k < s.size();) {
    size_t end = 0;
    if (!WordAt(s, k, end).empty()) {
      k = end;
    } else if (s[k] == '\\' && k + 3 < s.size() && s[k + 1] == '\'' && HexValue(s[k + 2]) >= 0 &&
               HexValue(s[k + 3]) >= 0) {
      text += static_cast<char>(HexValue(s[k + 2]) * 16 + HexValue(s[k + 3]));
      k += 4;
    } else if (s[k] == '\\' && k + 1 < s.size()) {
      text += s[k + 1];
      k += 2;
    } else {
      if (s[k] != '{' && s[k] != '}' && s[k] != '\r' && s[k] != '\n') text += s[k];
      ++k;
    }
  }
  return text;
}

// The inside of the sub-group of `group` that starts with head ("{\fldrslt"), "" without one.
std::string_view SubGroup(std::string_view group, std::string_view head) {
  const size_t open = group.find(head);
  if (open == std::string_view::npos) return {};
  const size_t end = GroupEnd(group, open);
  if (end == std::string_view::npos) return {};
  size_t start = open + head.size();
  if (start < end && group[start] == ' ') ++start;
  return group.substr(start, end - 1 - start);
}

// A link's address in an HTML attribute; a backslash would start a control word.
std::string Href(const std::string& target) {
  std::string href;
  for (const char ch : target) {
    if (ch == '&') {
      href += "&amp;";
    } else if (ch == '"') {
      href += "%22";
    } else if (ch == '\\') {
      href += "%5C";
    } else {
      href += ch;
    }
  }
  return href;
}

// The target of a HYPERLINK instruction: its quoted (or first) argument, "#" and
// the name after the "\l" switch; "" when the instruction is no link.
std::string LinkTarget(const std::string& instruction) {
  size_t k = instruction.find_first_not_of(' ');
  if (k == std::string::npos || !StartsWithNoCase(instruction.substr(k), "HYPERLINK")) return "";
  k += 9;
  bool anchor = false;
  for (;;) {
    k = instruction.find_first_not_of(' ', k);
    if (k == std::string::npos) return "";
    if (instruction.compare(k, 2, "\\l") == 0) {
      anchor = true;
      k += 2;
      continue;
    }
    if (instruction[k] == '\\') {  // another switch and its argument
      k = instruction.find(' ', k);
      if (k == std::string::npos) return "";
      continue;
    }
    break;
  }
  std::string target;
  if (instruction[k] == '"') {
    const size_t close = instruction.find('"', k + 1);
    target = instruction.substr(k + 1, close == std::string::npos ? close : close - k - 1);
  } else {
    target = instruction.substr(k, instruction.find(' ', k) - k);
  }
  if (target.empty()) return "";
  return anchor ? "#" + target : target;
}

// A link's text: its characters, without the word processor's link style.
std::string LinkText(std::string_view result) {
  std::string text;
  for (size_t k = 0; k < result.size();) {
    size_t end = 0;
    const std::string_view word = WordAt(result, k, end);
    if (!word.empty()) {
      if (OneOf(word, kCharacterWords)) text.append(result.substr(k, end - k));
      k = end;
    } else if (result[k] == '{' || result[k] == '}') {
      ++k;
    } else if (result[k] == '\\' && k + 1 < result.size()) {
      text.append(result.substr(k, 2));
      k += 2;
    } else {
      text += result[k++];
    }
  }
  return text;
}

std::string FieldText(std::string_view group) {
  const std::string instruction = PlainText(SubGroup(group, "{\\*\\fldinst"));
  const std::string_view result = SubGroup(group, "{\\fldrslt");
  const std::string target = LinkTarget(instruction);
  if (target.empty()) return "\\field " + std::string(result);
  return "<a href=\"" + Href(target) + "\">" + LinkText(result) + "</a>";
}

// A list item's mark: the bullet the reader knows, or a number's text.
std::string ListMark(std::string_view group) {
  const std::string text = PlainText(group.substr(1, group.size() - 2));
  if (text.find('\xB7') != std::string::npos || group.find("\\bullet") != std::string_view::npos) {
    return "\\bullet ";
  }
  const std::string_view mark = TrimBlanks(text);
  return mark.empty() ? "" : std::string(mark) + " ";
}

}  // namespace

size_t LayoutEnd(std::string_view line, size_t at) {
  for (;;) {
    size_t end = 0;
    if (OneOf(WordAt(line, at, end), kLayoutWords)) {
      at = end;
    } else if (line.compare(at, 3, "{\\*") == 0 && GroupEnd(line, at) != std::string_view::npos) {
      at = GroupEnd(line, at);
    } else {
      return at;
    }
  }
}

std::string ReadMasterGroups(const std::string& source) {
  const std::string_view s = source;
  std::string out;
  out.reserve(source.size());
  bool lineStart = true;
  for (size_t k = 0; k < s.size();) {
    if (lineStart) {
      lineStart = false;
      k = LayoutEnd(s, k);
      if (s.compare(k, 8, "{\\pntext") == 0) {
        const size_t end = GroupEnd(s, k);
        if (end != std::string_view::npos) {
          out += ListMark(s.substr(k, end - k));
          k = LayoutEnd(s, end);
        }
      }
      continue;
    }
    if (s.compare(k, 7, "{\\field") == 0) {
      const size_t end = GroupEnd(s, k);
      if (end != std::string_view::npos) {
        out += FieldText(s.substr(k, end - k));
        k = end;
        continue;
      }
    }
    if (s[k] == '\\' && k + 1 < s.size()) {
      out.append(s.substr(k, 2));  // an escaped brace is text, not a group
      k += 2;
      continue;
    }
    if (s.compare(k, 2, "\r\n") == 0) {
      out += "\r\n";
      k += 2;
      lineStart = true;
      continue;
    }
    out += s[k++];
  }
  return out;
}

}  // namespace quorrel
