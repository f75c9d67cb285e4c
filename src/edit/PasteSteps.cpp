#include "edit/PasteSteps.h"

#include <cstring>
#include <vector>

#include "shell/BreakLongUrl.h"
#include "shell/FastStrings.h"
#include "shell/TextLines.h"

namespace quorrel {

namespace {

constexpr const char* kDomainEndings[] = {".co", ".org", ".info", ".net", ".edu", ".gov",
                                          ".uk", ".us",  ".ca",   ".au",  ".fr",  ".de"};
// The social network whose page addresses are pasted without "http" or "www.".
constexpr char kSocialHost[] = "facebook.com";
// ".co" or ".org" this early in a text marks it as an address.
constexpr size_t kDomainWithin = 40;

bool StartsWithNoCase(const std::string& text, const char* start) {
  const size_t n = std::strlen(start);
  return text.size() >= n && PosNoCase(start, std::string_view(text).substr(0, n)) == 1;
}

bool IsSentenceEnd(char c) {
  return c == '.' || c == '!' || c == '?';
}

std::string WithoutLineEnd(const std::string& line) {
  size_t n = line.size();
  while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) --n;
  return line.substr(0, n);
}

}  // namespace

std::string DecodeQuotedPrintable(const std::string& text) {
  std::string out = ReplaceAll(text, "=3D", "=", true);
  out = ReplaceAll(out, "=2E", ".", true);
  out = ReplaceAll(out, "=20\r\n", " ", true);
  return ReplaceAll(out, "=\r\n", "", true);
}

bool LooksLikeDomain(const std::string& text) {
  for (const char* ending : kDomainEndings) {
    if (PosNoCase(ending, text) != 0) return true;
  }
  return false;
}

bool LooksLikeWebAddress(const std::string& text) {
  if (text.empty() || text[0] == '<' || text.find('@') != std::string::npos) return false;
  if (text.find_first_of("\r\n") != std::string::npos) return false;
  if (StartsWithNoCase(text, "http") || StartsWithNoCase(text, "www.")) return true;
  if (PosNoCase(kSocialHost, text) != 0) return true;
  const std::string_view early = std::string_view(text).substr(0, kDomainWithin - 1);
  return PosNoCase(".co", early) != 0 || PosNoCase(".org", early) != 0;
}

std::string LinkAddress(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 16);
  if (text.find("//") == std::string::npos) out = "http://";
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '&':
        out += text.compare(i, 5, "&amp;") == 0 ? "&" : "&amp;";
        break;
      case '"':
        out += "%22";
        break;
      case '<':
        out += "%3C";
        break;
      case '>':
        out += "%3E";
        break;
      case ' ':
        out += "%20";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string DefaultLinkText(const std::string& address) {
  std::string text = address;
  for (const char* start : {"http://", "https://"}) {
    if (StartsWithNoCase(text, start)) {
      text.erase(0, std::strlen(start));
      break;
    }
  }
  if (StartsWithNoCase(text, "www.")) text.erase(0, 4);
  if (!text.empty() && text.back() == '/') text.pop_back();
  return text;
}

std::string WebLink(const std::string& address, const std::string& linkText, bool newWindow) {
  return "<A Href=\"" + address + "\"" + (newWindow ? " Target=_blank" : "") + ">" +
         BreakLongUrl(linkText) + "</A>";
}

std::string MailtoLink(const std::string& address) {
  std::string href = LinkAddress(address);
  // No "http://" for a mail address: the link names its own scheme.
  if (href.compare(0, 7, "http://") == 0 && address.find("//") == std::string::npos) {
    href.erase(0, 7);
  }
  return "<A Href=\"mailto:" + href + "\">" + BreakLongUrl(address) + "</A>";
}

std::string ReformatPastedText(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    char c = text[i];
    if (c == '\xA0') c = ' ';
    out += c;
    if (c == '\n') {
      out += "<P>";
    } else if (IsSentenceEnd(c) && i + 1 < n && (text[i + 1] == ' ' || text[i + 1] == '\xA0')) {
      const bool abbreviation =
          (i >= 2 && (text.compare(i - 2, 2, "St") == 0 || text.compare(i - 2, 2, "No") == 0)) ||
          (i >= 3 && text.compare(i - 3, 3, "etc") == 0);
      if (!abbreviation) out += "&nbsp;";
    }
  }
  return out;
}

std::string ConvertListToUl(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 64);
  bool opened = false;
  bool closed = false;
  for (const std::string& line : LinesWithEnds(text)) {
    const std::string body = WithoutLineEnd(line);
    const std::string end = line.substr(body.size());
    // A reformatted paste puts "<P>" before each line.
    const size_t lead = body.compare(0, 3, "<P>") == 0 ? 3 : 0;
    if (!closed && body.compare(lead, 2, "\"\t") == 0) {
      out += opened ? "" : "<UL>";
      opened = true;
      out += "<LI>" + body.substr(lead + 2) + "</LI>" + end;
    } else if (opened && !closed && body.substr(lead).empty()) {
      out += body.substr(0, lead) + "</UL>" + end;
      closed = true;
    } else {
      out += line;
    }
  }
  return out;
}

std::string TidyScriptCopy(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  bool inCharacters = false;
  for (const std::string& line : LinesWithEnds(text)) {
    const std::string body = WithoutLineEnd(line);
    if (body.compare(0, 10, "SYNOPSIS:\t") == 0) continue;
    if (inCharacters) {
      if (body.find_first_not_of(" \t") == std::string::npos) {
        inCharacters = false;
        out += line;
      } else {
        out += ReplaceAll(ReplaceAll(line, " | ", " ", true), "|", " ", true);
      }
      continue;
    }
    if (body.compare(0, 10, "Characters") == 0) inCharacters = true;
    out += line;
  }
  return out;
}

}  // namespace quorrel
