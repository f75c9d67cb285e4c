#include "platform/Instances.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/Paths.h"

namespace quorrel {

namespace {

// The start time of a process in clock ticks since boot (field 22 of its stat
// line), which tells a live instance from an unrelated process that got the same
// id later. "" when the process does not exist.
std::string StartTimeOf(long pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(in, line)) return "";
  // The command name in parentheses may hold blanks: count fields after it.
  size_t close = line.rfind(')');
  if (close == std::string::npos) return "";
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {
    if (i == 22) return field;
  }
  return "";
}

bool IsAlive(long pid, const std::string& startTime) {
  if (kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) return false;
  std::string now = StartTimeOf(pid);
  // Without /proc the signal test alone decides.
  return now.empty() || startTime.empty() || now == startTime;
}

std::string EntryPath(long pid) {
  return InstanceFolder() + std::to_string(pid);
}

struct TEntry {
  long pid;
  std::string title;
};

// The live entries; the files of dead instances are removed on the way.
std::vector<TEntry> LiveEntries() {
  std::vector<TEntry> entries;
  std::string folder = InstanceFolder();
  DIR* dir = opendir(folder.c_str());
  if (!dir) return entries;
  while (dirent* e = readdir(dir)) {
    std::string name = e->d_name;
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    long pid = std::stol(name);
    std::ifstream in(folder + name, std::ios::binary);
    std::string startTime, title;
    std::getline(in, startTime);
    std::getline(in, title);
    if (IsAlive(pid, startTime)) {
      entries.push_back({pid, title});
    } else {
      std::remove((folder + name).c_str());
    }
  }
  closedir(dir);
  return entries;
}

}  // namespace

std::string InstanceFolder() {
  std::string folder = TempFolder() + "instances/";
  mkdir(folder.c_str(), 0700);
  return folder;
}

void RegisterInstance(const std::string& title) {
  long pid = getpid();
  std::string path = EntryPath(pid);
  // Written whole under another name, then renamed, so a reader never sees half an entry.
  std::string temp = path + ".new";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << StartTimeOf(pid) << '\n' << title << '\n';
  }
  std::rename(temp.c_str(), path.c_str());
}

void SetInstanceTitle(const std::string& title) {
  RegisterInstance(title);
}

void UnregisterInstance() {
  std::remove(EntryPath(getpid()).c_str());
}

int OtherLiveInstances() {
  long self = getpid();
  int count = 0;
  for (const auto& e : LiveEntries()) {
    if (e.pid != self) ++count;
  }
  return count;
}

std::vector<std::string> LiveInstanceTitles() {
  std::vector<std::string> titles;
  for (const auto& e : LiveEntries()) titles.push_back(e.title);
  return titles;
}

int CountInstanceWindows(const std::string& fragment) {
  int count = 0;
  for (const auto& e : LiveEntries()) {
    if (e.title.find(fragment) != std::string::npos) ++count;
  }
  return count;
}

}  // namespace quorrel
