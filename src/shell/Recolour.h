#pragma once
// The pending request for syntax colouring of the current document. Commands ask
// for it here; the idle loop (and the Colour-syntax command) carry it out with
// the colouring engine's ApplySyntaxColours.
namespace quorrel {

// The levels of a request, strongest first.
constexpr int RecolourNone = 0;
// Colours, background and font reset, the whole text coloured.
constexpr int RecolourFull = 1;
// The text coloured again, as after an edit or a change of font.
constexpr int RecolourText = 2;
// The ABC tune at the caret.
constexpr int RecolourAbcTune = 3;
// A document entered: coloured at the next idle pass, unless something stronger
// is asked meanwhile.
constexpr int RecolourEntered = 4;

// The pending request; RecolourNone when there is none.
extern int RecolourRequest;

// Asks for a recolour: the level is kept when nothing (or the ABC tune) is
// pending; a pending RecolourEntered gives way only to RecolourFull; other
// pending requests stay. Returns the request now pending.
int RequestRecolour(int level);

}  // namespace quorrel
