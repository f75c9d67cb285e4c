#include "music/PlayRewrites.h"

#include <cstddef>
#include <string_view>

#include "music/AbcWorkFiles.h"
#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/TextLines.h"

namespace quorrel {

namespace {

// The whole text as a number, as a strict conversion reads it: blanks round it
// allowed, nothing else.
std::optional<long> Number(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  size_t last = text.find_last_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  std::string digits = text.substr(first, last - first + 1);
  size_t i = digits[0] == '-' || digits[0] == '+' ? 1 : 0;
  if (i == digits.size() || digits.size() - i > 9) return std::nullopt;
  for (size_t j = i; j < digits.size(); ++j) {
    if (!IsDigit(digits[j])) return std::nullopt;
  }
  return std::stol(digits);
}

// Deletes every inline field that starts with the opening text, up to and
// including its "]" (to the line's end when it is not closed).
void DeleteInlineFields(std::string& line, const char* opening) {
  for (size_t at = line.find(opening); at != std::string::npos; at = line.find(opening, at)) {
    size_t close = line.find(']', at);
    line.erase(at, close == std::string::npos ? std::string::npos : close - at + 1);
  }
}

// The first word of the text after its leading blanks.
std::string FirstWord(std::string_view text) {
  text = TrimBlanks(text);
  return std::string(text.substr(0, text.find_first_of(" \t")));
}

// A tempo line at half speed, with nothing after its tempo. Blanks round "=" and
// after "Q:" are common in real files ("Q:1/4 = 142", "Q: 3/8=60"), and so is a
// quoted text such as "Allegro"; neither may hide the number.
std::string HalvedTempo(const std::string& line) {
  std::string value;
  bool quoted = false;
  for (size_t i = 2; i < line.size(); ++i) {
    if (line[i] == '"') {
      quoted = !quoted;
    } else if (!quoted) {
      value += line[i];
    }
  }
  size_t equals = value.find('=');
  if (equals == std::string::npos) {
    return "Q:" + std::to_string(Number(FirstWord(value)).value_or(100) / 2);
  }
  const std::string_view rest = std::string_view(value).substr(equals + 1);
  return "Q:" + std::string(TrimBlanks(std::string_view(value).substr(0, equals))) + "=" +
         std::to_string(Number(FirstWord(rest)).value_or(80) / 2);
}

}  // namespace

std::string JoinTextLines(const TTextLines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

TTextLines PlayAllLines(const std::string& text, int& tunes) {
  TTextLines lines;
  tunes = 0;
  for (std::string& line : LinesWithoutEnds(text)) {
    if (TrimBlanks(line).empty()) continue;
    if (!line.starts_with("X:")) {
      lines.push_back(std::move(line));
    } else if (++tunes == 1) {
      // One tune number, however the file numbers its first tune ("X: 1", "X:5").
      lines.push_back("X:1");
    }
  }
  if (tunes == 0) tunes = 1;
  return lines;
}

bool LaterTuneHasVoices(const std::string& text) {
  int tunes = 0;
  for (const std::string& line : LinesWithoutEnds(text)) {
    if (line.starts_with("X:")) {
      ++tunes;
    } else if (tunes > 1 && (line.starts_with("V:") || line.starts_with("[V:"))) {
      return true;
    }
  }
  return false;
}

std::optional<std::string> PianoVoices(const TTextLines& lines) {
  const std::string* staves = nullptr;
  for (const char* directive : {"%%staves", "%%score"}) {
    for (const std::string& line : lines) {
      if (StartsWithNoCase(line, directive)) {
        staves = &line;
        break;
      }
    }
    if (staves) break;
  }
  if (!staves) return std::nullopt;
  size_t brace = staves->find('{');
  if (brace == std::string::npos) return std::nullopt;
  return staves->substr(brace + 1);
}

void MuteVoices(TTextLines& lines, const std::string& chosenVoices) {
  TTextLines result;
  for (std::string line : lines) {
    line = ReplaceAll(line, "%%MIDI control 7 ", "% ", false);
    line = ReplaceAll(line, "MIDI=control 7 ", "MIDI=control 3 ", false);
    const bool silent = line.starts_with("V:") &&
                        (line.size() < 3 || chosenVoices.find(line[2]) == std::string::npos);
    result.push_back(std::move(line));
    if (silent) {
      result.push_back("%%MIDI channel 15");
      result.push_back("%%MIDI control 7 0");
      result.push_back("%%MIDI gchordoff");
    }
  }
  lines = std::move(result);
}

void LyricsOff(TTextLines& lines) {
  for (std::string& line : lines) {
    if (StartsWithNoCase(line, "w:")) line = "%";
  }
}

void BarsForClosingBrackets(TTextLines& lines) {
  for (const std::string& line : lines) {
    if (line.find("|[") != std::string::npos || line.find("| [K:") != std::string::npos) return;
  }
  for (std::string& line : lines) {
    if (!line.empty() && line.back() == ']') line.back() = '|';
  }
}

void IgnorePrograms(TTextLines& lines) {
  for (std::string& line : lines) {
    if (line.starts_with("%%MIDI program") || line.starts_with("%%MIDI chordprog") ||
        line.starts_with("%%MIDI bassprog")) {
      line = "%";
      continue;
    }
    DeleteInlineFields(line, "[I: MIDI=program");
    DeleteInlineFields(line, "[I: MIDI=chordprog");
    DeleteInlineFields(line, "[I: MIDI=bassprog");
  }
}

void AddMetronome(TTextLines& lines) {
  long beats = 1;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.starts_with("M:")) {
      size_t slash = line.find('/');
      beats = Number(line.substr(2, slash == std::string::npos ? std::string::npos : slash - 2))
                  .value_or(1);
    } else if (line.starts_with("K:")) {
      // A beat per beat of the bar, and no more than a bar can hold.
      if (beats < 1 || beats > 64) beats = 1;
      std::string drum = "%%MIDI drum " + std::string(static_cast<size_t>(beats), 'd');
      for (long beat = 0; beat < beats; ++beat) drum += " 75";
      lines.insert(lines.begin() + static_cast<long>(i) + 1, {drum, "%%MIDI drumon"});
      return;
    }
  }
}

