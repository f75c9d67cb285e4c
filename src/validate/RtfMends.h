#pragma once
// Mends of RTF source habits: the language markers a word processor leaves in a
// document typed partly in Polish, and the bold or italic ends that a master has
// after a paragraph mark instead of before it. Each mend keeps every character of
// the text as it reads. Texts are Windows-1252 bytes.
#include <string>
#include <string_view>

namespace quorrel {

inline constexpr char PolishMarkersQuestion[] = "Remove Polish language markers on validation?";
inline constexpr int PolishMarkersHelp = 20766;
inline constexpr char StyleEndQuestion[] = "Bold or italic closed in wrong place.  Correct this?";
inline constexpr int StyleEndHelp = 20778;

// Whether the source holds a table row ("\trowd").
bool HasRtfTables(std::string_view source);

// Whether the source marks text as Polish ("\lang1045").
bool HasPolishMarkers(std::string_view source);

// The source without its Polish, British and American language markers ("\lang1045",
// "\lang2057", "\lang1033"). A font switch "\f1" right after a marker goes with
// it when font 1 is in the same character set as the default font, so that no
// character changes.
std::string WithoutLanguageMarkers(const std::string& source);

// Whether a bold or italic end follows a paragraph mark ("\par \b0 ", "\par \i0 ").
bool HasStyleEndAfterMark(std::string_view source);

// The source with each such end moved before its paragraph mark (and the line end
// before it), so that the empty run it closed is gone.
std::string StyleEndsBeforeMarks(const std::string& source);

}  // namespace quorrel
