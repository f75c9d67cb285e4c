#pragma once
// A <Style> block of a page, handed by the HTML validator to the CSS validator,
// which checks it and lays it out while CheckingStyleBlock (ValUnit.h) is set.
#include <cstddef>
#include <string>

namespace quorrel {

// The block as the page holds it (trimmed), and the 1-based index of its first
// character in the page: the CSS validator shifts its error offsets by it.
extern std::string StyleBlockText;
extern size_t StyleBlockOffset;
// What the CSS validator makes of the block; it starts as the block itself.
extern std::string StyleBlockResult;

// Runs the CSS validator on one block and returns its result. An error in the
// block ends the command there, as every validator error does.
std::string ValidateStyleBlock(const std::string& block, size_t offset);

// Back to the state of a freshly started program.
void ResetStyleBlock();

}  // namespace quorrel
