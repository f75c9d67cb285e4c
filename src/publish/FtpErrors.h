#pragma once
// Internet errors: capturing the last one and telling the user. Texts are
// Windows-1252 bytes.
#include <cstdint>
#include <functional>
#include <string>

namespace quorrel {

// Help topics of the error box and of the Server Details dialog.
constexpr int InternetErrorHelp = 70400;

// The last error: a platform error number, or the FTP reply code when the server
// refused; and its text (the system's text, or the server's reply).
extern uint32_t InternetErrorCode;
extern std::string InternetErrorText;

// An error as captured on some thread: the code and text GetInternetError would set.
struct TInternetError {
  uint32_t code = 0;
  std::string text;
};
// The calling thread's last error and server reply, made into a code and text. A
// call that left no error keeps previousCode.
TInternetError ReadInternetError(uint32_t previousCode);

// Captures the calling thread's last error into InternetErrorCode and
// InternetErrorText.
void GetInternetError();

// The text the error box shows for a message and an error.
std::string InternetErrorMessage(const std::string& message, uint32_t code,
                                 const std::string& errorText);

// The text with every CR or CR LF as LF, as text pasted on Linux expects it.
std::string LinuxLineEnds(const std::string& text);

// Shows the last internet error under the message and ends the command silently.
// A code of 257 (the server's "created") is no error: it returns at once. A reset
// connection is made again after the box.
void ReportInternetError(const std::string& message);

// ReportInternetError for a call that has just failed: the error is the one that
// call left (or the one captured from it when other calls came between), never an
// older code still waiting, and the command ends whatever the code (a failure is
// never taken for the server's "created").
[[noreturn]] void ReportFailedCall(const std::string& message,
                                   const TInternetError* captured = nullptr);

// What the error box needs from the screen: the clipboard for "&Copy message", and
// the refresh of the server window when that is the active window. The ui installs
// both; without them, nothing is copied or refreshed.
void SetErrorClipboard(std::function<void(const std::string& text)> copy);
void SetServerWindowRefresh(std::function<void()> refresh);

// Back to a fresh program.
void ResetFtpErrors();

}  // namespace quorrel
