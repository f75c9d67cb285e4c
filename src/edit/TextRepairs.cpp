#include "edit/TextRepairs.h"

#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// Replaces the UTF-8 sequences found in a table; everything else is copied.
struct TUtf8Swap {
  const char* from;
  const char* to;
};

template <size_t N>
std::string SwapUtf8(const std::string& text, const TUtf8Swap (&table)[N]) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    bool swapped = false;
    for (const TUtf8Swap& swap : table) {
      const std::string_view from(swap.from);
      if (text.compare(i, from.size(), from) == 0) {
        out += swap.to;
        i += from.size();
        swapped = true;
        break;
      }
    }
    if (swapped) continue;
    // A character outside the table is copied whole, so that nothing matches
    // inside it.
    size_t n = Utf8SequenceAt(text, i);
    if (n == 0) n = 1;
    out.append(text, i, n);
    i += n;
  }
  return out;
}

// What stands at text[at]: a pseudo-blank of `length` bytes (kind 'P' for C2 A0,
// 'A' for A0, 'C' for C2), or another character of `length` bytes (kind 0).
struct TCharAt {
  char kind = 0;
  size_t length = 1;
};

TCharAt CharAt(const std::string& text, size_t at) {
  const unsigned char byte = static_cast<unsigned char>(text[at]);
  const size_t n = Utf8SequenceAt(text, at);
  if (n == 2 && byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) == 0xA0) return {'P', 2};
  if (n > 0) return {0, n};
  if (byte == 0xA0) return {'A', 1};
  if (byte == 0xC2) return {'C', 1};
  return {0, 1};
}

}  // namespace

size_t Utf8SequenceAt(const std::string& text, size_t at) {
  if (at >= text.size()) return 0;
  const unsigned char lead = static_cast<unsigned char>(text[at]);
  size_t n = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    n = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4;
  } else {
    return 0;
  }
  if (at + n > text.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if (!IsContinuation(static_cast<unsigned char>(text[at + k]))) return 0;
  }
  const unsigned char second = static_cast<unsigned char>(text[at + 1]);
  // Overlong forms, surrogates and code points beyond U+10FFFF are no characters.
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
    return 0;
  }
  return n;
}

std::string Utf8PunctuationToAscii(const std::string& text) {
  static const TUtf8Swap kSwaps[] = {
      {"\xE2\x80\x98", "'"}, {"\xE2\x80\x99", "'"}, {"\xE2\x80\x9C", "'"}, {"\xE2\x80\x9D", "'"},
      {"\xE2\x80\x93", "-"}, {"\xE2\x80\x94", "-"}, {"\xE2\x80\xA6", ":"}, {"\xC2\xA0", " "},
  };
  std::string swapped = SwapUtf8(text, kSwaps);
  // The remaining C2 bytes lead characters U+0080 to U+00BF, which are the very
  // next byte in Windows-1252; an A0 standing alone is a no-break blank.
  std::string out;
  out.reserve(swapped.size());
  for (size_t i = 0; i < swapped.size();) {
    const unsigned char byte = static_cast<unsigned char>(swapped[i]);
    const size_t n = Utf8SequenceAt(swapped, i);
    if (byte == 0xC2) {
      ++i;
    } else if (n > 0) {
      out.append(swapped, i, n);
      i += n;
    } else {
      out += byte == 0xA0 ? ' ' : swapped[i];
      ++i;
    }
  }
  out = ReplaceAll(out, "\r\n\r\n\r\n\r\n", "\r\n\r\n", true);
  return ReplaceAll(out, "\r\n\r\n\r\n", "\r\n\r\n", true);
}

std::string HtmlUtf8Punctuation(const std::string& text) {
  static const TUtf8Swap kSwaps[] = {
      {"\xE2\x80\x90", "-"},       {"\xE2\x80\x93", "&ndash;"}, {"\xE2\x80\x94", "&mdash;"},
      {"\xE2\x80\x99", "&rsquo;"}, {"\xE2\x80\xB2", "'"},       {"\xE2\x80\xB3", "\""},
  };
  return SwapUtf8(text, kSwaps);
}

size_t FirstPseudoBlank(const std::string& text) {
  // Most texts hold neither byte: one quick look spares the walk through characters.
  if (text.find('\xA0') == std::string::npos && text.find('\xC2') == std::string::npos) return 0;
  size_t firstC2 = 0;
  for (size_t i = 0; i < text.size();) {
    const TCharAt c = CharAt(text, i);
    if (c.kind == 'A') return i + 1;
    if (c.kind == 'P') return i + 2;  // its A0
    if (c.kind == 'C' && firstC2 == 0) firstC2 = i + 1;
    i += c.length;
  }
  return firstC2;
}

std::string ReplacePseudoBlanks(const std::string& text, const std::string& blank, bool dropC2) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const TCharAt c = CharAt(text, i);
    if (c.kind == 'P' || c.kind == 'A' || (c.kind == 'C' && !dropC2)) {
      out += blank;
    } else if (c.kind == 0) {
      out.append(text, i, c.length);
    }
    i += c.length;
  }
  return out;
}

std::string PlainPunctuation(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t n = Utf8SequenceAt(text, i);
    if (n > 0) {
      out.append(text, i, n);
      i += n;
      continue;
    }
    switch (static_cast<unsigned char>(text[i])) {
      case 0x85:
        out += ':';
        break;
      case 0x87:
      case 0x96:
      case 0x97:
        out += '-';
        break;
      case 0x93:
      case 0x94:
        out += '"';
        break;
      default:
        out += text[i];
    }
    ++i;
  }
  return out;
}

bool FixPseudoBlanks(std::string& text) {
  const size_t n = FirstPseudoBlank(text);
  if (n == 0) return false;
  if (CurrentExt == ".PAS" || CurrentExt == ".LOG" || IsCSharp || IsJs || IsOfficeHtml)
    return false;
  if (text.starts_with("<?xml") || CurrentText.starts_with("From:   ")) return false;
  std::string fixed = text;
  if (IsRtf) {
    fixed = ReplacePseudoBlanks(fixed, " ", true);
  } else if (InBarList(CurrentExt, "|.SQL|.INI|.CSV|.MP3|") == 0) {
    if (NotInSite ||
        AskYesNo("Replace \"\xC2\" (hex C2), or hex A0 pseudo-blanks by real blanks,\rstarting at "
                 "offset " +
                 std::to_string(n) + "?")) {
      fixed = ReplacePseudoBlanks(fixed, " ", false);
    } else if (AskYesNo("Replace by &nbsp; ?")) {
      fixed = ReplacePseudoBlanks(fixed, "&nbsp;", false);
    }
  }
  fixed = PlainPunctuation(fixed);
  if (fixed == text) return false;
  text = std::move(fixed);
  return true;
}

}  // namespace quorrel
