#pragma once
// The rules of a single ABC music line: the mends the validator makes to it and
// how it may end. Lines are Windows-1252 bytes without their line end.
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

// Where a sign stands outside double-quoted text and in-line fields ("[L:1/2]");
// npos when it does not.
size_t FindInMusic(std::string_view line, std::string_view sign, size_t from = 0);

// The line without its in-line comment and the blanks before it. "\%" is a percent
// sign, and one in quoted text or an in-line field is text.
std::string WithoutInlineComment(const std::string& line);
// "/2" written "/" in the music (not in quoted text or in-line fields), unless the
// line changes metre or tempo in-line.
std::string WithHalvesShort(const std::string& line);
// A blank after each "|:" and before each ":|" in the music.
std::string WithBlanksAtRepeats(const std::string& line);
// No blank before a final backslash.
std::string WithoutBlankBeforeContinuation(const std::string& line);

// The chord names of the guitar chords that need a chord definition for the music
// programs: "7sus", "m7b5", "dim", in that order, each once.
std::vector<std::string> ChordNamesNeeded(std::string_view line);
// The definition line a chord name gets.
std::string ChordNameLine(std::string_view name);

// Whether the line is only a part letter in quotes with a backslash: "A"\ .
bool IsQuotedPartLine(std::string_view line);

enum class TLineEnd {
  Fine,
  Slash,  // a "/" at the end, meant as a backslash or a bar line
  NoBar,  // no bar line at the end
};
// How a music line ends, given the line after it ("" at the tune's end).
TLineEnd CheckLineEnd(std::string_view line, std::string_view next);

}  // namespace quorrel
