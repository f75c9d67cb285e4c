#pragma once
// A text split into its lines, with or without their line ends. Texts are
// Windows-1252 bytes.
#include <string>
#include <vector>

namespace quorrel {

// The lines without their ends (CR LF, LF or a lone CR ends one); a line end at the
// very end starts no further line. *endsWithLineEnd says whether there was one.
std::vector<std::string> LinesWithoutEnds(const std::string& text, bool* endsWithLineEnd = nullptr);

// The lines with their ends: each ends after an LF, keeping it and any CR before it
// (a lone CR ends no line); the text after the last LF is a line of its own.
std::vector<std::string> LinesWithEnds(const std::string& text);

}  // namespace quorrel
