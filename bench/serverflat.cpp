// A flat listing of a whole site on a real FTP server on loopback (pyftpdlib): a
// generated site of 5,000 files in 200 folders, half of them with a local copy,
// listed and compared as the server window's Flat mode does it; then lftp's
// "mirror --dry-run" over the same server in the same run, the peer that walks a
// server tree the same way. Prints both times, the rows, and the listings sent.
//   bench_serverflat
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "publish/Connection.h"
#include "publish/ServerListing.h"
#include "shell/SiteState.h"
#include "support/FtpServer.h"

namespace {

constexpr int kFolders = 200;
constexpr int kFilesPerFolder = 25;

void Write(const std::string& path) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path) << "<p>" << path << "</p>\n";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quorrel;
  QCoreApplication app(argc, argv);
  setenv(ConnectedStateVariable, "1", 1);
  test::FtpServer server;
  if (!server.Running()) {
    std::fprintf(stderr, "no FTP server: %s\n", server.Problem().c_str());
    return 1;
  }
  const std::string site =
      (std::filesystem::temp_directory_path() / "quorrel-bench-flat-site/").string();
  std::filesystem::remove_all(site);
  for (int f = 0; f < kFolders; ++f) {
    const std::string folder =
        "public_html/f" + std::to_string(f / 20) + "/d" + std::to_string(f) + "/";
    for (int i = 0; i < kFilesPerFolder; ++i) {
      const std::string name = folder + "page" + std::to_string(i) + ".htm";
      Write(server.Root() + name);
      if (i % 2 == 0) Write(site + name);
    }
  }

  SetOnline(true);
  ServerName = "127.0.0.1";
  ServerPort = server.Port();
  ServerUser = server.User();
  ServerPassword = server.Password();
  SiteHasServer = true;
  SiteFolder = site;
  WebRootPath = "public_html/";
  FlatListing = true;
  EnsureConnected();
  if (!FtpConnected()) {
    std::fprintf(stderr, "could not connect\n");
    return 1;
  }
  const size_t before = server.Commands().size();
  QElapsedTimer timer;
  timer.start();
  ListFlat();
  const double ours = timer.nsecsElapsed() / 1e6;
  const std::vector<std::string> all = server.Commands();
  const auto listings = std::count(all.begin() + static_cast<long>(before), all.end(), "MLSD");
  const auto perFile = std::count(all.begin() + static_cast<long>(before), all.end(), "MDTM") +
                       std::count(all.begin() + static_cast<long>(before), all.end(), "SIZE");
  std::printf(
      "Flat listing: %.0f ms, %zu rows, %ld folder listings (MLSD), %ld per-file commands\n", ours,
      ServerList.rows.size(), static_cast<long>(listings), static_cast<long>(perFile));
  CloseInternet();

  const std::string target =
      (std::filesystem::temp_directory_path() / "quorrel-bench-flat-lftp").string();
  QProcess lftp;
  timer.restart();
  lftp.start("lftp", {"-u", QString::fromStdString(server.User() + "," + server.Password()), "-p",
                      QString::number(server.Port()), "-e",
                      QString::fromStdString("set ftp:passive-mode on; mirror --dry-run / " +
                                             target + "; bye"),
                      "127.0.0.1"});
  if (!lftp.waitForFinished(600000) || lftp.exitCode() != 0) {
    std::fprintf(stderr, "lftp failed (scripts/install-deps installs it): %s\n",
                 lftp.readAllStandardError().constData());
    return 1;
  }
  const double peer = timer.nsecsElapsed() / 1e6;
  std::printf("lftp mirror --dry-run over the same server: %.0f ms\n", peer);
  std::filesystem::remove_all(site);
  return 0;
}
