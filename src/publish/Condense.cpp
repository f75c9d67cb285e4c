#include "publish/Condense.h"

#include "platform/Paths.h"
#include "shell/Backups.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/Hooks.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/TextFiles.h"

namespace quorrel {

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool SameDigit(char a, char b) {
  return UpperCaseTable[static_cast<unsigned char>(a)] ==
         UpperCaseTable[static_cast<unsigned char>(b)];
}

// Where a line break may go without a trace: beside a tag, or in a style sheet
// beside the punctuation of a rule.
bool BreakVanishes(char before, char after, bool styleSheet) {
  if (before == '>' || after == '<') return true;
  if (!styleSheet) return false;
  constexpr std::string_view kRulePunctuation = "{};:,";
  return kRulePunctuation.find(before) != std::string_view::npos ||
         kRulePunctuation.find(after) != std::string_view::npos;
}

// A "<pre>" element, with or without attributes: its line breaks are its text.
bool HasPreformattedText(const std::string& text) {
  for (size_t at = PosNoCase("<pre", text); at != 0; at = PosNoCase("<pre", text, at + 4)) {
    const size_t next = at - 1 + 4;
    if (next < text.size() && (text[next] == '>' || IsSpace(text[next]))) return true;
  }
  return false;
}

// Writes the file an upload sends in place of the original; the upload stops when
// it cannot be written.
void WriteWorkFile(const std::string& path, const std::string& bytes) {
  if (ReplaceFile(path, bytes, false) != TReplaceResult::Replaced) {
    ShowErrorAndAbort("Unable to create file " + path);
  }
}

}  // namespace

std::string CondenseStretch(std::string_view text, bool styleSheet) {
  // Quote marks at the ends stay: they are the page's own text.
  size_t first = 0;
  size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) < '!') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) < '!') --last;

  std::string out;
  out.reserve(last - first);
  size_t i = first;
  while (i < last) {
    if (!IsSpace(text[i])) {
      out += text[i++];
      continue;
    }
    size_t end = i;
    bool lineBreak = false;
    while (end < last && IsSpace(text[end])) {
      if (text[end] == '\n' || text[end] == '\r') lineBreak = true;
      ++end;
    }
    if (lineBreak) {
      // The ends are trimmed, so there is a character on either side.
      if (!BreakVanishes(out.back(), text[end], styleSheet)) out += ' ';
    } else {
      // Blanks within a line: one where there were several; tabs are text.
      for (size_t k = i; k < end; ++k) {
        if (text[k] != ' ' || out.back() != ' ') out += text[k];
      }
    }
    i = end;
  }
  return out;
}

std::string CondensePage(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  size_t at = 0;
  while (true) {
    // The next script element with content of its own; "<script src=...></script>"
    // stays in the outside stretch.
    size_t script = std::string::npos;
    for (size_t from = at; from < text.size();) {
      const size_t found = PosNoCase("<script", text, from + 1);
      if (found == 0) break;
      const size_t tagEnd = text.find('>', found - 1);
      if (tagEnd != std::string::npos && text.compare(tagEnd + 1, 2, "</") == 0) {
        from = tagEnd + 1;
        continue;
      }
      script = found - 1;
      break;
    }
    const size_t outsideEnd = script == std::string::npos ? text.size() : script;
    out += CondenseStretch(std::string_view(text).substr(at, outsideEnd - at));
    out += '\n';
    if (script == std::string::npos) break;
    const std::string_view rest = std::string_view(text).substr(script);
    const size_t close = PosNoCaseOrAbort("</script>", rest) - 1;
    // The element and the one character after it, byte for byte.
    const size_t end = std::min(rest.size(), close + 9 + 1);
    out.append(rest.substr(0, end));
    at = script + end;
  }
  return out;
}

