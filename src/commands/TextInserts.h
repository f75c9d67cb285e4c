#pragma once
// The Text menu's insertions: Nbsp, MDash, Tick, Bullet, Arrow and Break, each
// in the form that fits the document (a web page, a dot-command page, a
// formatted RTF document or its codes, a play script). Texts are Windows-1252.
#include <string>

namespace quorrel {

// Byte 149 of Windows-1252, the bullet character.
inline constexpr char kBulletChar = '\x95';
// Colour 0x00BBGGRR of the bullet and the arrow: purple.
inline constexpr int kSymbolColour = 8388736;

void NbspClick();
void MDashClick();
// A tick: "ü" in "Wingdings", the caret after it and typing on in the font before.
void TickClick();
void BulletClick();
void ArrowClick();

// The break's edit of RTF codes in which every break the command inserted stands
// as `marker`: a marker at a paragraph's end takes the place of its paragraph
// mark, a source that then ends "\line }" gets its last "\par" back, and every
// other marker becomes "\line ".
std::string BreaksIntoCodes(std::string source, const std::string& marker);

// Editor positions of a text read out of the editor: a CR LF is one.
size_t PositionsOf(const std::string& text);

// Break: a line break in RTF, a list item or "<Br>" in a web page.
void InsBreakClick();

// Gives the Text menu's insertion items their commands (List and Table too).
void InstallTextInsertCommands();

}  // namespace quorrel
