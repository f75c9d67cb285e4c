#pragma once
// The "|"-separated arguments of a dot-command line.
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

// The argument list the last SplitArguments filled; commands read it.
extern std::vector<std::string> SplitFields;

// Fills SplitFields with the "|"-separated fields of text. A "|" straight after an
// apostrophe does not split (the apostrophe stays in the field); an empty field
// between two "|" holds one blank; an empty text gives one empty field.
void SplitArguments(std::string_view text);

}  // namespace quorrel
