#pragma once
// Reading colour runs back in tests: each run as the scheme key of its colour
// (and background) and the text it covers, e.g. H{<p>} Comments{<!-- x -->}.
#include <ostream>
#include <string>
#include <vector>

#include "shell/MyRich.h"
#include "validate/ColourScheme.h"

namespace quorrel {

// How gtest shows a run.
inline void PrintTo(const TColourRun& run, std::ostream* os) {
  *os << "{" << run.start << ", " << run.length << ", 0x" << std::hex << run.colour << std::dec;
  if (run.background >= 0) *os << " on 0x" << std::hex << run.background << std::dec;
  *os << "}";
}

}  // namespace quorrel

namespace quorrel::test {

inline std::string ColourKeyOf(int colour, int background) {
  const TColourScheme& s = ColourScheme;
  // Colour and background pairs first: several pair colours are alike.
  struct Pair {
    const char* name;
    int colour, background;
  };
  const Pair pairs[] = {{"Part", s.part, s.partBack},
                        {"P1", s.otherPart, s.otherPartBack},
                        {"Voice", s.voice, s.voiceBack},
                        {"V1", s.firstVoice, s.firstVoiceBack}};
  if (background >= 0) {
    for (const Pair& p : pairs) {
      if (p.colour == colour && p.background == background) return p.name;
    }
  }
  std::string name = "?" + std::to_string(colour);
  for (const TColourKey& k : ColourKeys) {
    if (s.*k.field == colour) {
      name = k.key;
      break;
    }
  }
  if (background >= 0) name += "/bg" + std::to_string(background);
  return name;
}

// Runs over text (offsets into text, or editor positions with text holding one
// character per line end).
inline std::string Describe(const std::string& text, const std::vector<TColourRun>& runs) {
  std::string out;
  for (const TColourRun& run : runs) {
    if (!out.empty()) out += ' ';
    out += ColourKeyOf(run.colour, run.background) + "{" + text.substr(run.start, run.length) + "}";
  }
  return out;
}

}  // namespace quorrel::test
