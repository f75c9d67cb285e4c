#pragma once
// A back end with the style rules our Hunspell engine does not have (repeated
// words, extra spaces) over the real speller, which checks everything else. It
// notes each run it is given and whether the run starts a sentence.
#include <cctype>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "spell/ForwardingSpeller.h"

namespace quorrel::test {

class RuleSpeller : public ForwardingSpeller {
 public:
  struct Run {
    std::string text;
    bool sentenceStart;
    bool operator==(const Run&) const = default;
    friend void PrintTo(const Run& run, std::ostream* os) {
      *os << "{\"" << run.text << "\", " << (run.sentenceStart ? "start" : "continued") << "}";
    }
  };

  RuleSpeller(std::unique_ptr<TAbstractSpeller> inner, std::vector<Run>& runs)
      : ForwardingSpeller(std::move(inner)), runs_(runs) {}

  TSpellReturnCode CheckSentenceStart(std::string_view text, size_t& length,
                                      size_t& position) override {
    runs_.push_back({std::string(text), true});
    return Rules(text, length, position);
  }
  TSpellReturnCode CheckText(std::string_view text, size_t& length, size_t& position) override {
    runs_.push_back({std::string(text), false});
    return Rules(text, length, position);
  }

 private:
  TSpellReturnCode Rules(std::string_view text, size_t& length, size_t& position) {
    // Two blanks or more before a character: the blanks after the first are extra,
    // flagged together with that character.
    const size_t blanks = text.find("  ");
    // A word said twice: the second is flagged.
    size_t start = 0, previousStart = 0, previousLength = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
      const bool letter = i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]));
      if (letter) continue;
      if (i > start) {
        if (blanks != std::string_view::npos && blanks < start) break;
        if (previousLength == i - start && start == previousStart + previousLength + 1 &&
            text.substr(previousStart, previousLength) == text.substr(start, i - start)) {
          position = start;
          length = i - start;
          return srRepeatWord;
        }
        previousStart = start;
        previousLength = i - start;
      }
      start = i + 1;
    }
    if (blanks != std::string_view::npos) {
      size_t end = blanks;
      while (end < text.size() && text[end] == ' ') ++end;
      if (end < text.size()) {
        position = blanks + 1;
        length = end - blanks;
        return srExtraSpaces;
      }
    }
    return Inner().CheckText(text, length, position);
  }

  std::vector<Run>& runs_;
};

}  // namespace quorrel::test
