#pragma once
// Reads RTF source, as word processors and our own writer produce it, into a
// document of paragraphs and runs. Never fails: whatever it does not understand
// it skips (unknown control words, destinations marked \*, pictures, objects,
// headers, footnotes, style sheets, document information).
#include <string_view>

#include "platform/RtfModel.h"

namespace quorrel {

TRtfDocument ParseRtf(std::string_view source);

}  // namespace quorrel
