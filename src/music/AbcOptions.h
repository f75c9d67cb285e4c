#pragma once
// The options of the ABC and Options menus that the music tools read, by their
// component names ("abc2midiu", "Viola", "PlaySel", "Debug" ...). An option the
// menu does not hold counts as unchecked.
#include <string>

namespace quorrel {

bool AbcOption(const std::string& name);
void SetAbcOption(const std::string& name, bool checked);

}  // namespace quorrel
