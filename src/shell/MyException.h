#pragma once
// The program-wide handler of errors that a command does not handle itself. The
// command dispatcher hands it every exception other than the silent abort, so
// that none crosses the event loop. Texts are Windows-1252 bytes.
#include <cstdint>
#include <functional>
#include <string>

namespace quorrel {

// How many error boxes are open inside each other; a fourth ends the program.
extern int ExceptionDepth;

// The box's text: the message, then CR and "Exception Address:  " with the
// address in eight upper-case hexadecimal digits.
std::string ExceptionText(const std::string& message, uintptr_t address = 0);

// TWebForm.MyException: ignores the messages that mean nothing to the user and
// every error while the program ends, soothes the passing ones, shows the rest
// and puts the shell back in order: the running command cleared, the normal
// cursor, the caret save released.
void MyException(const std::string& message);

// The preview browser, once it exists, says how it is closed after an error.
void SetBrowserCloser(std::function<void()> closeBrowser);

// Installs MyException as the dispatcher's handler.
void InstallMyException();

// Back to the state of a freshly started program.
void ResetMyException();

}  // namespace quorrel
