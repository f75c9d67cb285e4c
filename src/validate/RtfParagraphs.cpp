#include "validate/RtfParagraphs.h"

#include <algorithm>
#include <array>

#include "platform/Chars.h"
#include "platform/CodePage.h"

namespace quorrel {

namespace {

// Words that excuse a fault when they stand this close to it, either side.
constexpr size_t kNearby = 400;

// Where each of a few words occurs in the text, without regard to case; found once
// for the whole text, so that asking near a character costs a binary search even
// on a megabyte of brackets.
class TNearWords {
 public:
  TNearWords(std::string_view text, std::initializer_list<std::string_view> words)
      : text_(text), words_(words) {}

  bool Near(size_t offset) {
    if (!found_) Find();
    const size_t from = offset > kNearby ? offset - kNearby : 0;
    const auto it = std::lower_bound(starts_.begin(), starts_.end(), from);
    return it != starts_.end() && *it <= offset + kNearby;
  }

 private:
  void Find() {
    found_ = true;
    for (size_t i = 0; i < text_.size(); ++i) {
      for (std::string_view word : words_) {
        if (i + word.size() > text_.size()) continue;
        size_t k = 0;
        while (k < word.size() &&
               AnsiUpperChar(static_cast<unsigned char>(text_[i + k])) == word[k]) {
          ++k;
        }
        if (k == word.size()) {
          starts_.push_back(i);
          break;
        }
      }
    }
  }

  std::string_view text_;
  std::vector<std::string_view> words_;  // upper case
  std::vector<size_t> starts_;           // in text order
  bool found_ = false;
};

// The end of the line starting at from: after its line feed, or the text's end.
size_t LineEnd(std::string_view text, size_t from) {
  const size_t lf = text.find('\n', from);
  return lf == std::string_view::npos ? text.size() : lf + 1;
}

// A paragraph without its closing line end.
std::string_view Trimmed(std::string_view paragraph) {
  while (!paragraph.empty() && (paragraph.back() == '\n' || paragraph.back() == '\r')) {
    paragraph.remove_suffix(1);
  }
  return paragraph;
}

bool IsFigure(char c) {
  // Digits and the fractions a measure may end in: "¼", "½", "¾".
  return IsDigit(c) || c == '\xBC' || c == '\xBD' || c == '\xBE';
}

// A double quote after a number that stands after a blank, "(" or "/" marks inches.
bool IsInchMark(std::string_view paragraph, size_t at) {
  size_t start = at;
  while (start > 0 && IsFigure(paragraph[start - 1])) --start;
  if (start == at || start == 0) return false;
  const char before = paragraph[start - 1];
  return before == ' ' || before == '(' || before == '/';
}

// ":-)", ";-)" and " :)" are smileys, not brackets.
bool IsSmiley(std::string_view paragraph, size_t at) {
  if (at < 2) return false;
  const std::string_view before = paragraph.substr(at - 2, 2);
  return before == ":-" || before == ";-" || before == " :";
}

struct TChecker {
  std::string_view text;
  const TParagraphOptions& options;
  const TColourAt& colourAt;
  TNearWords nestedExcuses{text, {"HREF=", "WHILE (", "WHILE(", "IF (", ".BS"}};
  TNearWords scriptWords{text, {"JAVASCRIPT"}};
  TNearWords quoteExcuses{text, {".UR", "<META", "JAVASCRIPT"}};

  std::optional<TParagraphFault> Check(size_t base, std::string_view paragraph) {
    std::vector<size_t> open;  // the "(" still open, innermost last
    std::vector<size_t> quotes;
    auto fault = [&](const char* message, std::vector<size_t> marks) {
      return TParagraphFault{message, base, std::string(paragraph), std::move(marks), quotes};
    };
    for (size_t i = 0; i < paragraph.size(); ++i) {
      const char c = paragraph[i];
      if (c == '(') {
        if (!open.empty() && !nestedExcuses.Near(base + i)) {
          return fault(NestedBracketsMessage, {open.back(), i});
        }
        open.push_back(i);
      } else if (c == ')') {
        if (!open.empty()) {
          open.pop_back();
        } else if (options.checkBrackets && !IsSmiley(paragraph, i) &&
                   !scriptWords.Near(base + i) && colourAt(base + i) != UncheckedBracketColour) {
          return fault(UnopenedBracketMessage, {i});
        }
      } else if (c == '"' && !IsInchMark(paragraph, i)) {
        quotes.push_back(i);
      }
    }
    if (!options.valSave) return std::nullopt;
    if (quotes.size() % 2 == 1 && options.checkQuotes && !quoteExcuses.Near(base + quotes.back())) {
      return fault(UnmatchedQuotesMessage, quotes);
    }
    if (!open.empty() && options.checkBrackets) return fault(UnclosedBracketMessage, open);
    return std::nullopt;
  }
};

}  // namespace

std::optional<TParagraphFault> CheckParagraphs(std::string_view text,
                                               const TParagraphOptions& options,
                                               const TColourAt& colourAt) {
  TChecker checker{text, options, colourAt};
  size_t at = 0;
  while (at < text.size()) {
    size_t end = LineEnd(text, at);
    if (StartsWithNoCase(text.substr(at), ".WW")) {
      // Word-wrapped lines run on to the next dot-command as one paragraph.
      while (end < text.size() && text[end] != '.') end = LineEnd(text, end);
    }
    if (auto fault = checker.Check(at, Trimmed(text.substr(at, end - at)))) return fault;
    at = end;
  }
  return std::nullopt;
}

std::string ParagraphForViewer(const TParagraphFault& fault) {
  std::string shown = fault.paragraph;
  bool opening = true;
  for (size_t at : fault.quotes) {
    if (at < shown.size()) shown[at] = opening ? '\xAB' : '\xBB';
    opening = !opening;
  }
  return shown;
}

}  // namespace quorrel
