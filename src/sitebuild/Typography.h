#pragma once
// Page text emitted with the typographic rules of normal text.
#include <string_view>

namespace quorrel {

// A blank after ".", "!" or "?" that another blank follows becomes "&nbsp;"; in a
// code block a double quote becomes "&quot;". Markup passes unchanged.
void EmitTypo(char ch);
void EmitTypoText(std::string_view text);

}  // namespace quorrel
