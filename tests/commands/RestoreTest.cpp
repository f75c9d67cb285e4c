// "&Restore": the document and its back-up trade places safely, or not at all.
#include "commands/Restore.h"
#include "shell/SaveTestKit.h"
#include "support/ImmutableFile.h"
#include "support/ReadOnlyFolder.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::Slurp;

using RestoreTest = test::SaveFixture;

TEST_F(RestoreTest, SwapAndSwapBackGiveBothFilesBack) {
  const std::string current = "current \xE9\r\nline two\r\n";
  const std::string older = "older\r\n";
  const std::string path = Open("page.txt", current);
  Write("page.txt.Bak", older);
  for (const std::string& shown : {older, current}) {
    Dialogs().Answer(mrYes);
    ASSERT_TRUE(MainMenu().Click("RestoreM"));
    EXPECT_EQ(CurrentText, shown);
    EXPECT_FALSE(CurrentEditor->Modified());
  }
  EXPECT_EQ(Slurp(path), current);
  EXPECT_EQ(Slurp(path + ".Bak"), older);
  EXPECT_EQ(SiteFiles(), (std::vector<std::string>{"page.txt", "page.txt.Bak"}));
}

TEST_F(RestoreTest, ADocumentGoneFromDiskComesBackFromItsBackUp) {
  const std::string path = Open("gone.txt", "in the editor\r\n");
  Write("gone.txt.Bak", "saved before\r\n");
  fs::remove(path);
  Dialogs().Answer(mrYes);
  ASSERT_TRUE(MainMenu().Click("RestoreM"));
  EXPECT_EQ(Dialogs().Last().text.compare(0, 31, "Current file \t*** Not found ***"), 0);
  EXPECT_EQ(Slurp(path), "saved before\r\n");
  EXPECT_FALSE(fs::exists(path + ".Bak"));
  EXPECT_EQ(CurrentText, "saved before\r\n");
}

TEST_F(RestoreTest, ASwapTheSystemRefusesChangesNothing) {
  const std::string path = Open("page.txt", "current\r\n");
  Write("page.txt.Bak", "older\r\n");
  Type("edited\r\n");
  const std::string refused =
      "Unable to swap " + path + " with its back-up\r%s\rBoth files are unchanged.";
  struct Case {
    const char* what;
    std::function<bool()> lock;  // false: the system here cannot refuse this way
    const char* reason;
  };
  std::unique_ptr<test::ReadOnlyFolder> readOnly;
  std::unique_ptr<test::ImmutableFile> immutable;
  const Case cases[] = {
      {"a folder that cannot be changed",
       [&] { return (readOnly = std::make_unique<test::ReadOnlyFolder>(site))->Holds(); },
       "Permission denied"},
      {"an immutable document",
       [&] { return (immutable = std::make_unique<test::ImmutableFile>(path))->Holds(); },
       "Operation not permitted"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.lock()) {
      std::cout << "skipped: " << c.what << " (not root, or no such attribute here)\n";
      continue;
    }
    Dialogs().Clear();
    Dialogs().Answer(mrYes);
    EXPECT_FALSE(MainMenu().Click("RestoreM"));
    readOnly.reset();
    immutable.reset();
    std::string message = refused;
    message.replace(message.find("%s"), 2, c.reason);
    EXPECT_EQ(Dialogs().Last().text, message);
    EXPECT_EQ(Slurp(path), "current\r\n");
    EXPECT_EQ(Slurp(path + ".Bak"), "older\r\n");
    EXPECT_EQ(SiteFiles(), (std::vector<std::string>{"page.txt", "page.txt.Bak"}));
    EXPECT_EQ(CurrentEditor->GetText(), "edited\r\n");
    EXPECT_TRUE(CurrentEditor->Modified());
  }
}

}  // namespace
}  // namespace quorrel
