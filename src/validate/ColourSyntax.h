#pragma once
// Syntax colouring of the current document. Commands ask for it with
// RequestRecolour; the idle loop (and the Colour-syntax command) carry it out with
// ApplySyntaxColours, which lays colour runs over the editor's text.
#include <cstddef>
#include <string>

namespace quorrel {

// The pending recolour request: 0 none, 1 full recolour (colours, background and
// font reset), 2 and 4 lighter requests, 3 the ABC tune at the caret.
extern int RecolourRequest;

// Asks for a recolour: the level is kept when nothing (or the ABC tune) is
// pending; a pending 4 gives way only to 1; other pending requests stay. Returns
// the request now pending.
int RequestRecolour(int level);

// Colours the current editor as the pending request asks, then clears the request.
void ApplySyntaxColours();

// A message the colouring of an ASP or PHP page leaves for the HTML validator
// ("" when none), and its offset (1-based, in CurrentText).
extern std::string PendingMessage;
extern size_t PendingMessageOffset;

// Back to the state of a freshly started program: no request, no message, the
// built-in scheme, no include files read.
void ResetColouring();

}  // namespace quorrel
