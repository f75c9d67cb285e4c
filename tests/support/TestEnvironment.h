#pragma once
// Shared set-up of every test binary: a fresh temporary HOME with its XDG
// folders, the scripted dialogs, and unit-level state reset before each test.
#include <string>

namespace quorrel::test {

// Called by the test mains before anything else touches the environment.
void PrepareTestEnvironment();

// The temporary HOME of this test run (with a trailing "/").
const std::string& TestHome();

// Resets the unit-level state of every subsystem to a freshly started program.
void ResetAllState();

// Registers the gtest listener that resets state and checks scripted answers.
void InstallTestListener();

}  // namespace quorrel::test
