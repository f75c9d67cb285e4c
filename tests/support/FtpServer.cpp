#include "support/FtpServer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "platform/IniFile.h"
#include "publish/PasswordCodec.h"
#include "publish/SiteDetails.h"

namespace quorrel::test {

void WriteServerDetails(const std::string& siteFolder, const FtpServer& server,
                        const std::string& webRoot) {
  TIniFile details(siteFolder + ServerDetailsFile);
  details.WriteString("System", "Section", "1");
  details.WriteString("1", "FTPAddr", "127.0.0.1");
  details.WriteString("1", "User", server.User());
  details.WriteString("1", "Password", EncodeServerPassword(server.Password()));
  details.WriteString("1", "WWWAddr", "http://www.example.org/");
  details.WriteString("1", "WebRoot", webRoot);
}

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
  if (options_.dosList) args << "--dos-list";
  if (options_.noMdtm) args << "--no-mdtm";
  if (options_.hostileNames) args << "--hostile";
  // Debian's interpreter, whatever python3 comes first on PATH: it has pyftpdlib.
  if (!Launch("/usr/bin/python3", args)) {
    Fail("cannot run /usr/bin/python3");
  } else if (!TakeAnnouncedPort()) {
    Fail("pyftpdlib did not start (scripts/install-deps installs python3-pyftpdlib): " + Output());
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
    Fail("vsftpd is not installed (scripts/install-deps installs it)");
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
  std::string config = base + "/vsftpd.conf";
  // vsftpd writes why it stops to its standard input (the control connection when
  // inetd runs it): a file it can write there keeps the reason.
  const std::string reasons = base + "/vsftpd.out";
  process_.setChildProcessModifier([reasons] {
    const int fd = open(reasons.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd >= 0) dup2(fd, STDIN_FILENO);
  });
  // vsftpd says nothing when it is ready, and "220" greets from any FTP server: its
  // banner carries the token.
  const QByteArray token = NewToken();
  const auto launch = [&](uint16_t port) {
    WriteFile(
        config,
        "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nlisten_port=" +
            std::to_string(port) +
            "\nbackground=NO\nanonymous_enable=YES\nno_anon_password=YES\nanon_root=" + root_ +
            "\nlocal_enable=NO\nwrite_enable=NO\nseccomp_sandbox=NO\nisolate=NO\n"
            "isolate_network=NO\nsecure_chroot_dir=" +
            empty +
            "\nutf8_filesystem=YES\nuse_localtime=NO\nxferlog_enable=NO\n"
            "pasv_enable=YES\nftpd_banner=" +
            token.toStdString() + "\n");
    chmod(config.c_str(), 0600);
    return Launch(program, {QString::fromStdString(config)});
  };
  if (StartOnFreePort(launch, {}, "220 " + token)) return;
  if (process_.error() == QProcess::FailedToStart) {
    Fail("vsftpd cannot be started");
  } else {
    Fail("vsftpd did not start as a foreground server (exit code " +
         std::to_string(process_.exitCode()) + "): " + ReadFile(reasons) + Output());
  }
}

}  // namespace quorrel::test
