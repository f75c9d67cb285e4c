#pragma once
// What the benchmarks of the real window share: a home of their own and the
// user's answers.
#include <unistd.h>

#include <QByteArray>
#include <filesystem>
#include <string>

#include "commands/FindState.h"
#include "platform/UserDialogs.h"

namespace bench {

// A home of its own, so that the run neither reads nor touches the user's settings.
// Beside the program, not in the system's temporary folder: the tab change looks
// for the site details case-insensitively in every folder above the document, and
// a busy /tmp of tens of thousands of names is not where users keep documents.
inline std::filesystem::path MakeBenchHome(const std::string& name) {
  const std::filesystem::path folder =
      std::filesystem::read_symlink("/proc/self/exe").parent_path() /
      ("quorrel-bench-" + name + "-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder / "home");
  qputenv("HOME", (folder / "home").string().c_str());
  qputenv("XDG_CONFIG_HOME", (folder / "home" / ".config").string().c_str());
  qputenv("XDG_DATA_HOME", (folder / "home" / ".local/share").string().c_str());
  return folder;
}

// The Find dialog closed with OK.
class OkFindDialog : public quorrel::TFindDialog {
 public:
  bool Execute(const quorrel::TFindRequest&) override { return true; }
};

// Every question answered with one answer; messages just closed.
class AnswerAll : public quorrel::TUserDialogs {
 public:
  explicit AnswerAll(int answer) : answer_(answer) {}
  int ShowBox(const quorrel::DialogCall& call) override {
    last = call.text;
    return call.kind == quorrel::DialogKind::Message ? quorrel::mrOk : answer_;
  }
  std::string last;  // why a run stopped

 private:
  int answer_;
};

}  // namespace bench
