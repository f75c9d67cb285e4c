// Report tabs: making a document's tab current by its slot, and the "Untitled"
// document that report-writing tools write into.
#include <gtest/gtest.h>

#include "shell/MenuModel.h"
#include "validate/ValTestKit.h"

namespace quorrel::test {
namespace {

class ReportTabsTest : public ValidationTest {};

TEST_F(ReportTabsTest, ShowFileTabActivatesTheSlotsTab) {
  Open("one.htm", "<p>one</p>\n");
  Open("two.txt", "two\r\nlines\r\n");
  CurrentEditor->Select(5, 0);
  ShowFileTab(0, false);
  EXPECT_EQ(window.ActiveTab(), 0);
  EXPECT_EQ(CurrentFileName, site + "one.htm");
  EXPECT_EQ(CurrentText, "<p>one</p>\n");

  CurrentEditor->Select(4, 0);
  ShowFileTab(1, true);
  EXPECT_EQ(CurrentFileName, site + "two.txt");
  EXPECT_EQ(CurrentText, "two\r\nlines\r\n");
  EXPECT_EQ(CurrentEditor->SelStart(), 0u);
}

TEST_F(ReportTabsTest, ShowFileTabOfASlotWithoutATabChangesNothing) {
  Open("one.htm", "<p>one</p>\n");
  Open("two.htm", "<p>two</p>\n");
  ShowFileTab(7, true);
  EXPECT_EQ(window.ActiveTab(), 1);
  EXPECT_EQ(CurrentFileName, site + "two.htm");
}

TEST_F(ReportTabsTest, UseUntitledTabOpensANewPlainDocumentOnce) {
  AppPhase = 1;
  Open("page.htm", "<p>page</p>\n");
  UseUntitledTab();
  ASSERT_EQ(window.TabCount(), 2);
  EXPECT_EQ(window.ActiveTab(), 1);
  EXPECT_EQ(CurrentFileName.compare(0, 8, "Untitled"), 0) << CurrentFileName;
  EXPECT_EQ(CurrentEditor->GetText(), "");
  const std::string untitled = CurrentFileName;

  // The next report reuses it, from wherever the user is.
  ShowFileTab(0, false);
  UseUntitledTab();
  EXPECT_EQ(window.TabCount(), 2);
  EXPECT_EQ(window.ActiveTab(), 1);
  EXPECT_EQ(CurrentFileName, untitled);
}

}  // namespace
}  // namespace quorrel::test
