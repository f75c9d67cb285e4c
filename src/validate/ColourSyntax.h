#pragma once
// Syntax colouring of the current document. Commands ask for it with
// RequestRecolour (shell/Recolour.h); the idle loop (and the Colour-syntax command) carry it out
// with ApplySyntaxColours, which lays colour runs over the editor's text.
#include <cstddef>
#include <string>

#include "shell/Recolour.h"

namespace quorrel {

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
