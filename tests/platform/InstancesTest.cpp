#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "platform/Instances.h"
#include "platform/Paths.h"

namespace quorrel {
namespace {

class InstancesTest : public ::testing::Test {
 protected:
  void TearDown() override { UnregisterInstance(); }
};

// A second instance in a real process of its own: it registers with a title,
// says so, and exits (without taking itself off the list, as after a crash) when told.
class ChildInstance {
 public:
  explicit ChildInstance(const std::string& title) {
    int ready[2], go[2];
    if (pipe(ready) != 0 || pipe(go) != 0) abort();
    pid_ = fork();
    if (pid_ == 0) {
      RegisterInstance(title);
      char c = 1;
      if (write(ready[1], &c, 1) != 1) _exit(2);
      if (read(go[0], &c, 1) != 1) _exit(3);
      _exit(0);
    }
    char c;
    if (read(ready[0], &c, 1) != 1) abort();
    close(ready[0]);
    close(ready[1]);
    close(go[0]);
    goFd_ = go[1];
  }
  void Exit() {
    char c = 1;
    if (write(goFd_, &c, 1) != 1) abort();
    close(goFd_);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_;
  int goFd_;
};

TEST_F(InstancesTest, AnInstanceAloneSeesNoOther) {
  RegisterInstance("Quorrel");
  EXPECT_EQ(OtherLiveInstances(), 0);
  EXPECT_EQ(LiveInstanceTitles(), std::vector<std::string>{"Quorrel"});
  SetInstanceTitle("/site/a.htm - Quorrel v. 1.921, 16-Jun-26");
  EXPECT_EQ(CountInstanceWindows("- Quorrel v."), 1);
  UnregisterInstance();
  EXPECT_TRUE(LiveInstanceTitles().empty());
}

TEST_F(InstancesTest, ASecondProcessCountsWhileItLivesAndNotAfterItDies) {
  RegisterInstance("Quorrel");
  ChildInstance child("/site/b.css - Quorrel v. 1.921, 16-Jun-26");
  EXPECT_EQ(OtherLiveInstances(), 1);
  EXPECT_EQ(CountInstanceWindows("- Quorrel v."), 1) << "this instance has no document yet";
  EXPECT_EQ(LiveInstanceTitles().size(), 2u);
  std::string entry = InstanceFolder() + std::to_string(child.Pid());
  EXPECT_TRUE(FileExists(entry));
  child.Exit();  // ends without taking itself off the list
  EXPECT_EQ(OtherLiveInstances(), 0);
  EXPECT_FALSE(FileExists(entry)) << "a dead instance's entry is cleared away";
}

TEST_F(InstancesTest, EntriesOfDeadOrReusedProcessesDoNotCount) {
  // A process id that no process has, and a live process (init) whose start time
  // is not the one the entry recorded: the id was taken by another program.
  std::ofstream(InstanceFolder() + "4194303") << "12345\nold - Quorrel v. 1\n";
  std::ofstream(InstanceFolder() + "1") << "999999999999\nold - Quorrel v. 1\n";
  EXPECT_EQ(OtherLiveInstances(), 0);
  EXPECT_EQ(CountInstanceWindows("- Quorrel v."), 0);
}

}  // namespace
}  // namespace quorrel
