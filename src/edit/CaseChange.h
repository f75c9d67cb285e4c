#pragma once
// The Edit menu's Case commands: Upper, Lower, Switch and Mixed (sentence case).
// Texts are Windows-1252 bytes.
#include <string>
#include <string_view>

namespace quorrel {

// Above this many characters a case change asks first.
inline constexpr size_t kCaseQuestionLimit = 1000;

// "a" to "z" upper-cased; every other byte as it is.
char UpperCaseAscii(char c);
// "A" to "Z" lower-cased; every other byte as it is.
char LowerCaseAscii(char c);
// "A" to "Z" and the capitals of bytes 192 to 222 lower-cased. The multiplication
// sign (215) and the sharp s (223) have no lower case: they stay as they are.
char LowerCaseChar(char c);
// A character above "`" upper-cased as Upper does, any other lower-cased as
// LowerCaseChar does.
char SwitchCaseChar(char c);

enum class TCaseChange { Upper, Lower, Switch };
// Each byte of the text changed; line ends and every other non-letter stay.
std::string ChangeCase(std::string text, TCaseChange change);

// One line in sentence case: trimmed of blanks, control characters and quote
// marks, lower-cased, then capitals at its start (also the letter after an opening
// double quote or "("), after ".", "!" or "?" (and a blank), after " - " and after "_".
std::string SentenceCaseLine(std::string_view line);
// Sentence case for each line of a text (CR LF line ends); with breaks a line
// without "<br" gets "<Br>" in front. A text that does not end with a line end
// gives a result without one.
std::string MixedCase(const std::string& text, bool breaks);

// The commands on the current editor: the selection, or without one the whole text.
void CaseClick(TCaseChange change);
void MixedClick();

}  // namespace quorrel
