// The Pascal formatter behind the dispatcher: the verdict written into the tab, the
// stops shown alone, and the re-formatter start mode saving what it changed.
#include <gtest/gtest.h>

#include "platform/Abort.h"
#include "shell/MyRich.h"
#include "support/ScriptedDialogs.h"
#include "validate/ValTestKit.h"

namespace quorrel::test {
namespace {

const char kMisIndented[] = "begin\r\nx;\r\nend.\r\n";
const char kReindented[] = "Begin\r\n  x;\r\nEnd.\r\n";

class ValidatePascalDispatch : public ValidationTest {
 protected:
  void SetUp() override {
    ValidationTest::SetUp();
    SetValidatorStandIn(nullptr);  // the real formatter
  }
  void TearDown() override {
    StartMode = StartNormal;
    ValidationTest::TearDown();
  }
};

TEST_F(ValidatePascalDispatch, ReformatterStartModeSavesTheChangedUnit) {
  Open("u.pas", kMisIndented);
  StartMode = StartReformatting;
  ValidateCurrentFile("");
  EXPECT_EQ(CurrentText, kReindented);
  EXPECT_EQ(Read(site + "u.pas"), kReindented);
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(Status(), "  Validated");
}

TEST_F(ValidatePascalDispatch, NormalModeLeavesTheSavingToTheUser) {
  Open("u.pas", kMisIndented);
  ValidateCurrentFile("");
  EXPECT_EQ(CurrentText, kReindented);
  EXPECT_EQ(Read(site + "u.pas"), kMisIndented);
  EXPECT_TRUE(CurrentEditor->Modified());
}

TEST_F(ValidatePascalDispatch, AnIncludeFileWithServerScriptIsNoPascal) {
  // ".INC" with "<%" is an ASP include: the formatter leaves it alone.
  Open("page.inc", "<% x %>\r\nbegin\r\nx;\r\nend.\r\n");
  ValidateCurrentFile("");
  EXPECT_EQ(CurrentText, "<% x %>\r\nbegin\r\nx;\r\nend.\r\n");
  Open("units.inc", kMisIndented);
  ValidateCurrentFile("");
  EXPECT_EQ(CurrentText, kReindented);
}

TEST_F(ValidatePascalDispatch, AStopInReformatterModeSavesNothing) {
  Open("u.pas", "begin\r\nx;\r\n");
  StartMode = StartReformatting;
  EXPECT_THROW(ValidateCurrentFile(""), EAbort);
  EXPECT_NE(Dialogs().Last().text.find("Indenting error - does not finish in column 1"),
            std::string::npos);
  // The re-indented text is shown, and the file stays as it was.
  EXPECT_EQ(CurrentText, "Begin\r\n  x;\r\n");
  EXPECT_EQ(Read(site + "u.pas"), "begin\r\nx;\r\n");
}

}  // namespace
}  // namespace quorrel::test
