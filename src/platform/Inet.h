#pragma once
// The internet client layer: FTP and HTTP on libcurl, with the handles, calls and
// error numbers of the Windows internet library that the publishing code was
// written against.
//
// Names on the server side (folders, files, patterns) are Windows-1252 bytes.
// When the server announces UTF8 they travel as UTF-8; a name that the server
// spells in bytes that are not UTF-8 is kept as those bytes and sent back the same
// way, so a name listed can always be fetched again. Local paths are Windows-1252
// too, as the program spells them, and go to the file system through NativePath.
//
// Every call leaves its outcome in the calling thread's last error (0 on success)
// and, when it talked to a server, the server's last reply in that thread's
// response info. A connection made on one thread may be used on another, as long
// as two threads never use it at the same time (the second then gets 12110).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/InetErrors.h"

namespace quorrel {

struct InetHandleTag;
// An open session, connection, directory search or web request; nullptr is none.
using HINTERNET = InetHandleTag*;

// ---- constants --------------------------------------------------------------

constexpr int MAX_PATH = 260;

constexpr uint32_t INTERNET_OPEN_TYPE_PRECONFIG = 0;
constexpr uint32_t INTERNET_OPEN_TYPE_DIRECT = 1;
constexpr uint16_t INTERNET_DEFAULT_FTP_PORT = 21;
constexpr uint16_t INTERNET_INVALID_PORT_NUMBER = 0;  // the service's default port
constexpr uint32_t INTERNET_SERVICE_FTP = 1;
constexpr uint32_t INTERNET_FLAG_PASSIVE = 0x08000000;
constexpr uint32_t INTERNET_FLAG_RELOAD = 0x80000000;
constexpr uint32_t INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000;
constexpr uint32_t INTERNET_FLAG_RAW_DATA = 0x40000000;
constexpr uint32_t FTP_TRANSFER_TYPE_ASCII = 1;
constexpr uint32_t FTP_TRANSFER_TYPE_BINARY = 2;

constexpr uint32_t INTERNET_OPTION_CONNECT_TIMEOUT = 2;

constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
// A symbolic link on the server; never combined with the directory flag.
constexpr uint32_t FILE_ATTRIBUTE_REPARSE_POINT = 0x400;

// Status callback codes: bytes sent and bytes received, the count as a uint32_t.
constexpr uint32_t INTERNET_STATUS_REQUEST_SENT = 31;
constexpr uint32_t INTERNET_STATUS_RESPONSE_RECEIVED = 41;

// ---- find records -----------------------------------------------------------

// 100-nanosecond intervals since 1601-01-01 UTC; zero means no time known.
struct FILETIME {
  uint32_t dwLowDateTime = 0;
  uint32_t dwHighDateTime = 0;
};

struct TFindData {
  uint32_t dwFileAttributes = 0;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;  // UTC
  uint32_t nFileSizeHigh = 0;
  uint32_t nFileSizeLow = 0;
  char cFileName[MAX_PATH] = {};  // the name as the server spells it, NUL-terminated
};

inline uint64_t FindDataSize(const TFindData& data) {
  return (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// ---- session and connection -------------------------------------------------

// True when a network interface other than loopback is up with an address.
bool InternetGetConnectedState();
// Tests and continuous integration have only loopback: -1 restores the real
// answer, 0 or 1 forces it.
void SetConnectedStateOverride(int state);

HINTERNET InternetOpenA(const std::string& agent,
                        uint32_t accessType = INTERNET_OPEN_TYPE_PRECONFIG,
                        const char* proxy = nullptr, const char* proxyBypass = nullptr,
                        uint32_t flags = 0);

// Connects and logs in at once (passive FTP), starting in the login's home
// directory. Port 0 means 21.
HINTERNET InternetConnectA(HINTERNET session, const std::string& serverName, uint16_t port,
                           const std::string& userName, const std::string& password,
                           uint32_t service = INTERNET_SERVICE_FTP,
                           uint32_t flags = INTERNET_FLAG_PASSIVE, uintptr_t context = 0);

// Closes any handle. A connection takes its open search with it; closing a
// session or connection also stops a call still running on it in another thread.
bool InternetCloseHandle(HINTERNET handle);

// Only INTERNET_OPTION_CONNECT_TIMEOUT (milliseconds) is known. Only the low four
// bytes of a longer buffer count; the value is the time allowed to connect and the
// time a transfer may go without progress. A connection takes its session's value.
bool InternetSetOptionA(HINTERNET handle, uint32_t option, const void* buffer, uint32_t length);
// Reads an option back: the four-byte value, with *length in and out as the
// buffer's size (too small gives false with 122 and the size needed).
bool InternetQueryOptionA(HINTERNET handle, uint32_t option, void* buffer, uint32_t* length);

// Called during transfers with INTERNET_STATUS_REQUEST_SENT or _RESPONSE_RECEIVED
// and the byte count since the last call (a uint32_t). Returning false stops the
// transfer cleanly: the call then fails with 12017. An exception thrown by the
// callback also stops it and leaves the call after the clean-up.
using INTERNET_STATUS_CALLBACK = std::function<bool(
    HINTERNET handle, uintptr_t context, uint32_t status, const void* info, uint32_t infoLength)>;

// Installs the callback (an empty one removes it). False is the library's
// "invalid callback" result: the handle is not open.
bool InternetSetStatusCallback(HINTERNET handle, INTERNET_STATUS_CALLBACK callback);

// ---- FTP --------------------------------------------------------------------

// The current directory, as the server last reported it. The buffer size is in
// and out: too small gives false with 122 and the size needed.
bool FtpGetCurrentDirectoryA(HINTERNET connection, char* buffer, uint32_t* length);
std::string FtpCurrentDirectory(HINTERNET connection);  // "" when the handle is not open
bool FtpSetCurrentDirectoryA(HINTERNET connection, const std::string& directory);

// Starts a search of a folder ("" or a pattern such as "*.*", "/www/*.htm", a file
// name or a folder name, whose contents are then listed). Wildcards follow the
// Windows rules. Nothing found gives nullptr with 18; a search already open on the
// connection gives nullptr with 12110.
HINTERNET FtpFindFirstFileA(HINTERNET connection, const std::string& searchFile,
                            TFindData* findData, uint32_t flags = 0, uintptr_t context = 0);
bool InternetFindNextFileA(HINTERNET find, TFindData* findData);
// Entries of the search's folder that were left out because their names cannot be
// files here ("..", names holding "/", "\" or control characters, names too long
// or not expressible in Windows-1252), as the server sent them.
std::vector<std::string> FtpFindRejectedNames(HINTERNET find);

// Binary transfers. A download goes to a work file beside the target and replaces
// the target only when complete, keeping the mode of the file it replaces.
bool FtpGetFileA(HINTERNET connection, const std::string& remoteFile, const std::string& newFile,
                 bool failIfExists, uint32_t attributes, uint32_t flags, uintptr_t context);
bool FtpPutFileA(HINTERNET connection, const std::string& localFile,
                 const std::string& newRemoteFile, uint32_t flags, uintptr_t context);

bool FtpCreateDirectoryA(HINTERNET connection, const std::string& directory);
bool FtpRemoveDirectoryA(HINTERNET connection, const std::string& directory);
bool FtpDeleteFileA(HINTERNET connection, const std::string& fileName);
bool FtpRenameFileA(HINTERNET connection, const std::string& existing, const std::string& newName);

// ---- HTTP -------------------------------------------------------------------

// Opens an http:// or https:// address (redirects followed) and waits for the
// answer's start. Any answer from the server is a success, 404 included; only a
// failure to reach it gives nullptr.
HINTERNET InternetOpenUrlA(HINTERNET session, const std::string& url, const char* headers = nullptr,
                           uint32_t headersLength = 0, uint32_t flags = 0, uintptr_t context = 0);
// Reads the next bytes of the body; *bytesRead 0 with true is the end.
bool InternetReadFile(HINTERNET request, void* buffer, uint32_t bytesToRead, uint32_t* bytesRead);
// The HTTP status of the final answer (after redirects); 0 when not known.
int HttpStatusCode(HINTERNET request);

// ---- errors -----------------------------------------------------------------

// The calling thread's last error (a Windows error number).
uint32_t GetLastError();
void SetLastError(uint32_t code);

// The calling thread's last server reply. With *length too small (0 to ask) it
// gives false with 122 and the length needed, counting the final NUL. *error gets
// the reply's numeric code.
bool InternetGetLastResponseInfoA(uint32_t* error, char* buffer, uint32_t* length);
std::string InternetLastResponseText();

// A short text for an error number, without a final full stop; "" when there is none.
std::string SystemErrorText(uint32_t code);

// DOS date and time words (two-second grain); false and zeros for times before
// 1980 or after 2107, and for no time.
bool FileTimeToDosDateTime(const FILETIME& fileTime, uint16_t* fatDate, uint16_t* fatTime);
FILETIME UnixTimeToFileTime(int64_t seconds);
int64_t FileTimeToUnixTime(const FILETIME& fileTime);

// Back to a freshly started program: the connected-state override and this
// thread's last error and reply are cleared. Open handles stay open.
void ResetInet();

}  // namespace quorrel
