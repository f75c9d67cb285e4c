#include "support/UnixUserFtp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/TestFiles.h"

namespace quorrel::test {

namespace {

constexpr char kVsftpd[] = "/usr/sbin/vsftpd";

// Runs a system tool to its end; true when it succeeded.
bool RunTool(const QString& program, const QStringList& args, const QByteArray& input = {}) {
  QProcess process;
  process.start(program, args);
  if (!process.waitForStarted(5000)) return false;
  if (!input.isEmpty()) process.write(input);
  process.closeWriteChannel();
  return process.waitForFinished(15000) && process.exitStatus() == QProcess::NormalExit &&
         process.exitCode() == 0;
}

}  // namespace

std::string UnixUserFtpServer::Impossible() {
  if (geteuid() != 0) return "making a Unix user needs root";
  if (access(kVsftpd, X_OK) != 0) return "vsftpd is not installed";
  if (access("/usr/sbin/useradd", X_OK) != 0) return "useradd is missing";
  return "";
}

UnixUserFtpServer::UnixUserFtpServer() {
  if (const std::string why = Impossible(); !why.empty()) {
    Fail(why);
    return;
  }
  // The folder above the home must let the user through.
  chmod(dir_.path().toLocal8Bit().constData(), 0755);
  user_ = "qftp" + std::to_string(getpid());
  root_ = Dir() + user_ + "/";
  if (!MakeUser()) {
    Fail("could not make the Unix user " + user_);
    return;
  }
  const std::string empty = Dir() + "empty";
  std::filesystem::create_directories(empty);
  chmod(empty.c_str(), 0755);
  const std::string config = Dir() + "vsftpd.conf";
  const std::string reasons = Dir() + "vsftpd.out";
  process_.setChildProcessModifier([reasons] {
    const int fd = open(reasons.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd >= 0) dup2(fd, STDIN_FILENO);
  });
  const QByteArray token = NewToken();
  const auto launch = [&](uint16_t port) {
    WriteFile(config, "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nlisten_port=" +
                          std::to_string(port) +
                          "\nbackground=NO\nanonymous_enable=NO\nlocal_enable=YES\n"
                          "write_enable=YES\npam_service_name=vsftpd\nchroot_local_user=NO\n"
                          "seccomp_sandbox=NO\nisolate=NO\nisolate_network=NO\n"
                          "secure_chroot_dir=" +
                          empty +
                          "\nuse_localtime=NO\nxferlog_enable=NO\npasv_enable=YES\n"
                          "ftpd_banner=" +
                          token.toStdString() + "\n");
    chmod(config.c_str(), 0600);
    return Launch(kVsftpd, {QString::fromStdString(config)});
  };
  if (StartOnFreePort(launch, {}, "220 " + token)) return;
  Fail("vsftpd did not start for a local user: " + ReadFile(reasons) + Output());
}

bool UnixUserFtpServer::MakeUser() {
  // A login shell the system accepts for FTP (pam_shells), a home of its own.
  if (!RunTool("/usr/sbin/useradd", {"--create-home", "--home-dir", QString::fromStdString(root_),
                                     "--shell", "/bin/sh", QString::fromStdString(user_)})) {
    return false;
  }
  made_ = true;
  chmod(root_.c_str(), 0755);
  return RunTool("/usr/sbin/chpasswd", {},
                 QByteArray::fromStdString(user_ + ":" + password_ + "\n"));
}

UnixUserFtpServer::~UnixUserFtpServer() {
  Stop();
  if (made_) RunTool("/usr/sbin/userdel", {"--force", "--remove", QString::fromStdString(user_)});
}

}  // namespace quorrel::test
