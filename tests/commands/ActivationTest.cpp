// The activation check: a document changed on disk is offered for reload once per
// change, work files reload on their own unless they hold edits, a vanished
// document offers its back-up, and the lock keys are reported.
#include "commands/Activation.h"
#include "commands/Restore.h"
#include "platform/Paths.h"
#include "platform/Sound.h"
#include "publish/ServerListing.h"
#include "publish/Transfers.h"
#include "shell/Commands.h"
#include "shell/Documents.h"
#include "shell/SaveTestKit.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::MTime;
using test::SetMTime;
using test::Slurp;

class ActivationTest : public test::SaveFixture {
 protected:
  // Another program writes the file: new bytes and a later time.
  void WriteElsewhere(const std::string& path, const std::string& bytes, int64_t later) {
    const int64_t before = MTime(path);
    std::ofstream(path, std::ios::binary) << bytes;
    SetMTime(path, before + later);
  }
};

// A main window whose lock keys the test sets.
class LockWindow : public test::MemoryMainWindow {
 public:
  bool LockKeyState(bool& capsLock, bool& numLock) const override {
    capsLock = caps;
    numLock = num;
    return known;
  }
  bool caps = false, num = false, known = true;
};

TEST_F(ActivationTest, AFileChangedOnDiskIsOfferedForReloadOncePerChange) {
  const std::string path = Open("a.txt", "first line\r\nsecond\r\n");
  CurrentEditor->Select(4, 0);
  WriteElsewhere(path, "FIRST LINE\r\nsecond\r\n", 10);
  Dialogs().Answer(mrNo);
  ApplicationActivate();
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, path + "\rTimestamp has changed.  Reload file?");
  EXPECT_EQ(Dialogs().Last().kind, DialogKind::YesNo);
  EXPECT_EQ(CurrentEditor->GetText(), "first line\r\nsecond\r\n");

  // Answered once: neither the next activation nor a tab change asks again.
  ApplicationActivate();
  PCChange();
  EXPECT_EQ(Dialogs().Calls().size(), 1u);

  WriteElsewhere(path, "changed again\r\nsecond\r\n", 20);
  Dialogs().Answer(mrYes);
  MyActivate();
  EXPECT_EQ(Dialogs().Calls().size(), 2u);
  EXPECT_EQ(CurrentText, "changed again\r\nsecond\r\n");
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(CurrentEditor->SelStart(), 4u) << "the caret stays where it was";
  EXPECT_EQ(FileAges[CurrentEditor->Tag()], MTime(path));
  ApplicationActivate();
  EXPECT_EQ(Dialogs().Calls().size(), 2u);
}

TEST_F(ActivationTest, WorkFilesReloadWithoutAskingButNeverDropEdits) {
  const std::string work = TempFolder() + "listing.txt";
  std::ofstream(work, std::ios::binary) << "one\r\n";
  OpenInNewTab(work);
  WriteElsewhere(work, "two\r\n", 10);
  MyActivate();
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_EQ(CurrentText, "two\r\n");

  Type("typed here\r\n");
  WriteElsewhere(work, "three\r\n", 20);
  Dialogs().Answer(mrNo);
  MyActivate();
  EXPECT_EQ(Dialogs().Last().text, work + "\rTimestamp has changed.  Reload file?");
  EXPECT_EQ(CurrentEditor->GetText(), "typed here\r\n");
  fs::remove(work);

  // A build rewrites the pages it opens: they come back without a question.
  const std::string page = Open("built.txt", "old\r\n");
  WriteElsewhere(page, "built\r\n", 10);
  RunCommand("BuildAll", [] { MyActivate(); });
  EXPECT_EQ(CurrentText, "built\r\n");
}

