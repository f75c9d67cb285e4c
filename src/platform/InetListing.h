#pragma once
// Pure pieces of the FTP layer: directory listings (MLSD, Unix "ls -l" and DOS/IIS
// LIST formats), reply parsing, names on the wire, wildcards and times. No I/O.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorrel::inet {

constexpr int64_t kNoTime = INT64_MIN;

// One entry of a listing, the name in the server's own bytes.
struct TListingEntry {
  std::string name;
  bool isDir = false;
  bool isLink = false;
  uint64_t size = 0;
  int64_t time = kNoTime;   // seconds since 1970, UTC
  bool hasSeconds = false;  // the listing gave the time to the second
  std::string linkTarget;   // what a LIST line shows after " -> "
};

// A machine listing (MLSD): "fact=value;...; name" lines. The folder's own entries
// ("cdir", "pdir") are left out. Links marked by the server ("OS.unix=symlink",
// "OS.unix=slink:...") are links, never folders.
std::vector<TListingEntry> ParseMlsdListing(const std::string& data);

// One LIST line in the Unix or the DOS/IIS format; nothing for lines that are not
// entries ("total 12", blank lines, devices, pipes). `now` (seconds, UTC) settles
// the year of "Mmm dd hh:mm" entries.
std::optional<TListingEntry> ParseListLine(const std::string& line, int64_t now);
std::vector<TListingEntry> ParseListListing(const std::string& data, int64_t now);

// "YYYYMMDDHHMMSS" with optional fraction (MLSD modify, MDTM replies) -> seconds UTC.
int64_t ParseFtpTimeVal(const std::string& text);
// A whole reply (lines joined by CR LF) -> its numeric code; 0 when it has none.
int ReplyCode(const std::string& reply);
// The path in a 257 reply ("257 \"/a \"\"b\"\"\" is ..." -> "/a \"b\""); "" when absent.
std::string ParsePwdReply(const std::string& reply);
// The words after the first line of a FEAT reply, upper-cased ("UTF8", "MLST", ...).
std::vector<std::string> ParseFeatReply(const std::string& reply);

// Whether a name from a listing can be a file of ours: not empty, ".", "..", not
// longer than 259 bytes, no "/", "\", NUL or other control characters.
bool IsAcceptableServerName(const std::string& name);
// Whether a name or path given by the caller is safe to put on the control
// connection (no CR, LF, NUL).
bool IsSafeForCommand(const std::string& text);

// Windows-1252 <-> UTF-8 for names on the wire. WireToAnsi fails on bytes that are
// not UTF-8 and on characters that Windows-1252 lacks.
bool WireToAnsi(const std::string& wire, std::string& ansi);
bool IsUtf8(const std::string& text);
std::string AnsiToWire(const std::string& ansi);

// Windows wildcard rules: "*" any run, "?" one character, letters of either case,
// "*.*" everything, and a three-letter extension also matches longer ones
// ("*.htm" finds "a.html").
bool HasWildcard(const std::string& pattern);
bool WildcardMatch(const std::string& pattern, const std::string& name);
// Upper case of a Windows-1252 byte.
char UpperAnsi(char c);

// Percent-encodes every byte of a path except letters, digits, "-._~" and "/".
std::string PercentEncodePath(const std::string& path);

// Seconds since 1970 of a UTC date and time; kNoTime for impossible dates.
int64_t UtcSeconds(int year, int month, int day, int hour, int minute, int second);

}  // namespace quorrel::inet
