#pragma once
// Symbol fonts that documents name but the system lacks. Documents keep their
// fonts' names; only the screen shows a stand-in: "Wingdings" text is drawn in
// the program's own "Quorrel Symbols", whose character FC (the tick a document
// holds as \'fc in Wingdings) is a check mark.

namespace quorrel {

inline constexpr char kSymbolStandIn[] = "Quorrel Symbols";

// Registers the stand-in fonts once; later calls do nothing. False when the
// font could not be loaded (the text then shows in the system's choice).
bool UseSymbolFonts();

}  // namespace quorrel
