// The thread's last error and last server reply, and the texts of error numbers.
#include <cerrno>
#include <cstring>

#include "platform/InetInternal.h"
#include "platform/InetListing.h"

namespace quorrel {

namespace {

thread_local uint32_t lastError = 0;
thread_local std::string lastResponse;

struct ErrorText {
  uint32_t code;
  const char* text;
};

// Short texts of our own; the message boxes add the full stop.
const ErrorText kErrorTexts[] = {
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified"},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified"},
    {ERROR_ACCESS_DENIED, "Access is denied"},
    {ERROR_INVALID_HANDLE, "The handle is invalid"},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command"},
    {ERROR_NO_MORE_FILES, "There are no more files"},
    {ERROR_WRITE_FAULT, "The system cannot write to the specified device"},
    {ERROR_READ_FAULT, "The system cannot read from the specified device"},
    {ERROR_FILE_EXISTS, "The file exists"},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect"},
    {ERROR_DISK_FULL, "There is not enough space on the disk"},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small"},
    {ERROR_INVALID_NAME, "The filename, directory name, or volume label syntax is incorrect"},
    {ERROR_INTERNET_TIMEOUT, "The operation timed out"},
    {ERROR_INTERNET_EXTENDED_ERROR, "An extended error was returned from the server"},
    {ERROR_INTERNET_INTERNAL_ERROR, "An internal error occurred"},
    {ERROR_INTERNET_INVALID_URL, "The URL is invalid"},
    {ERROR_INTERNET_UNRECOGNIZED_SCHEME,
     "The URL scheme could not be recognized, or is not supported"},
    {ERROR_INTERNET_NAME_NOT_RESOLVED, "The server name or address could not be resolved"},
    {ERROR_INTERNET_INVALID_OPTION, "The option is invalid"},
    {ERROR_INTERNET_BAD_OPTION_LENGTH, "The length of the option is incorrect"},
    {ERROR_INTERNET_INCORRECT_USER_NAME, "The user name is incorrect"},
    {ERROR_INTERNET_INCORRECT_PASSWORD, "The password is incorrect"},
    {ERROR_INTERNET_OPERATION_CANCELLED, "The operation was canceled"},
    {ERROR_INTERNET_INCORRECT_HANDLE_TYPE,
     "The type of handle supplied is incorrect for this operation"},
    {ERROR_INTERNET_CANNOT_CONNECT, "A connection with the server could not be established"},
    {ERROR_INTERNET_CONNECTION_ABORTED, "The connection with the server was terminated abnormally"},
    {ERROR_INTERNET_CONNECTION_RESET, "The connection with the server was reset"},
    {ERROR_INTERNET_SEC_CERT_DATE_INVALID, "The date in the certificate is invalid or has expired"},
    {ERROR_INTERNET_SEC_CERT_CN_INVALID,
     "The host name in the certificate is invalid or does not match"},
    {ERROR_INTERNET_INVALID_CA, "The certificate authority is invalid or incorrect"},
    {ERROR_FTP_TRANSFER_IN_PROGRESS,
     "The requested operation cannot be made on the FTP session handle because an operation is "
     "already in progress"},
    {ERROR_FTP_DROPPED, "The FTP operation was not completed because the session was aborted"},
    {ERROR_INTERNET_SECURITY_CHANNEL_ERROR, "An error occurred in the secure channel support"},
};

}  // namespace

uint32_t GetLastError() {
  return lastError;
}
void SetLastError(uint32_t code) {
  lastError = code;
}

bool InternetGetLastResponseInfoA(uint32_t* error, char* buffer, uint32_t* length) {
  if (!length) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if (error) *error = static_cast<uint32_t>(inet::ReplyCode(lastResponse));
  uint32_t needed = static_cast<uint32_t>(lastResponse.size() + 1);
  if (!buffer || *length < needed) {
    *length = needed;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return false;
  }
  std::memcpy(buffer, lastResponse.c_str(), needed);
  *length = needed - 1;
  return true;
}

std::string InternetLastResponseText() {
  return lastResponse;
}

std::string SystemErrorText(uint32_t code) {
  for (const ErrorText& e : kErrorTexts)
    if (e.code == code) return e.text;
  return "";
}

namespace inet {

void SetLastResponse(const std::string& reply) {
  lastResponse = reply;
}

uint32_t ErrorFromErrno(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case ENAMETOOLONG:
      return ERROR_INVALID_NAME;
    case EEXIST:
      return ERROR_FILE_EXISTS;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_WRITE_FAULT;
  }
}

uint32_t ErrorFromCurl(CURLcode code) {
  switch (code) {
    case CURLE_OK:
      return ERROR_SUCCESS;
    case CURLE_OPERATION_TIMEDOUT:
      return ERROR_INTERNET_TIMEOUT;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
      return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_ABORTED_BY_CALLBACK:
      return ERROR_INTERNET_OPERATION_CANCELLED;
    case CURLE_OUT_OF_MEMORY:
      return ERROR_NOT_ENOUGH_MEMORY;
    case CURLE_URL_MALFORMAT:
      return ERROR_INTERNET_INVALID_URL;
    case CURLE_UNSUPPORTED_PROTOCOL:
      return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    case CURLE_WRITE_ERROR:
      return ERROR_WRITE_FAULT;
    case CURLE_READ_ERROR:
      return ERROR_READ_FAULT;
    case CURLE_PEER_FAILED_VERIFICATION:
      return ERROR_INTERNET_INVALID_CA;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_USE_SSL_FAILED:
      return ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
    default:
      // The server stopped talking: reset, closed mid-transfer, or nothing sent.
      return ERROR_INTERNET_CONNECTION_RESET;
  }
}

void ResetThreadErrors() {
  lastError = 0;
  lastResponse.clear();
}

}  // namespace inet

}  // namespace quorrel
