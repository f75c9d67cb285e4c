// FTP connections: connect and log in, the current directory, and the commands
// that need no data connection.
#include <cstring>

#include "platform/InetInternal.h"
#include "platform/InetListing.h"

namespace quorrel {

namespace {

using inet::Connection;
using inet::FtpCall;

bool HasFeature(const std::vector<std::string>& features, const std::string& name) {
  for (const std::string& f : features)
    if (f == name) return true;
  return false;
}

std::string FromWire(const Connection& c, const std::string& wire) {
  std::string ansi;
  if (c.utf8 && inet::WireToAnsi(wire, ansi)) return ansi;
  return wire;
}

std::string HostForUrl(const std::string& host) {
  return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

// One server command on a path; the path is checked before it goes anywhere near
// the control connection.
bool PathCommand(HINTERNET connection,
                 const std::vector<std::pair<std::string, std::string>>& steps) {
  auto c = inet::LookupAs<Connection>(connection, inet::Kind::Connection);
  if (!c) return false;
  FtpCall call;
  for (const auto& [verb, path] : steps) {
    if (path.empty() || !inet::IsSafeForCommand(path)) {
      SetLastError(ERROR_INVALID_NAME);
      return false;
    }
  }
  inet::BusyGuard guard(*c);
  if (!guard.Ok()) return false;
  for (const auto& [verb, path] : steps)
    call.quote.push_back(verb + " " + inet::ToWire(*c, inet::AbsolutePath(*c, path)));
  return inet::RunFtp(*c, call);
}

}  // namespace

HINTERNET InternetConnectA(HINTERNET session, const std::string& serverName, uint16_t port,
                           const std::string& userName, const std::string& password,
                           uint32_t service, uint32_t, uintptr_t) {
  auto s = inet::LookupAs<inet::Session>(session, inet::Kind::Session);
  if (!s) return nullptr;
  if (service != INTERNET_SERVICE_FTP) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (serverName.empty() || serverName.find_first_of("/@?#% ") != std::string::npos ||
      !inet::IsSafeForCommand(serverName) || !inet::IsSafeForCommand(userName) ||
      !inet::IsSafeForCommand(password)) {
    SetLastError(ERROR_INTERNET_NAME_NOT_RESOLVED);
    return nullptr;
  }
  auto c = std::make_shared<Connection>();
  c->session = s;
  c->curl = curl_easy_init();
  c->multi = curl_multi_init();
  if (!c->curl || !c->multi) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  c->timeoutMs = s->timeoutMs.load();
  c->SetCallback(s->Callback());
  c->baseUrl = "ftp://" + HostForUrl(serverName) + ":" +
               std::to_string(port ? port : INTERNET_DEFAULT_FTP_PORT) + "/";
  c->user = userName.empty() ? "anonymous" : userName;
  c->password = userName.empty() && password.empty() ? "quorrel@" : password;

  FtpCall login;
  login.quote = {"*FEAT"};
  if (!inet::RunFtp(*c, login)) return nullptr;
  std::vector<std::string> features;
  for (const inet::FtpReply& reply : login.replies)
    if (reply.command == "FEAT" && reply.code == 211) features = inet::ParseFeatReply(reply.text);
  c->mlsd = HasFeature(features, "MLST");
  c->mdtm = HasFeature(features, "MDTM");
  if (HasFeature(features, "UTF8")) {
    FtpCall opts;
    opts.quote = {"*OPTS UTF8 ON"};
    if (!inet::RunFtp(*c, opts)) return nullptr;
    c->utf8 = true;
  }
  char* entry = nullptr;
  curl_easy_getinfo(c->curl, CURLINFO_FTP_ENTRY_PATH, &entry);
  c->currentDir = entry ? FromWire(*c, entry) : "";
  if (c->currentDir.empty() || c->currentDir[0] != '/') c->currentDir = "/";
  // The login's reply is what a caller asking for the last response expects.
  for (const inet::FtpReply& reply : login.replies)
    if (reply.code == 230) inet::SetLastResponse(reply.text);
  SetLastError(ERROR_SUCCESS);
  return inet::Register(std::move(c));
}

std::string FtpCurrentDirectory(HINTERNET connection) {
  auto c = inet::LookupAs<Connection>(connection, inet::Kind::Connection);
  if (!c) return "";
  inet::BusyGuard guard(*c);
  if (!guard.Ok()) return "";
  SetLastError(ERROR_SUCCESS);
  return c->currentDir;
}

bool FtpGetCurrentDirectoryA(HINTERNET connection, char* buffer, uint32_t* length) {
  if (!length) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  std::string dir = FtpCurrentDirectory(connection);
  if (dir.empty()) return false;
  uint32_t needed = static_cast<uint32_t>(dir.size() + 1);
  if (!buffer || *length < needed) {
    *length = needed;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return false;
  }
  std::memcpy(buffer, dir.c_str(), needed);
  *length = needed - 1;
  return true;
}

bool FtpSetCurrentDirectoryA(HINTERNET connection, const std::string& directory) {
  auto c = inet::LookupAs<Connection>(connection, inet::Kind::Connection);
  if (!c) return false;
  if (directory.empty() || !inet::IsSafeForCommand(directory)) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  inet::BusyGuard guard(*c);
  if (!guard.Ok()) return false;
  std::string target = inet::AbsolutePath(*c, directory);
  FtpCall call;
  // The server confirms the folder exists; its PWD gives the folder's own spelling
  // once ".." and the like are resolved.
  call.quote = {"CWD " + inet::ToWire(*c, target), "*PWD"};
  if (!inet::RunFtp(*c, call)) return false;
  std::string reported;
  for (const inet::FtpReply& reply : call.replies)
    if (reply.command == "PWD" && reply.code == 257) reported = inet::ParsePwdReply(reply.text);
  c->currentDir = reported.empty() ? target : FromWire(*c, reported);
  for (const inet::FtpReply& reply : call.replies)
    if (reply.command.starts_with("CWD ")) inet::SetLastResponse(reply.text);
  return true;
}

bool FtpCreateDirectoryA(HINTERNET connection, const std::string& directory) {
  return PathCommand(connection, {{"MKD", directory}});
}

bool FtpRemoveDirectoryA(HINTERNET connection, const std::string& directory) {
  return PathCommand(connection, {{"RMD", directory}});
}

bool FtpDeleteFileA(HINTERNET connection, const std::string& fileName) {
  return PathCommand(connection, {{"DELE", fileName}});
}

bool FtpRenameFileA(HINTERNET connection, const std::string& existing, const std::string& newName) {
  return PathCommand(connection, {{"RNFR", existing}, {"RNTO", newName}});
}

}  // namespace quorrel
