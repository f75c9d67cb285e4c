#pragma once
// The text work of the ABC editing commands: joining two tunes and splitting them
// again at the marker left between them, copying one of them out, and the
// lyrics taken out of a tune or deleted from it. Texts are Windows-1252 bytes with
// CR LF line ends, as CurrentText holds them; offsets are 0-based.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quorrel {

// The line "Combine" leaves where two tunes were joined.
inline constexpr char AbcSplitMarker[] = "N:Replace by blank line and X field";
inline constexpr size_t AbcSplitMarkerLength = sizeof(AbcSplitMarker) - 1;

struct TTextRange {
  size_t start = 0;
  size_t length = 0;
};

// What "Combine" replaces by the marker when the caret stands at the start of an
// "X:" line: the line end before that line and the line itself without its own
// line end. None when the caret is elsewhere.
std::optional<TTextRange> CombineRange(const std::string& text, size_t caret);

// The first marker in [from, to); npos when there is none there.
size_t SplitMarkerIn(const std::string& text, size_t from, size_t to);

// "Extract tune": the piece between the markers around `at` within the tune that
// runs from tuneStart to nextTune, starting "X:"; none when the tune holds no
// marker around `at`.
std::optional<std::string> ExtractedTune(const std::string& text, size_t at, size_t tuneStart,
                                         size_t nextTune);

// The lines without those that begin "w:" or "W:"; the last line is kept whatever
// it holds.
std::vector<std::string> WithoutLyricLines(const std::vector<std::string>& lines);

// The lyrics of a tune as plain text: the first verse under each music line, the
// later verses after it where the music repeats, hyphens and the other marks of
// syllables taken out, sentences ended by two blanks.
std::string LyricsOfTune(const std::string& tune);

// Where "%%MIDI ratio 3 1" goes in a text: the start of the first "K:" line at or
// after tuneStart and before tuneEnd; npos when the tune has none.
size_t MidiRatioLineAt(const std::string& text, size_t tuneStart, size_t tuneEnd);

}  // namespace quorrel
