#pragma once
// The Edit menu's block and clean-up commands on the current editor: word wrap,
// select all, delete, dup block, clear to end of line, delete whitespace,
// unsequence, re-paragraph, and Run of the editor's pop-up menu. Texts are
// Windows-1252 bytes.
#include <string>
#include <vector>

namespace quorrel {

// The text without its blanks, CRs and LFs.
std::string WithoutWhitespace(const std::string& text);

// Lines without their leading sequence numbers: the separator is "." when the
// first line has a "." among its first 9 characters and its first blank lies
// beyond the 10th, otherwise a blank; every line loses everything up to and with
// its first separator and is trimmed.
std::vector<std::string> UnsequenceLines(const std::vector<std::string>& lines);

// A selection that names a program to run: the part before the first blank, and
// the rest split on blanks as its arguments. Nothing unless it begins with "/".
struct TProgramCall {
  std::string program;
  std::vector<std::string> arguments;
};
bool ProgramOfSelection(const std::string& selection, TProgramCall& call);

void WordWrapClick();
void SelectAllClick();
void DelSelClick();
void DupBlockClick();
void ClearEolClick();
void DelWhiteClick();
void UnsequenceClick();
void ReParaClick();
void RunPgmClick();

// Registers these commands, the case commands and indent mode with their items.
void InstallEditCommands();

}  // namespace quorrel
