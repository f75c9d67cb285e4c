#pragma once
// Page text emitted with the typographic rules of normal text.
#include <string_view>

namespace quorrel {

struct TBuildRun;

// A blank after ".", "!" or "?" that another blank follows becomes "&nbsp;"; in a
// code block a double quote becomes "&quot;". Markup passes unchanged.
void EmitTypo(TBuildRun& run, char ch);
void EmitTypoText(TBuildRun& run, std::string_view text);

}  // namespace quorrel
