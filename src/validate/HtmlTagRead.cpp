// Reading one tag of the page: its name, its text up to ">" with quotes and
// server-script blocks honoured, and the classes the layout goes by.
#include "shell/FastStrings.h"
#include "validate/HtmlRun.h"
#include "validate/HtmlTagLists.h"

namespace quorrel {

namespace {

constexpr size_t kLongestName = 60;
constexpr size_t kLongestTag = 999;

// A no-break space ends a name too: it is written as a blank.
bool EndsName(char c) {
  return c == '>' || c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\xA0';
}

bool StartsAt(const std::string& text, size_t at, const std::string& part) {
  return !part.empty() && text.compare(at, part.size(), part) == 0;
}

// The characters before an input index, at most n.
std::string Before(const std::string& text, size_t at, size_t n) {
  const size_t from = at > n ? at - n : 0;
  return text.substr(from, at - from);
}

// The final "/" goes, with the blanks before it (and any further "/": one pass
// leaves the tag as the next finds it).
void DropFinalSlash(std::string& text) {
  while (!text.empty() && (text.back() == '/' || text.back() == ' ' || text.back() == '\n' ||
                           text.back() == '\t' || text.back() == '\r' || text.back() == '\xA0')) {
    text.pop_back();
  }
}

}  // namespace

bool ReadHtmlTag(THtmlRun& run) {
  const std::string& in = run.in;
  THtmlTag& tag = run.tag;
  tag = THtmlTag();
  tag.start = run.pos;
  run.inTag = true;
  const size_t first = run.pos + 1;
  tag.closing = first < in.size() && in[first] == '/';

  // The name: up to ">", a blank or a line end, at most 60 characters.
  size_t k = first;
  while (k < in.size() && !EndsName(in[k]) && k - first < kLongestName) ++k;
  std::string written = in.substr(first, k - first);
  const size_t angle = written.find('<', 1);
  if (angle != std::string::npos) {
    if (run.serverPage && StartsAt(in, first + angle, run.serverStart)) {
      written.erase(angle);
    } else {
      HtmlError(UpperCaseAnsi(written) + "\rTag contains \"<\"");
      return false;
    }
  }
  std::string name = UpperCaseAnsi(written);
  if (tag.closing) name.erase(0, 1);
  if (!name.empty() && name.back() == '/') name.pop_back();
  if (name == "PHP") {
    HtmlError("<php should be <?php");
    return false;
  }
  tag.name = name;

  // The text: up to ">" outside quotes; server blocks are taken whole.
  size_t i = first;
  char quote = 0;
  while (true) {
    if (i >= in.size()) {
      HtmlError("Unterminated tag: \r<" + in.substr(first));
      return false;
    }
    if (in[i] == run.serverStart[0] && StartsAt(in, i, run.serverStart)) {
      const size_t end = in.find(run.serverEnd, i + run.serverStart.size());
      if (end == std::string::npos) {
        HtmlError("Unterminated tag: \r<" + in.substr(first));
        return false;
      }
      tag.serverCode = true;
      i = end + run.serverEnd.size();
      continue;
    }
    const char c = in[i];
    const bool escaped = i > first && in[i - 1] == '\\';
    if (quote != 0) {
      if (c == '\n') {
        HtmlError("End of line within string in tag " + name + "\rafter\r" + Before(in, i, 60));
        return false;
      }
      if (c == quote && !escaped) quote = 0;
    } else if ((c == '"' || c == '\'') && !escaped) {
      quote = c;
    } else if (c == '>') {
      break;
    }
    ++i;
  }
  tag.text = in.substr(first, i - first);
  tag.end = i + 1;
  if (name.empty()) {
    HtmlError("</> is not a valid tag");
    return false;
  }
  const size_t readSize = tag.text.size();

  // "/" may stand before blanks too ("type=x/ >"): the next pass would find it so.
  const size_t last = tag.text.find_last_not_of(" \n\t\r\xA0");
  if (!tag.closing && !tag.serverCode && last != std::string::npos && tag.text[last] == '/') {
    tag.selfClosed = run.selfClosing;
    DropFinalSlash(tag.text);
  }
  const THtmlTagClass cls = ClassifyHtmlTag(name, run.indentAll, tag.selfClosed);
  tag.inlineTag = cls.inlineTag;
  tag.shortContent = cls.shortContent;
  tag.voidTag = cls.voidTag;

  // Too long as the page has it, or as it will be written (with its entities), which
  // is what the next pass reads.
  // (No character is written longer than eight ("&hellip;"): a short tag needs no
  // counting.)
  const bool slash = !tag.closing && ((run.xhtml && tag.voidTag) || tag.selfClosed);
  const size_t size = tag.serverCode || readSize * 8 + 2 <= kLongestTag
                          ? tag.text.size()
                          : WrittenTagSize(tag.text, slash, run.utf8);
  if ((readSize > kLongestTag || size > kLongestTag) && name != "META" &&
      name != "ASP:SQLDATASOURCE" && run.inSite) {
    const std::string read = in.substr(first, readSize);
    if (PosNoCase("HIDDEN", read) == 0) {
      HtmlError("Tag > 999 characters: \r<" + read.substr(0, 400) + "\r==== [Middle chunk] ====\r" +
                read.substr(read.size() > 200 ? read.size() - 200 : 0));
      return false;
    }
  }
  return true;
}

}  // namespace quorrel
