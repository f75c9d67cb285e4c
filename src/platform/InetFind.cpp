// FTP directory searches. The folder is listed once (MLSD when the server offers
// it, else LIST) and the names are filtered here, since servers differ on
// wildcards. The whole result is read at the start, so other commands can run on
// the connection while the search stays open.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <set>

#include "platform/InetInternal.h"
#include "platform/InetListing.h"

namespace quorrel {

namespace {

using inet::Connection;
using inet::FtpCall;
using inet::TListingEntry;

// Listings beyond this are refused rather than held in memory.
constexpr size_t kMaxListingBytes = 64u << 20;
// Exact times by MDTM cost one round trip each: only for small results.
constexpr size_t kMaxMdtmPerSearch = 100;

struct Find : inet::Handle {
  Find() : Handle(inet::Kind::Find) {}
  std::vector<TFindData> records;
  size_t next = 0;
  std::vector<std::string> rejected;
};

bool FetchListing(Connection& c, const std::string& folder, bool machine, std::string& data) {
  FtpCall call;
  call.url = inet::PathUrl(c, folder, true);
  call.transfer = true;
  if (machine) call.customRequest = "MLSD";
  call.sink = [&](const char* bytes, size_t size) {
    if (data.size() + size > kMaxListingBytes) {
      call.localError = ERROR_NOT_ENOUGH_MEMORY;
      return false;
    }
    data.append(bytes, size);
    return true;
  };
  return inet::RunFtp(c, call);
}

// The folder's entries, names still in the server's bytes.
bool ListFolder(Connection& c, const std::string& folder, std::vector<TListingEntry>& entries) {
  std::string data;
  int64_t now = time(nullptr);
  if (!c.mlsd) {
    if (!FetchListing(c, folder, false, data)) return false;
    entries = inet::ParseListListing(data, now);
    return true;
  }
  if (!FetchListing(c, folder, true, data)) return false;
  entries = inet::ParseMlsdListing(data);
  // Some servers (pyftpdlib among them) describe a link by what it points to, so
  // a link to a folder reads as a folder. Their LIST still shows the link.
  if (std::none_of(entries.begin(), entries.end(), [](auto& e) { return e.isDir; })) return true;
  std::string list;
  if (!FetchListing(c, folder, false, list)) return true;  // the machine listing stands
  std::set<std::string> links;
  for (const TListingEntry& e : inet::ParseListListing(list, now))
    if (e.isLink) links.insert(e.name);
  for (TListingEntry& e : entries) {
    if (e.isDir && links.count(e.name)) {
      e.isDir = false;
      e.isLink = true;
    }
  }
  return true;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() != '/' ? folder + "/" + name : folder + name;
}

// Turns the server's names into ours. Names that cannot be files here, or that
// would be taken for another entry's name, are set aside.
void ConvertNames(Connection& c, const std::string& folder, std::vector<TListingEntry>& entries,
                  std::vector<std::string>& rejected) {
  std::vector<TListingEntry> kept;
  std::set<std::string> seen;
  for (TListingEntry& e : entries) {
    if (e.name == "." || e.name == "..") continue;  // the folder itself, not an entry
    std::string ansi = e.name;
    bool raw = false;
    if (c.utf8 && !inet::WireToAnsi(e.name, ansi)) {
      // Bytes that are not UTF-8 are kept as they are and sent back the same way;
      // UTF-8 for characters Windows-1252 lacks cannot become a name of ours.
      if (inet::IsUtf8(e.name)) {
        rejected.push_back(e.name);
        continue;
      }
      raw = true;
    }
    if (!inet::IsAcceptableServerName(ansi) || !seen.insert(ansi).second) {
      rejected.push_back(e.name);
      continue;
    }
    if (raw) c.wireNames[JoinPath(folder, ansi)] = e.name;
    e.name = ansi;
    kept.push_back(std::move(e));
  }
  entries = std::move(kept);
}

// Exact times for files whose listing line stops at the minute or the day.
void AddExactTimes(Connection& c, const std::string& folder, std::vector<TListingEntry>& entries) {
  if (!c.mdtm) return;
  std::vector<TListingEntry*> wanted;
  if (entries.size() > kMaxMdtmPerSearch) return;
  for (TListingEntry& e : entries)
    if (!e.isDir && !e.hasSeconds) wanted.push_back(&e);
  if (wanted.empty()) return;
  FtpCall call;
  std::vector<std::string> commands;
  for (TListingEntry* e : wanted) {
    commands.push_back("MDTM " + inet::ToWire(c, JoinPath(folder, e->name)));
    call.quote.push_back("*" + commands.back());
  }
  // The listing's reply stays the last response, whatever MDTM answered.
  std::string response = InternetLastResponseText();
  bool ok = inet::RunFtp(c, call);
  inet::SetLastResponse(response);
  if (!ok) return;
  for (const inet::FtpReply& reply : call.replies) {
    if (reply.code != 213) continue;
    for (size_t i = 0; i < commands.size(); ++i) {
      if (reply.command != commands[i]) continue;
      std::string value = reply.text.size() > 4 ? reply.text.substr(4) : "";
      int64_t t = inet::ParseFtpTimeVal(value);
      if (t != inet::kNoTime) {
        wanted[i]->time = t;
        wanted[i]->hasSeconds = true;
      }
    }
  }
}

// One file's entry by one question, MLST or else MDTM and SIZE, instead of a listing
// of its whole folder. False when the server cannot answer so or the name is not a
// plain file there by that spelling: the listing then decides.
bool AskForOneFile(Connection& c, const std::string& path, const std::string& name,
                   TListingEntry& entry) {
  FtpCall call;
  if (c.mlsd) {
    call.quote = {"*MLST " + inet::ToWire(c, path)};
  } else if (c.mdtm) {
    call.url = inet::PathUrl(c, path, false);
    call.fileInfo = true;
  } else {
    return false;
  }
  if (!inet::RunFtp(c, call)) return false;
  bool timed = false, sized = false;
  for (const inet::FtpReply& reply : call.replies) {
    if (reply.code == 250 && reply.command.starts_with("MLST ")) {
      // The facts stand on the one reply line that begins with a blank.
      size_t line = reply.text.find("\r\n ");
      if (line == std::string::npos) continue;
      size_t end = reply.text.find("\r\n", line + 3);
      std::vector<TListingEntry> facts = inet::ParseMlsdListing(
          reply.text.substr(line + 3, end == std::string::npos ? end : end - line - 3));
      if (facts.size() != 1 || facts[0].isDir || facts[0].isLink) return false;
      entry = facts[0];
      timed = sized = entry.time != inet::kNoTime;
    } else if (reply.code == 213 && reply.command.starts_with("MDTM ")) {
      entry.time = inet::ParseFtpTimeVal(reply.text.substr(4));
      entry.hasSeconds = timed = entry.time != inet::kNoTime;
    } else if (reply.code == 213 && reply.command.starts_with("SIZE ")) {
      entry.size = std::strtoull(reply.text.c_str() + 4, nullptr, 10);
      sized = true;
    }
  }
  if (!timed || !sized) return false;
  entry.name = name;
  entry.isDir = entry.isLink = false;
  return true;
}

TFindData ToRecord(const TListingEntry& e) {
  TFindData data;
  data.dwFileAttributes = e.isLink  ? FILE_ATTRIBUTE_REPARSE_POINT
                          : e.isDir ? FILE_ATTRIBUTE_DIRECTORY
                                    : FILE_ATTRIBUTE_NORMAL;
  data.nFileSizeHigh = static_cast<uint32_t>(e.size >> 32);
  data.nFileSizeLow = static_cast<uint32_t>(e.size);
  data.ftLastWriteTime = UnixTimeToFileTime(e.time);
  std::memcpy(data.cFileName, e.name.c_str(), std::min<size_t>(e.name.size(), MAX_PATH - 1));
  return data;
}

bool SameLetters(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (inet::UpperAnsi(a[i]) != inet::UpperAnsi(b[i])) return false;
  return true;
}

// The folder listed and its entries that match the name (all for "" or "*.*"); a
// folder's own name lists that folder.
bool ListMatches(Connection& c, std::string folder, const std::string& name,
                 std::vector<TListingEntry>& entries, std::vector<std::string>& rejected) {
  if (!ListFolder(c, folder, entries)) return false;
  ConvertNames(c, folder, entries, rejected);
  if (!name.empty() && name != "*.*" && name != "*") {
    std::vector<TListingEntry> matches;
    if (inet::HasWildcard(name)) {
      for (TListingEntry& e : entries)
        if (inet::WildcardMatch(name, e.name)) matches.push_back(std::move(e));
    } else {
      // A name matches without regard to case, as on the servers the program was
      // written for; the entry spelled exactly as asked comes first.
      for (TListingEntry& e : entries)
        if (SameLetters(e.name, name)) matches.push_back(std::move(e));
      std::stable_partition(matches.begin(), matches.end(),
                            [&](const TListingEntry& e) { return e.name == name; });
      if (!matches.empty() && matches.front().isDir) {
        // A folder's name lists the folder.
        folder = JoinPath(folder, matches.front().name);
        rejected.clear();
        if (!ListFolder(c, folder, matches)) return false;
        ConvertNames(c, folder, matches, rejected);
      }
    }
    entries = std::move(matches);
  }
  AddExactTimes(c, folder, entries);
  return true;
}

}  // namespace

HINTERNET FtpFindFirstFileA(HINTERNET connection, const std::string& searchFile,
                            TFindData* findData, uint32_t, uintptr_t) {
  auto c = inet::LookupAs<Connection>(connection, inet::Kind::Connection);
  if (!c) return nullptr;
  if (!inet::IsSafeForCommand(searchFile)) {
    SetLastError(ERROR_INVALID_NAME);
    return nullptr;
  }
  inet::BusyGuard guard(*c);
  if (!guard.Ok() || (c->find && inet::Lookup(c->find))) {
    SetLastError(ERROR_FTP_TRANSFER_IN_PROGRESS);
    return nullptr;
  }
  std::string pattern = searchFile.empty() ? "*.*" : searchFile;
  size_t slash = pattern.rfind('/');
  std::string folder =
      inet::AbsolutePath(*c, slash == std::string::npos ? "" : pattern.substr(0, slash + 1));
  std::string name = slash == std::string::npos ? pattern : pattern.substr(slash + 1);

  auto find = std::make_shared<Find>();
  std::vector<TListingEntry> entries;
  TListingEntry one;
  const bool single = !name.empty() && !inet::HasWildcard(name) && name != "*.*" &&
                      inet::IsAcceptableServerName(name);
  if (single && AskForOneFile(*c, JoinPath(folder, name), name, one)) {
    entries.push_back(std::move(one));
  } else if (!ListMatches(*c, folder, name, entries, find->rejected)) {
    return nullptr;
  }
  if (entries.empty()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return nullptr;
  }
  for (const TListingEntry& e : entries) find->records.push_back(ToRecord(e));
  if (findData) *findData = find->records[0];
  find->next = 1;
  HINTERNET id = inet::Register(find);
  c->find = id;
  SetLastError(ERROR_SUCCESS);
  return id;
}

bool InternetFindNextFileA(HINTERNET find, TFindData* findData) {
  auto f = inet::LookupAs<Find>(find, inet::Kind::Find);
  if (!f) return false;
  if (f->next >= f->records.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return false;
  }
  if (findData) *findData = f->records[f->next];
  ++f->next;
  SetLastError(ERROR_SUCCESS);
  return true;
}

std::vector<std::string> FtpFindRejectedNames(HINTERNET find) {
  auto f = inet::LookupAs<Find>(find, inet::Kind::Find);
  if (!f) return {};
  return f->rejected;
}

}  // namespace quorrel