std::string ShortenColours(std::string text) {
  for (size_t hash = text.find('#'); hash != std::string::npos; hash = text.find('#', hash + 1)) {
    if (hash + 7 >= text.size()) break;
    bool hex = true;
    for (size_t k = 1; k <= 6 && hex; ++k) hex = IsHex(text[hash + k]);
    const char after = text[hash + 7];
    if (!hex || (after != ' ' && after != ';' && after != '}')) continue;
    const char* d = text.data() + hash + 1;
    if (!SameDigit(d[0], d[1]) || !SameDigit(d[2], d[3]) || !SameDigit(d[4], d[5])) continue;
    const size_t owner = text.find_last_of("{};:", hash);
    if (owner == std::string::npos || text[owner] != ':') continue;
    text.erase(hash + 6, 1);
    text.erase(hash + 4, 1);
    text.erase(hash + 2, 1);
  }
  return text;
}

std::string CondenseStyleSheet(const std::string& text) {
  std::string sheet = CondenseStretch(text, true);
  sheet = ReplaceAll(sheet, " {", "{", true);
  sheet = ReplaceAll(sheet, ": ", ":", true);
  sheet = ReplaceAll(sheet, ", ", ",", true);
  sheet = ReplaceAll(sheet, ";}", "}", true);
  return ShortenColours(std::move(sheet));
}

namespace {

bool IsPageExt(const std::string& ext) {
  return ext == ".HTM" || ext == ".HTML";
}

// Whether files of that extension go up condensed at all just now.
bool CondensesExt(const std::string& ext) {
  return (IsPageExt(ext) || ext == ".CSS") && MainMenu().Checked("Condense") &&
         CurrentCommand != OnlineValidateAllCommand;
}

}  // namespace

bool CondensedOnUpload(const std::string& path) {
  const std::string ext = UpperCaseLatin1(ExtractFileExt(path));
  return CondensesExt(ext) && !(IsPageExt(ext) && HasPreformattedText(ReadTextFile(path)));
}

std::string CondenseForUpload(const std::string& path) {
  const std::string ext = UpperCaseLatin1(ExtractFileExt(path));
  const bool page = IsPageExt(ext);
  if (!CondensesExt(ext)) return path;
  const std::string text = ReplaceAll(ReadTextFile(path), "\r\n", "\n", true);
  if (page && HasPreformattedText(text)) return path;
  const std::string result = TempFolder() + "Temp" + ext;
  std::string condensed;
  if (page) {
    condensed = CondensePage(text);
  } else {
    condensed = CondenseStyleSheet(text);
    if (MainMenu().Checked("Debug")) {
      const std::string debugCopy = TempFolder() + "Temp.txt";
      WriteWorkFile(debugCopy, condensed);
      OpenThisHook(debugCopy);
    }
  }
  WriteWorkFile(result, condensed);
  return result;
}

std::string FixAspxText(const std::string& text, bool& changed) {
  changed = false;
  std::string out = text;
  for (size_t at = PosNoCase("src=\"", out); at != 0; at = PosNoCase("src=\"", out, at + 5)) {
    const size_t value = at - 1 + 5;
    const size_t tagEnd = out.find('>', value);
    const size_t slash = out.find('/', value);
    if (slash == std::string::npos || (tagEnd != std::string::npos && slash > tagEnd)) continue;
    // A value rooted already, or a full address, is right as it stands.
    const size_t quote = out.find('"', value);
    const std::string_view source =
        std::string_view(out).substr(value, quote == std::string::npos ? 0 : quote - value);
    if (source.starts_with("/") || source.find("://") != std::string_view::npos ||
        PosNoCase("data:", source) == 1) {
      continue;
    }
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(value), '/');
    changed = true;
  }
  return out;
}

std::string FixAspxSources(const std::string& path) {
  std::string bytes;
  if (!FileBytes(path, bytes)) return path;
  bool changed = false;
  const std::string fixed = FixAspxText(bytes, changed);
  if (!changed) return path;
  const std::string result = TempFolder() + "Temp.ASPX";
  WriteWorkFile(result, fixed);
  return result;
}

}  // namespace quorrel
