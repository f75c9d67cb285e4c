#include "edit/Reparagraph.h"

#include <cctype>
#include <string_view>
#include <vector>

#include "edit/EditControl.h"
#include "platform/Abort.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/Recolour.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

constexpr char kNoBreakSpace = '\xA0';
// What a joined line loses at its start: blanks, tabs and end-of-file marks.
constexpr std::string_view kLeadIn(" \t\x1A", 3);

struct TParagraph {
  std::string text;
  // A line of a script, style or PRE block of a page: kept as it is.
  bool kept = false;
};

std::string ReplaceEvery(std::string text, std::string_view find, std::string_view by) {
  std::string out;
  size_t from = 0;
  for (size_t at = text.find(find); at != std::string::npos; at = text.find(find, from)) {
    out.append(text, from, at - from);
    out += by;
    from = at + find.size();
  }
  out.append(text, from, std::string::npos);
  return out;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', from)) {
    size_t end = lf;
    if (end > from && text[end - 1] == '\r') --end;
    lines.push_back(text.substr(from, end - from));
    from = lf + 1;
  }
  lines.push_back(text.substr(from));
  return lines;
}

bool OnlyBlanks(const std::string& line) {
  return line.find_first_not_of(' ') == std::string::npos;
}

bool EndsWithWrote(const std::string& paragraph) {
  const size_t last = paragraph.find_last_not_of(' ');
  return last != std::string::npos && last >= 5 && paragraph.compare(last - 5, 6, "wrote:") == 0;
}

// A line that is neither joined to the one before nor has the next joined to it.
bool BreakLine(const std::string& line) {
  if (OnlyBlanks(line) || line.size() < 4) return true;
  const char first = line[line.find_first_not_of(' ')];
  return first == '.' || first == '<';
}

// A joined line loses its quote mark and its indentation.
std::string Unquoted(std::string line) {
  if (line.starts_with(">>")) line.erase(0, 2);
  if (line.starts_with(">")) line[0] = ' ';
  if (line.starts_with("  > ")) line[2] = ' ';
  const size_t first = line.find_first_not_of(kLeadIn);
  return first == std::string::npos ? std::string() : line.substr(first);
}

std::string Lowered(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The first tag from `at` on that opens a block whose lines a page keeps as they
// are: where it stands (npos for none) and the block's name.
size_t BlockOpener(const std::string& lower, size_t at, std::string& name) {
  static const char* const kBlocks[] = {"script", "style", "pre"};
  size_t nearest = std::string::npos;
  for (const char* block : kBlocks) {
    const std::string tag = std::string("<") + block;
    for (size_t found = lower.find(tag, at); found != std::string::npos;
         found = lower.find(tag, found + 1)) {
      // "<pre" but not "<prefix".
      const size_t after = found + tag.size();
      if (after < lower.size() && std::isalnum(static_cast<unsigned char>(lower[after]))) continue;
      if (found < nearest) {
        nearest = found;
        name = block;
      }
      break;
    }
  }
  return nearest;
}

// The kept block open after a line, given the one open before it ("" for none).
std::string BlockAfter(const std::string& lower, std::string open) {
  size_t at = 0;
  while (at <= lower.size()) {
    if (!open.empty()) {
      const size_t close = lower.find("</" + open, at);
      if (close == std::string::npos) return open;
      at = close + 2 + open.size();
      open.clear();
      continue;
    }
    const size_t opener = BlockOpener(lower, at, open);
    if (opener == std::string::npos) return "";
    at = opener + 1;
  }
  return open;
}

// Two blanks after each sentence end: the double blanks made single first, so that
// one and two blanks both end as two. In a page the two blanks are "&nbsp; ".
std::string SentenceSpacing(std::string text, std::string_view two) {
  for (std::string_view end : {".", "!", ".\"", "?"}) {
    const std::string mark(end);
    text = ReplaceEvery(text, mark + "  ", mark + " ");
    text = ReplaceEvery(text, mark + " ", mark + std::string(two));
  }
  return text;
}

// In a page only the text between tags gets the sentence spacing.
std::string PageSentenceSpacing(const std::string& paragraph) {
  std::string out;
  size_t from = 0;
  while (from < paragraph.size()) {
    const size_t tag = paragraph.find('<', from);
    const size_t textEnd = tag == std::string::npos ? paragraph.size() : tag;
    out += SentenceSpacing(paragraph.substr(from, textEnd - from), "&nbsp; ");
    if (tag == std::string::npos) break;
    const size_t close = paragraph.find('>', tag);
    const size_t tagEnd = close == std::string::npos ? paragraph.size() : close + 1;
    out.append(paragraph, tag, tagEnd - tag);
    from = tagEnd;
  }
  return out;
}

}  // namespace

std::string ReparagraphText(const std::string& text, bool html) {
  std::vector<TParagraph> paragraphs;
  bool afterBreak = false;
  std::string block;  // the kept block of a page that is open
  const std::vector<std::string> lines = SplitLines(text);
  for (size_t k = 0; k < lines.size(); ++k) {
    if (html) {
      const std::string lower = Lowered(lines[k]);
      std::string name;
      const bool kept = !block.empty() || BlockOpener(lower, 0, name) != std::string::npos;
      block = BlockAfter(lower, block);
      if (kept) {
        paragraphs.push_back({lines[k], true});
        afterBreak = true;
        continue;
      }
    }
    std::string line = lines[k];
    for (char& c : line) {
      if (c == kNoBreakSpace) c = ' ';
    }
    if (k > 0 && line == ">") line.clear();
    const bool ownBreak = BreakLine(line);
    // The quote after "... wrote:" starts a paragraph of its own, and the lines
    // after it join it.
    const bool afterWrote = !paragraphs.empty() && EndsWithWrote(paragraphs.back().text);
    TParagraph* current = paragraphs.empty() ? nullptr : &paragraphs.back();
    if (!ownBreak && !afterWrote && current && !current->kept && !current->text.empty() &&
        !afterBreak) {
      const std::string joined = Unquoted(line);
      if (!current->text.ends_with(' ')) current->text += ' ';
      current->text += joined;
    } else {
      paragraphs.push_back({line, false});
    }
    afterBreak = ownBreak;
  }

  std::string out;
  if (!html) {
    for (size_t i = 0; i < paragraphs.size(); ++i) {
      if (i > 0) out += "\r\n";
      out += paragraphs[i].text;
    }
    return SentenceSpacing(out, "  ");
  }
  for (size_t i = 0; i < paragraphs.size(); ++i) {
    if (i > 0) out += "\r\n";
    out += paragraphs[i].kept ? paragraphs[i].text : PageSentenceSpacing(paragraphs[i].text);
  }
  return out;
}

void Reparagraph(TEditControl& control) {
  const bool current = control.IsCurrentEditor();
  const size_t selLength = control.SelLength();
  if (IsRtf && current && selLength == 0 && !AskYesNo(ReparagraphRtfQuestion)) Abort();
  BeginBusy();
  const size_t caret = control.SelStart();
  const std::string text = ReparagraphText(selLength > 0 ? control.SelText() : control.Text(),
                                           IsHtml);
  if (selLength > 0) {
    control.ReplaceSelection(text);
  } else {
    control.ReplaceText(text);
  }
  if (!current) return;
  // The text may have become shorter than the old caret and selection: the caret
  // stays within it.
  control.SetCaret(caret + selLength);
  control.Focus();
  RequestRecolour(RecolourText);
}

void Reparagraph(TMyRich& editor) {
  TRichEditControl control(editor);
  Reparagraph(control);
}

}  // namespace quorrel
