#pragma once
// The rules of single ABC information fields ("K:G", "Q:1/4=120"): how the
// validator writes them and what it accepts. Lines are Windows-1252 bytes without
// their line end.
#include <optional>
#include <string>
#include <string_view>

namespace quorrel {

// A field line as the validator writes it: the field letter in upper case (the
// lower-case letters of their own meaning stay: lyrics "w:", symbol lines "s:" and
// "d:", macros "m:", remarks "r:"); "©" as "\251"; no blanks after the colon (but
// in symbol lines, where they place the symbols); "M:"
// without a trailing " time"; an "R:" value with an upper-case first letter.
std::string MendedField(std::string line);

// The field's value: the text after the colon.
std::string_view FieldValue(std::string_view line);

// A "K:" or "V:" line without "clef=" before the clefs whose name alone does the same.
std::string WithoutClefWord(std::string line);

// Whether a key starts with an upper-case A to G, or is "HP", "Hp" or "none" (any case).
bool IsKnownKey(std::string_view value);

// Whether a tempo gives its beat the way the music programs read it ("1/4=120").
bool IsTempoWithBeat(std::string_view value);

// The number of a voice field "V:3" from 1 to 9; none for other voices.
std::optional<int> VoiceNumber(std::string_view value);

// The tune number of an "X:" line: its digits, or none.
std::optional<long> TuneNumber(std::string_view line);
// The "X:" line with its number replaced.
std::string WithTuneNumber(const std::string& line, long number);

// The tempo line the validator adds for a metre.
std::string TempoLineFor(std::string_view metre);

}  // namespace quorrel
