#include "edit/PasteRtf.h"

#include <algorithm>

#include "platform/Chars.h"
#include "platform/RtfTokens.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"

namespace quorrel {

namespace {

// The page builder reads none of these layout words; with their numbers they go.
constexpr const char* kDotPageLayoutWords[] = {"pard", "fi", "li", "slmult", "sl",        "tx",
                                               "sb",   "sa", "fs", "lang",   "highlight", "cf"};
constexpr size_t kUnicodeCodeMax = 10;
constexpr unsigned char kEllipsis = 133;
constexpr unsigned char kMiddleDot = 183;

bool EndsWith(const std::string& text, std::string_view end) {
  return text.size() >= end.size() &&
         std::string_view(text).substr(text.size() - end.size()) == end;
}

bool IsLayoutWord(std::string_view name) {
  for (const char* word : kDotPageLayoutWords) {
    if (name == word) return true;
  }
  return false;
}

// The length of "{\pntext\fN\'B7\tab}", the mark before a bulleted paragraph, at
// text[at]: the font's number and the hex digits' case as any writer gives them.
// 0 when there is none.
size_t BulletMarkLength(const std::string& text, size_t at) {
  static const std::string kStart = "{\\pntext";
  static const std::string kEnd = "\\'b7\\tab}";
  if (text.size() - at < kStart.size() ||
      PosNoCase(kStart, std::string_view(text).substr(at, kStart.size())) != 1) {
    return 0;
  }
  size_t i = at + kStart.size();
  if (text.compare(i, 2, "\\f") == 0 && i + 2 < text.size() && IsDigit(text[i + 2])) {
    i += 2;
    while (i < text.size() && IsDigit(text[i])) ++i;
  }
  if (PosNoCase(kEnd, std::string_view(text).substr(i, kEnd.size())) != 1) return 0;
  return i + kEnd.size() - at;
}

// The end of the group that opens at text[at] ("{"): after its "}", or the text's
// end when it is never closed.
size_t GroupEnd(const std::string& text, size_t at) {
  int depth = 0;
  for (size_t i = at; i < text.size(); ++i) {
    if (text[i] == '\\') {
      ++i;  // an escaped brace or backslash is text
    } else if (text[i] == '{') {
      ++depth;
    } else if (text[i] == '}' && --depth == 0) {
      return i + 1;
    }
  }
  return text.size();
}

}  // namespace

std::string TidyPastedRtf(const std::string& source) {
  std::string rtf = ReplaceAll(source, "\\'e2\\'80\\'99", "'", false);
  rtf = ReplaceAll(rtf, "\\'c3\\'a9", "\xE9", false);
  rtf = ReplaceAll(rtf, "\\'e9", "\xE9", false);
  rtf = ReplaceAll(rtf, "\\'c2\\~", " ", false);
  rtf = ReplaceAll(rtf, "\\'e2\\'80\\'9c", "\"", false);
  rtf = ReplaceAll(rtf, "\\'e2\\'80\\'9d", "\"", false);
  rtf.erase(0, PosNoCaseOrAbort("\\pard", rtf) - 1);
  if (EndsWith(rtf, "\\par }\r\n")) rtf.replace(rtf.size() - 8, 8, "}\r\n");
  return rtf;
}

std::string UnicodeCodeIn(const std::string& rtf) {
  for (size_t i = 0; i + 2 < rtf.size(); ++i) {
    if (rtf[i] != '\\') continue;
    if (rtf[i + 1] != 'u') {
      if (rtf[i + 1] == '\\') ++i;  // an escaped backslash starts no control word
      continue;
    }
    const bool number =
        IsDigit(rtf[i + 2]) || (rtf[i + 2] == '-' && i + 3 < rtf.size() && IsDigit(rtf[i + 3]));
    if (!number) continue;
    const size_t from = i + 2;
    const size_t mark = rtf.find('?', from);
    const size_t length = mark == std::string::npos ? rtf.size() - from : mark - from;
    return rtf.substr(from, std::min(length, kUnicodeCodeMax));
  }
  return {};
}

std::string UnicodeMessage(const std::string& code) {
  return "Unicode character pasted: " + code +
         "\rPlease contact Varek Dask if you get this message.";
}

std::string RtfToHtml(const std::string& rtf) {
  std::string text = rtf;
  std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
  std::string out;
  out.reserve(text.size());
  // Where the output stood after the last paragraph mark's "<Br>": a mark with
  // nothing written since makes it a "<P>".
  size_t afterBreak = std::string::npos;
  int depth = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '}') {
      if (depth == 0) break;  // the end of the text
      --depth;
      ++i;
    } else if (c == '{') {
      // A group that old readers may skip holds nothing to show.
      if (const size_t mark = BulletMarkLength(text, i)) {
        out += " &bull; ";
        i += mark;
      } else if (text.compare(i + 1, 2, "\\*") == 0) {
        i = GroupEnd(text, i);
      } else {
        ++depth;
        ++i;
      }
    } else if (c != '\\') {
      out += c;
      ++i;
    } else if (i + 1 >= text.size()) {
      break;  // a lone backslash at the end
    } else if (text[i + 1] == '\'') {
      const int high = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
      const int low = high >= 0 && i + 3 < text.size() ? HexValue(text[i + 3]) : -1;
      if (high < 0 || low < 0) {
        // A cut byte code: whatever digit there is goes with it.
        i += high >= 0 ? 3 : 2;
        continue;
      }
      const int code = high * 16 + low;
      if (code == kEllipsis) {
        out += "&hellip;";
      } else if (code != kMiddleDot) {
        out += "&#" + std::to_string(code) + ";";
      }
      i += 4;
    } else if (IsLetter(text[i + 1])) {
      const TRtfWordSpan word = RtfWordAt(text, i);
      i = word.end < text.size() && text[word.end] == ' ' ? word.end + 1 : word.end;
      const std::string w = std::string(word.name) + std::string(word.number);
      if (w == "b") {
        out += "<b>";
      } else if (w == "i") {
        out += "<i>";
      } else if (w == "b0" || w == "bnone") {
        out += "</b>";
      } else if (w == "i0" || w == "inone") {
        out += "</i>";
      } else if (w == "par") {
        if (afterBreak == out.size()) {
          out.replace(out.size() - 4, 4, "<P>");
          afterBreak = std::string::npos;
        } else {
          out += "\r<Br>";
          afterBreak = out.size();
        }
      } else if (w == "line") {
        out += "\r<Br>";  // a line break inside the paragraph
      } else if (w == "tab") {
        out += ' ';  // so that the words either side stay apart
      }
    } else {
      const char symbol = text[i + 1];
      if (symbol == '\\' || symbol == '{' || symbol == '}') out += symbol;
      if (symbol == '~') out += "&nbsp;";
      if (symbol == '_') out += '-';
      i += 2;
    }
  }
  return out;
}

