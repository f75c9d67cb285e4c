#pragma once
// Shared by the server window's listing tests: a site folder, a real server, and
// the window as core sees it.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ConnectionTestSupport.h"
#include "publish/Connection.h"
#include "publish/ServerListing.h"
#include "shell/SiteState.h"
#include "support/FtpServer.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "support/TimeZone.h"

namespace quorrel::test {

namespace fs = std::filesystem;

constexpr int64_t kMidnight = 1746489600;  // 6 May 2025 00:00 UTC
constexpr int64_t kHour = 3600;
constexpr int64_t kMinute = 60;
constexpr int64_t kTen = kMidnight + 10 * kHour;
constexpr int NoRow = -2;

// The window as core sees it: always active, and it remembers being closed.
class TestServerView : public TServerView {
 public:
  void ListingChanged() override { ++changes; }
  void ShowCounter(const std::string& text) override { counters.push_back(text); }
  bool IsActive() const override { return true; }
  void ShowModal() override {}
  void Close() override { ++closed; }
  bool FlatTicked() const override { return !flatTicked || flatTicked(); }
  std::function<bool()> flatTicked;
  int changes = 0;
  int closed = 0;
  std::vector<std::string> counters;
};

class ServerListingTestBase : public ConnectionTestBase {
 protected:
  void SetUp() override {
    ConnectionTestBase::SetUp();
    site_ = TestHome() + "site/";
    fs::remove_all(site_);
    fs::create_directories(site_);
    SiteFolder = site_;
    SetServerView(&view_);
  }
  void TearDown() override {
    SetServerView(nullptr);
    fs::remove_all(site_);
    ConnectionTestBase::TearDown();
  }

  void Connect(const FtpServer& server) {
    ASSERT_TRUE(server.Running()) << server.Problem();
    UseServer(server.Port());
    LastConnectTime = 0;
    EnsureConnected();
    ASSERT_TRUE(FtpConnected());
  }
  static void Put(const std::string& path, int64_t time, const std::string& bytes = "x") {
    WriteFile(path, bytes);
    SetFileTime(path, time);
  }
  // Icon of each row by name.
  static std::map<std::string, int> Icons() {
    std::map<std::string, int> icons;
    for (const TServerRow& row : ServerList.rows) icons[row.name] = row.icon;
    return icons;
  }
  static std::vector<std::string> RowNames() {
    std::vector<std::string> names;
    for (const TServerRow& row : ServerList.rows) names.push_back(row.name);
    return names;
  }
  static std::map<std::string, int> Nodes(const TServerNode& node) {
    std::map<std::string, int> states;
    for (const TServerNode& child : node.children) states[child.name] = child.state;
    return states;
  }

  TimeZone utc_{"UTC"};
  std::string site_;
  TestServerView view_;
};

}  // namespace quorrel::test
