#include "publish/FtpErrors.h"

#include <cctype>

#include "platform/Abort.h"
#include "platform/Help.h"
#include "platform/Inet.h"
#include "platform/UserDialogs.h"
#include "publish/Connection.h"
#include "publish/ServerDates.h"
#include "publish/SiteDetails.h"
#include "shell/DBoxUnit.h"

namespace quorrel {

uint32_t InternetErrorCode = 0;
std::string InternetErrorText;

namespace {

constexpr uint32_t kCreated = 257;
constexpr char kCannotConnect[] = "Cannot connect to server.";

std::function<void(const std::string&)>& Clipboard() {
  static std::function<void(const std::string&)> copy;
  return copy;
}

std::function<void()>& Refresh() {
  static std::function<void()> refresh;
  return refresh;
}

bool refreshing = false;

// The detail line of the box for an error code.
std::string DetailText(const std::string& message, uint32_t code, const std::string& errorText) {
  switch (code) {
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INTERNET_CONNECTION_RESET:
      if (message != kCannotConnect) return "Internet connection reset - please try again.";
      return errorText;
    case ERROR_INTERNET_TIMEOUT:
      return "Timed out.";
    case ERROR_INTERNET_INCORRECT_USER_NAME:
      return "User name incorrect";
    case ERROR_INTERNET_INCORRECT_PASSWORD:
      return "Usually means \"Password incorrect\" but can indicate other problems.";
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
      return ServerName + "\rServer name could not be resolved";
    default:
      return errorText;
  }
}

bool IsResetConnection(const std::string& message, uint32_t code) {
  return (code == ERROR_PATH_NOT_FOUND || code == ERROR_INTERNET_CONNECTION_RESET) &&
         message != kCannotConnect;
}

// The server window shows the state after the failure; a refresh that fails the
// same way reports without refreshing again.
void RefreshServerWindow() {
  if (refreshing || !Refresh()) return;
  refreshing = true;
  try {
    Refresh()();
  } catch (...) {
    refreshing = false;
    throw;
  }
  refreshing = false;
}

}  // namespace

TInternetError ReadInternetError(uint32_t previousCode) {
  const uint32_t last = GetLastError();
  TInternetError error;
  error.code = last != ERROR_SUCCESS ? last : previousCode;
  error.text = SystemErrorText(error.code);
  if (error.code == ERROR_INTERNET_EXTENDED_ERROR) {
    uint32_t replyCode = 0;
    uint32_t length = 0;
    InternetGetLastResponseInfoA(&replyCode, nullptr, &length);
    std::string reply(length, '\0');
    if (length > 0 && InternetGetLastResponseInfoA(&replyCode, reply.data(), &length)) {
      reply.resize(length);
    } else {
      reply.clear();
    }
    error.text = reply;
    // A server that insists on encryption says so in its reply; the platform's
    // code tells that better than the reply's number.
    if (reply.find("Sorry, cleartext") == std::string::npos) {
      uint32_t number = 0;
      size_t i = 0;
      while (i < reply.size() && i < 9 && std::isdigit(static_cast<unsigned char>(reply[i]))) {
        number = number * 10 + static_cast<uint32_t>(reply[i] - '0');
        ++i;
      }
      if (number > 0) error.code = number;
    }
  }
  // Asking for the reply must not change what the failed call left behind.
  SetLastError(last);
  return error;
}

void GetInternetError() {
  TInternetError error = ReadInternetError(InternetErrorCode);
  InternetErrorCode = error.code;
  InternetErrorText = error.text;
}

std::string InternetErrorMessage(const std::string& message, uint32_t code,
                                 const std::string& errorText) {
  std::string text = message + "\rError code: " + std::to_string(code) + "\r";
  const std::string system = SystemErrorText(code);
  if (!system.empty()) text += system + ".\r";
  return text + DetailText(message, code, errorText);
}

std::string LinuxLineEnds(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      result += text[i];
    } else if (i + 1 >= text.size() || text[i + 1] != '\n') {
      result += '\n';
    }
  }
  return result;
}

void ReportInternetError(const std::string& message) {
  // A failure the thread has just met is the one to report, never an older code.
  if (InternetErrorCode == 0 || GetLastError() != ERROR_SUCCESS) GetInternetError();
  const uint32_t code = InternetErrorCode;
  InternetErrorCode = 0;
  SetLastError(ERROR_SUCCESS);
  if (code == kCreated) return;

  const std::string text = InternetErrorMessage(message, code, InternetErrorText);
  BulkRunMode = ' ';
  // Without a help context of its own the box closes on Help too: whatever the
  // button, the command stops once the box has gone.
  const int answer = AskCustom(text, "&Copy message", "&Help", 0, "&Cancel");
  if (answer == mrYes) {
    if (Clipboard()) Clipboard()(LinuxLineEnds(text));
    ShowMsg("Error message copied to clipboard");
  } else if (answer == mrNo) {
    ShowHelpContext(InternetErrorHelp);
  }
  if (IsResetConnection(message, code)) {
    LastConnectTime = 0;
    EnsureConnected();
  }
  RefreshServerWindow();
  Abort();
}

void ReportFailedCall(const std::string& message, const TInternetError* captured) {
  InternetErrorCode = 0;
  if (captured) {
    InternetErrorCode = captured->code;
    InternetErrorText = captured->text;
  } else {
    GetInternetError();
  }
  if (InternetErrorCode == ERROR_SUCCESS || InternetErrorCode == kCreated) {
    InternetErrorCode = ERROR_INTERNET_EXTENDED_ERROR;
  }
  SetLastError(ERROR_SUCCESS);
  ReportInternetError(message);
  Abort();
}

void SetErrorClipboard(std::function<void(const std::string& text)> copy) {
  Clipboard() = std::move(copy);
}

void SetServerWindowRefresh(std::function<void()> refresh) {
  Refresh() = std::move(refresh);
}

void ResetFtpErrors() {
  InternetErrorCode = 0;
  InternetErrorText.clear();
  refreshing = false;
}

}  // namespace quorrel