std::string WithoutLeadingPard(const std::string& rtf) {
  if (rtf.compare(0, 5, "\\pard") != 0) return rtf;
  size_t i = 0;
  while (i + 1 < rtf.size() && rtf[i] == '\\' && IsLetter(rtf[i + 1])) {
    const TRtfWordSpan word = RtfWordAt(rtf, i);
    // Bold, italic and underline at the very start are the pasted text's own.
    if (i > 0 && (word.name == "b" || word.name == "i" || word.name.compare(0, 2, "ul") == 0)) {
      break;
    }
    i = word.end < rtf.size() && rtf[word.end] == ' ' ? word.end + 1 : word.end;
  }
  return rtf.substr(i);
}

std::string DotPageBody(const std::string& body) {
  std::string text = ReplaceAll(body, "\\rquote ", "'", true);
  text = ReplaceAll(text, "\\lquote ", "'", true);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == '}')) {
    text.pop_back();
  }
  std::string out;
  out.reserve(text.size());
  // Whether the output ends with a control word that a blank must still close.
  bool wordOpen = false;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '\\' || i + 1 >= text.size()) {
      out += text[i++];
      wordOpen = false;
      continue;
    }
    if (!IsLetter(text[i + 1])) {
      out.append(text, i, 2);  // a control symbol, an escaped "\" among them
      i += 2;
      wordOpen = false;
      continue;
    }
    const TRtfWordSpan word = RtfWordAt(text, i);
    const char after = word.end < text.size() ? text[word.end] : ' ';
    const bool ends = after == ' ' || after == '\r' || after == '\n' || after == '\\';
    if (!word.number.empty() && ends && IsLayoutWord(word.name)) {
      // Its closing blank goes with it, unless the word before needs it.
      const bool dropBlank = after == ' ' && word.end < text.size() && !wordOpen;
      i = dropBlank ? word.end + 1 : word.end;
    } else {
      out.append(text, i, word.end - i);
      i = word.end;
      wordOpen = true;
    }
  }
  if (EndsWith(out, "\\f1 ")) out.resize(out.size() - 4);
  return out;
}

std::string DotPageRtf(const std::string& pageRtf, const std::string& body) {
  // The page's header runs to the first blank after "\viewkind": the text goes
  // there, in place of the page's own.
  const size_t viewkind = pageRtf.find("\\viewkind");
  const size_t headerEnd =
      viewkind == std::string::npos ? std::string::npos : pageRtf.find(' ', viewkind);
  if (!EndsWith(pageRtf, " }\r\n") || headerEnd == std::string::npos) {
    ShowErrorAndAbort("End of RTF not as expected:\r" + pageRtf);
  }
  std::string rtf = pageRtf.substr(0, headerEnd + 1) + body + "\r\n\\par }\r\n";
  // The page builder knows no fallback count for Unicode characters.
  for (size_t at = rtf.find("\\uc"); at != std::string::npos; at = rtf.find("\\uc", at)) {
    size_t end = at + 3;
    while (end < rtf.size() && IsDigit(rtf[end])) ++end;
    if (end < rtf.size() && IsLetter(rtf[end])) {
      at = end;  // another word that begins "\uc"
      continue;
    }
    rtf.erase(at, end - at);
  }
  return rtf;
}

bool HoldsFormatting(const std::string& rtf) {
  for (const char* mark : {"\\b", "\\i", "\\u", "\\pntext", "\\'b7"}) {
    if (PosNoCase(mark, rtf) != 0) return true;
  }
  return false;
}

}  // namespace quorrel
