// The content of SCRIPT, STYLE, PRE and TEXTAREA elements, which the HTML
// validator takes over without reading it as markup.
#include <algorithm>
#include <vector>

#include "shell/FastStrings.h"
#include "validate/HtmlRun.h"
#include "validate/StyleBlock.h"

namespace quorrel {

namespace {

bool IsWhite(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

// Where the element's end tag begins (npos when it has none).
size_t EndTagAt(const THtmlRun& run) {
  const size_t found = PosNoCase("</" + run.tag.name, run.in, run.tag.end + 1);
  return found == 0 ? std::string::npos : found - 1;
}

[[noreturn]] void UnexpectedEnd(const THtmlRun& run) {
  HtmlFatal("Unexpected end of text.\rCurrent tag is <" + run.tag.text + ">");
}

// Copies the end tag through its ">"; a new line follows.
void CopyEndTag(THtmlRun& run, size_t at, const std::string& indent) {
  const size_t close = run.in.find('>', at);
  if (close == std::string::npos) UnexpectedEnd(run);
  if (AtLineStart(run)) run.out += indent;
  run.out.append(run.in, at, close + 1 - at);
  BreakAfterOpenTags(run);
  run.pos = close + 1;
}

std::string WithoutCarriageReturns(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

// The block on lines of its own, each line that holds something `indent` blanks
// deeper than the least indented of the lines after the first (the first line has
// lost its blanks to the trimming).
std::string Reindent(const std::string& block, size_t indent) {
  // The least indentation of the lines after the first that hold something.
  size_t least = std::string::npos;
  for (size_t start = block.find('\n'); start != std::string::npos;
       start = block.find('\n', start)) {
    ++start;
    size_t first = start;
    while (first < block.size() && block[first] == ' ') ++first;
    if (first < block.size() && block[first] != '\n') least = std::min(least, first - start);
  }
  std::string result;
  result.reserve(block.size() + block.size() / 8);
  for (size_t start = 0; start <= block.size();) {
    size_t end = block.find('\n', start);
    if (end == std::string::npos) end = block.size();
    if (start > 0) result += '\n';
    size_t first = start;
    while (first < end && block[first] == ' ') ++first;
    if (first < end) {
      result.append(indent, ' ');
      const size_t from = start == 0 ? first : start + least;
      result.append(block, from, end - from);
    }
    start = end + 1;
  }
  return result;
}

void Verbatim(THtmlRun& run) {
  EmitTag(run);
  const size_t close = EndTagAt(run);
  if (close == std::string::npos) UnexpectedEnd(run);
  run.out.append(run.in, run.tag.end, close - run.tag.end);
  CopyEndTag(run, close, "");
}

void Script(THtmlRun& run) {
  const std::string& in = run.in;
  const std::string indent(2 * run.stack.size(), ' ');
  EmitTag(run);
  size_t from = run.tag.end;
  if (PosNoCase("SRC=", run.tag.text) == 0) {
    // The old wrapper that hid scripts from browsers without them goes; the lines
    // before it would go anyway.
    size_t first = from;
    while (first < in.size() && IsWhite(in[first])) ++first;
    if (in.compare(first, 4, "<!--") == 0) {
      from = first + 4;
      MarkHtmlChanged(run);
    }
  }
  const size_t found = PosNoCase("</script", in, from + 1);
  if (found == 0) UnexpectedEnd(run);
  const size_t close = found - 1;
  std::string content =
      WithoutCarriageReturns(ReplaceAll(in.substr(from, close - from), "\n//-->", "", true));
  while (!content.empty() && IsWhite(content.back())) content.pop_back();
  // Empty lines before the first line of code go; the code keeps its indentation.
  size_t first = 0;
  while (first < content.size() && IsWhite(content[first])) ++first;
  const size_t lineEnd = first == 0 ? std::string::npos : content.rfind('\n', first - 1);
  if (lineEnd != std::string::npos) content.erase(0, lineEnd + 1);
  if (content.find('\n') != std::string::npos) {
    run.out += "\n" + content + "\n";
    CopyEndTag(run, close, indent);
  } else {
    run.out += content.substr(content.find_first_not_of(' ') == std::string::npos
                                  ? content.size()
                                  : content.find_first_not_of(' '));
    CopyEndTag(run, close, "");
  }
}

void Style(THtmlRun& run) {
  const std::string& in = run.in;
  if (run.importPage) {
    Verbatim(run);
  } else {
    EmitTag(run);
    const size_t found = PosNoCase("</Style", in, run.tag.end + 1);
    if (found == 0) {
      HtmlError("<Style> element has no end.");
      return;
    }
    const size_t close = found - 1;
    size_t first = run.tag.end;
    while (first < close && IsWhite(in[first])) ++first;
    size_t last = close;
    while (last > first && IsWhite(in[last - 1])) --last;
    std::string block = in.substr(first, last - first);
    if (!block.empty() && (run.inSite || run.serverCheck)) {
      block = ValidateStyleBlock(block, first + 1);
    }
    block = WithoutCarriageReturns(block);
    while (!block.empty() && IsWhite(block.back())) block.pop_back();
    if (!run.serverPage) block = Reindent(block, 4);
    run.out += '\n';
    if (!block.empty()) run.out += block + "\n";
    CopyEndTag(run, close, "  ");
  }
  if (run.styleJoinedHead) {
    run.styleJoinedHead = false;
    run.out += "</Head>\n";
  }
}

}  // namespace

void HandleRawContent(THtmlRun& run) {
  const std::string& name = run.tag.name;
  if (name == "SCRIPT") {
    Script(run);
  } else if (name == "STYLE") {
    Style(run);
  } else {
    Verbatim(run);
  }
}

}  // namespace quorrel
