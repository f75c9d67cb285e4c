#pragma once
// Every unit that keeps state between commands registers how to bring that state
// back to a freshly started program, beside the state's own definitions:
//
//   namespace { const TResetEntry reset(ResetStatusBar); }
//
// The tests call ResetRegisteredState before each case, so a new unit cannot be
// forgotten. A unit that is not linked into a program has no state there either.
namespace quorrel {

// Registers a reset when constructed (at static initialisation).
struct TResetEntry {
  explicit TResetEntry(void (*reset)());
};

// Runs every registered reset, in the order they were registered.
void ResetRegisteredState();

}  // namespace quorrel