TEST_F(ActivationTest, AVanishedDocumentOffersItsBackUpOnce) {
  const std::string path = Open("gone.txt", "v1\r\n");
  Type("v2\r\n");
  ASSERT_TRUE(MainMenu().Click("Save"));
  fs::remove(path);
  Dialogs().Answer(mrNo);
  MyActivate();
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, RestoreQuestion(path, false));
  EXPECT_EQ(Dialogs().Last().text.compare(0, 31, "Current file \t*** Not found ***"), 0);
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(CurrentEditor->GetText(), "v2\r\n");
  MyActivate();
  EXPECT_EQ(Dialogs().Calls().size(), 1u) << "declined: not offered again";

  const std::string lost = Open("lost.txt", "w1\r\n");
  Type("w2\r\n");
  ASSERT_TRUE(MainMenu().Click("Save"));
  fs::remove(lost);
  Type("w3, not saved\r\n");
  RunCommand("DeleteF", [] { MyActivate(); });
  EXPECT_EQ(Dialogs().Calls().size(), 1u) << "not while the document is being deleted";

  Dialogs().Answer(mrYes);
  MyActivate();
  ASSERT_EQ(Dialogs().Calls().size(), 2u);
  EXPECT_NE(Dialogs().Last().text.find("\r\nCurrent changes will be lost.\r\nSwap files? Y/N"),
            std::string::npos);
  EXPECT_EQ(Slurp(lost), "w1\r\n");
  EXPECT_FALSE(fs::exists(lost + ".Bak"));
  EXPECT_EQ(CurrentText, "w1\r\n");
  EXPECT_FALSE(CurrentEditor->Modified());
}

TEST_F(ActivationTest, LockKeysAreReportedWhenTheProgramComesBackAndTheOptionIsTicked) {
  LockWindow locks;
  SetMainWindow(&locks);
  std::vector<std::string> sounds;
  SetSoundPlayer([&sounds](const std::string& name) { sounds.push_back(name); });
  struct Case {
    bool option, caps, num, known, byApplication, reported;
  } cases[] = {
      {true, true, false, true, true, true},
      {true, false, true, true, true, true},
      {true, true, true, true, false, false},
      {false, true, false, true, true, false},
      {true, false, false, true, true, false},
      {true, true, true, false, true, false},  // the desktop cannot tell
  };
  for (const Case& c : cases) {
    sounds.clear();
    locks.SetStatusText(MessagePanel, "");
    MainMenu().SetChecked("WarnLocks", c.option);
    locks.caps = c.caps;
    locks.num = c.num;
    locks.known = c.known;
    c.byApplication ? ApplicationActivate() : MyActivate();
    EXPECT_EQ(locks.StatusText(MessagePanel) == "  CAPS LOCK or NUM LOCK on", c.reported);
    EXPECT_EQ(sounds == std::vector<std::string>{"On"}, c.reported);
  }
  SetSoundPlayer(nullptr);
  SetMainWindow(&window);
}

TEST_F(ActivationTest, TheBrowserAndTheServerWindowTakePartWhenActive) {
  const std::string path = Open("site.txt", "text\r\n");
  bool browser = false, server = false;
  int focused = 0, refreshed = 0;
  SetActivationWindows(
      {[&] { return browser; }, [&] { ++focused; }, [&] { return server; }, [&] { ++refreshed; }});
  browser = true;
  MyActivate();
  EXPECT_EQ(focused, 1);
  EXPECT_EQ(refreshed, 0);

  browser = false;
  server = true;
  MainMenu().SetChecked("Online", true);
  StdCursor();  // as the idle pass leaves it
  WriteElsewhere(path, "changed\r\n", 10);
  MyActivate();
  EXPECT_EQ(refreshed, 1);
  EXPECT_TRUE(Dialogs().Calls().empty()) << "the server window's own work comes first";
  MainMenu().SetChecked("Online", false);
  MyActivate();
  EXPECT_EQ(refreshed, 1);

  // Nor under a listing, a transfer or any other busy spell.
  MainMenu().SetChecked("Online", true);
  {
    const TListingRun listing;
    StdCursor();
    MyActivate();
  }
  {
    const TTransferProgress transfer(false);
    MyActivate();
  }
  window.SetBusyCursor(true);
  MyActivate();
  EXPECT_EQ(refreshed, 1);
  StdCursor();
  MyActivate();
  EXPECT_EQ(refreshed, 2);
  MainMenu().SetChecked("Online", false);

  server = false;
  Dialogs().Answer(mrNo);
  MyActivate();
  EXPECT_EQ(Dialogs().Calls().size(), 1u);
}

}  // namespace
}  // namespace quorrel
