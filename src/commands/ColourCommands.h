#pragma once
// The Text menu's colour commands: the colour value written under the caret
// edited with the colour dialog, the colours of a formatted selection, ten saved
// character styles, and a phone number turned into a script call that the page
// decodes when shown. Texts are Windows-1252 bytes.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quorrel {

// The help topic of the style commands.
inline constexpr int StyleHelp = 50350;
// How many styles can be saved ("Style0" to "Style9").
inline constexpr int StyleCount = 10;

// The colour word around a place in a line: back to a blank, quote, "(", ":" or
// "=", then on while the characters are printable and no separators. [start, end)
// is empty when the place is on a separator.
struct TColourWord {
  size_t start = 0;
  size_t end = 0;
};
TColourWord ColourWordAt(const std::string& line, size_t at);

// The colour a word writes as 0x00BBGGRR: "#rgb" (each digit doubled) and
// "#rrggbb" in red-green-blue order, "$bgr" and "$bbggrr" in the stored
// blue-green-red order. Nothing for any other word.
std::optional<int> ColourOfWord(const std::string& word);
// The word for a colour: "#RRGGBB", or "$BBGGRR" for a Pascal source's word
// (one that begins with "$" or "cl").
std::string ColourWordFor(int bgr, bool pascal);
bool IsPascalColourWord(const std::string& word);

// The places (0-based) where the word (any case) stands as a whole token of the
// text: no letter, digit or "_" touches it on either side, so that "#fff" is not
// the start of "#ffffff" nor "clRed" of "clRedish".
std::vector<size_t> ColourTokens(const std::string& text, const std::string& word);

// The code of a phone number: reversed, 12 characters with a blank as the 7th;
// each blank becomes "W", every other character the one i + 16 codes on (i = 1 to
// 12). Nothing for any other selection.
std::optional<std::string> PhoneCode(const std::string& number);
// The number a code stands for (the page's script does the same).
std::string PhoneNumberOf(const std::string& code);

void ColourDClick();
// Background (or text) colour of the selection of a formatted document.
void BgFgClick(bool background);
void SaveStyleSub(int n);
void CopyStyleSub(int n);
void EncPhoneClick();

// The ten save-style and copy-style sub-items, with their commands.
void AddStyleItems();
// Gives the Text menu's colour items their commands.
void InstallColourCommands();

}  // namespace quorrel
