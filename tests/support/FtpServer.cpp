#include "support/FtpServer.h"

#include <sys/stat.h>

#include <filesystem>
#include <sstream>

namespace quorrel::test {

namespace {

std::string Tail(QProcess& process) {
  return process.readAllStandardError().toStdString();
}

}  // namespace

HINTERNET ConnectTo(HINTERNET session, const FtpServer& server) {
  return InternetConnectA(session, "127.0.0.1", server.Port(), server.User(), server.Password(),
                          INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0);
}

std::vector<TFindData> FindAll(HINTERNET connection, const std::string& pattern) {
  std::vector<TFindData> records;
  TFindData data;
  HINTERNET find = FtpFindFirstFileA(connection, pattern, &data, 0, 0);
  if (!find) return records;
  do {
    records.push_back(data);
  } while (InternetFindNextFileA(find, &data));
  InternetCloseHandle(find);
  return records;
}

std::vector<std::string> Names(const std::vector<TFindData>& records) {
  std::vector<std::string> names;
  for (const TFindData& r : records) names.push_back(r.cFileName);
  return names;
}

std::string SupportDir() {
  return std::string(QUORREL_FIXTURES) + "/../support/";
}

FtpServer::FtpServer(FtpServerOptions options) : options_(std::move(options)) {
  root_ = Dir() + "root/";
  commandLog_ = Dir() + "commands.log";
  std::filesystem::create_directories(root_);
  QStringList args = {QString::fromStdString(SupportDir() + "ftpserver.py"),
                      "--root",
                      QString::fromStdString(root_),
                      "--user",
                      QString::fromStdString(options_.user),
                      "--password",
                      QString::fromStdString(options_.password),
                      "--perm",
                      QString::fromStdString(options_.perm),
                      "--commands",
                      QString::fromStdString(commandLog_)};
  if (options_.throttle) args << "--throttle" << QString::number(options_.throttle);
  if (options_.noMlsd) args << "--no-mlsd";
  // Debian's interpreter, whatever python3 comes first on PATH: it has pyftpdlib.
  if (!Launch("/usr/bin/python3", args)) {
    problem_ = "cannot run /usr/bin/python3";
  } else if (!TakeAnnouncedPort()) {
    problem_ = "pyftpdlib did not start: " + Tail(process_);
  }
}

FtpServer::~FtpServer() {
  Kill();
  // Names that are not UTF-8 are beyond QTemporaryDir's clean-up.
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void FtpServer::Kill() {
  Stop();
}

std::vector<std::string> FtpServer::Commands() const {
  std::vector<std::string> commands;
  std::istringstream in(ReadFile(commandLog_));
  for (std::string line; std::getline(in, line);) commands.push_back(line);
  return commands;
}

VsftpdServer::VsftpdServer() {
  const char* program = "/usr/sbin/vsftpd";
  if (access(program, X_OK) != 0) {
    problem_ = "vsftpd is not installed (scripts/install-deps installs it)";
    return;
  }
  std::string base = dir_.path().toStdString();
  root_ = base + "/root/";
  std::string empty = base + "/empty";
  std::filesystem::create_directories(root_);
  std::filesystem::create_directories(empty);
  // vsftpd refuses a root its anonymous user could write to, and needs an empty
  // folder of its own for the unprivileged part.
  chmod(base.c_str(), 0755);
  chmod(root_.c_str(), 0755);
  chmod(empty.c_str(), 0755);
  uint16_t port = FreeLoopbackPort();
  std::string config = base + "/vsftpd.conf";
  WriteFile(
      config,
      "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nlisten_port=" + std::to_string(port) +
          "\nbackground=NO\nanonymous_enable=YES\nno_anon_password=YES\nanon_root=" + root_ +
          "\nlocal_enable=NO\nwrite_enable=NO\nseccomp_sandbox=NO\nisolate=NO\n"
          "isolate_network=NO\nsecure_chroot_dir=" +
          empty + "\nutf8_filesystem=YES\nuse_localtime=NO\nxferlog_enable=NO\npasv_enable=YES\n");
  chmod(config.c_str(), 0600);
  if (!Launch(program, {QString::fromStdString(config)})) {
    problem_ = "vsftpd cannot be started";
    return;
  }
  // vsftpd says nothing when it is ready: it is ready when it answers.
  if (TakePortWhenListening(port, "220")) return;
  problem_ = "vsftpd did not start as a foreground server: " + Tail(process_) +
             process_.readAllStandardOutput().toStdString();
}

}  // namespace quorrel::test