void SlowTempo(TTextLines& lines) {
  bool first = true;
  for (std::string& line : lines) {
    if (line.starts_with("Q:")) {
      if (!first) {
        line = "%";
        continue;
      }
      first = false;
      line = HalvedTempo(line);
    }
    DeleteInlineFields(line, "[Q:");
  }
}

bool FillBassChords(TTextLines& lines) {
  bool hasParts = false;
  bool keySeen = false;
  bool inBlock = false;
  std::string previous;
  for (std::string& line : lines) {
    if (inBlock) {
      if (line.starts_with("%%end")) inBlock = false;
      continue;
    }
    if (line.starts_with("%%begin")) {
      inBlock = true;
      continue;
    }
    if (line.find("K:") != std::string::npos) keySeen = true;
    if (!keySeen && line.starts_with("P:")) hasParts = true;
    if (line.size() < 3 || (IsLetter(line[0]) && line[1] == ':')) continue;
    for (size_t open = line.find('"'); open != std::string::npos; open = line.find('"', open)) {
      size_t close = line.find('"', open + 1);
      if (close == std::string::npos) ShowErrorAndAbort(line + "\rhas unfinished chord.");
      std::string chord = line.substr(open + 1, close - open - 1);
      if (chord.size() > 1 && chord[0] == '/') {
        line.insert(open + 1, previous);
        close += previous.size();
        chord = previous + chord;
      }
      std::string name = chord.substr(0, chord.find('/'));
      if (!name.empty()) previous = name;
      open = close + 1;
    }
  }
  return hasParts;
}

void AddClosingBar(TTextLines& lines, bool hasParts) {
  if (hasParts) return;
  for (const std::string& line : lines) {
    if (PosNoCase("V:1", line) > 0) return;
  }
  lines.push_back(SilentClosingBar);
}

void RespellForAbc2midiu(TTextLines& lines) {
  for (std::string& line : lines) {
    line = ReplaceAll(line, "[I: MIDI", "[I:MIDI", false);
    line = ReplaceAll(line, "[I:MIDI=", "[I: MIDI ", false);
    // The field keeps its opening bracket, so that it still closes.
    line = ReplaceAll(line, "[I:MIDI =", "[I: MIDI ", false);
  }
}

void BlankChordSymbols(std::string& text) {
  bool inBody = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (text.compare(start, 2, "X:") == 0) inBody = false;
    if (text.compare(start, 2, "K:") == 0) inBody = true;
    if (inBody) {
      for (size_t open = text.find('"', start); open < end; open = text.find('"', open)) {
        if (open > start && text[open - 1] == '=') {
          ++open;
          continue;
        }
        // An unclosed quotation ends with its line.
        size_t close = open + 2 <= end ? text.find('"', open + 2) : std::string::npos;
        if (close >= end) break;
        char first = text[open + 1];
        if (first == '(' || first == '/' || (first >= 'A' && first <= 'G')) {
          text.replace(open, close - open + 1, close - open + 1, ' ');
        }
        open = close + 1;
      }
    }
    start = end + 1;
  }
}

}  // namespace quorrel
