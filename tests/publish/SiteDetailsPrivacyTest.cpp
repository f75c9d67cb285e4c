// "Data.FTP" holds the server password: whatever writes to it leaves it to its
// owner alone, while reading one that others can read changes nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "publish/Connection.h"
#include "publish/SiteDetails.h"
#include "publish/SiteDetailsDialog.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "support/SiteFixture.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

class SiteDetailsPrivacyTest : public test::SiteFixture {
 protected:
  void SetUp() override {
    SiteFixture::SetUp();
    OpenDocument(site_ + "public_html/index.htm");
    OnlineTicked = false;
  }

  int Mode(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
  }
};

TEST_F(SiteDetailsPrivacyTest, EachWriterNarrowsAFileOthersCouldRead) {
  const std::string dataFtp = site_ + "Data.FTP";
  struct Case {
    const char* what;
    const char* details;
    std::function<void()> write;
  } cases[] = {
      // No web root in the set: the lookup guesses one and writes it back.
      {"the lookup writing the web root it guessed",
       "[System]\r\nSection=1\r\n[1]\r\nFTPAddr=127.0.0.1\r\nUser=alice\r\n"
       "Password=AC9A9C8D9A8BCEDE\r\n",
       [&] { LoadServerDetails(CurrentFileName); }},
      {"the dialog switching to another set",
       "[System]\r\nSection=1\r\n[1]\r\nFTPAddr=127.0.0.1\r\nUser=alice\r\n"
       "Password=AC9A9C8D9A8BCEDE\r\nWebRoot=public_html/\r\n[3]\r\nFTPAddr=None\r\n",
       [&] {
         LoadServerDetails(CurrentFileName);
         TServerFields fields;
         EXPECT_EQ(ChooseServerSet(3, 1, fields), 3);
       }},
      {"the dialog's save",
       "[System]\r\nSection=1\r\n[1]\r\nFTPAddr=127.0.0.1\r\nUser=alice\r\n"
       "Password=AC9A9C8D9A8BCEDE\r\nWebRoot=public_html/\r\n",
       [&] {
         LoadServerDetails(CurrentFileName);
         DoSave(dataFtp);
       }},
  };
  for (const Case& c : cases) {
    test::WriteFile(dataFtp, c.details);
    ASSERT_EQ(chmod(dataFtp.c_str(), 0644), 0);
    // Read afresh: the details stay cached while the document is in the site.
    SiteFolder = "?";
    ServerName.clear();
    c.write();
    EXPECT_EQ(ServerPassword, "Secret1!") << c.what << ": the file still reads";
    EXPECT_EQ(Mode(dataFtp), 0600) << c.what;
  }
}

TEST_F(SiteDetailsPrivacyTest, ReadingAFileOthersCanReadLeavesItAsItIs) {
  const std::string dataFtp = site_ + "Data.FTP";
  test::WriteFile(dataFtp,
                  "[System]\r\nSection=1\r\n[1]\r\nFTPAddr=127.0.0.1\r\nUser=alice\r\n"
                  "Password=AC9A9C8D9A8BCEDE\r\nWebRoot=public_html/\r\n");
  ASSERT_EQ(chmod(dataFtp.c_str(), 0644), 0);
  ASSERT_TRUE(LoadServerDetails(CurrentFileName));
  EXPECT_EQ(ServerPassword, "Secret1!");
  EXPECT_EQ(Mode(dataFtp), 0644);
}

}  // namespace
}  // namespace quorrel
