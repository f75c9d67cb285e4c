// The Debug comparison of a validator's input and output: its messages, and the
// two work files for the outside compare program.
#include <gtest/gtest.h>

#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "validate/ValTestKit.h"

namespace quorrel::test {
namespace {

class CompareTest : public ValidationTest {
 protected:
  void SetUp() override {
    ValidationTest::SetUp();
    MainMenu().SetChecked("Debug", true);
  }
};

TEST_F(CompareTest, NothingWithoutTheDebugOption) {
  MainMenu().SetChecked("Debug", false);
  CompareInputOutput("abc", "abd");
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(CompareTest, ShorterOutputThenNoDifferenceInTheCommonPart) {
  const std::string input = "<p>0123456789abcdefghij</p>\n";
  const std::string output = "<p>0123456789abcdefghij";
  CompareInputOutput(input, output);
  EXPECT_EQ(Dialogs().Texts(),
            (std::vector<std::string>{
                MessageText("Input is 28 bytes but output is 23 bytes.\rInput ends: "
                            "[9abcdefghij</p>\n]\rOutput ends: [456789abcdefghij]"),
                MessageText("No difference!")}));
}

TEST_F(CompareTest, SameEndsAreNotRepeated) {
  Dialogs().Answer(mrNo);  // to the comparison of the two from their starts
  CompareInputOutput("xx0123456789abcdef", "0123456789abcdef");
  ASSERT_GE(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Calls()[0].text, MessageText("Input is 18 bytes but output is 16 bytes."));
}

TEST_F(CompareTest, FirstDifferenceWithBothExcerpts) {
  const std::string input = "<HTML>\n<P>" + std::string(80, 'a');
  const std::string output = "<HTML>\n<p>" + std::string(80, 'a');
  ValidationPass = 2;
  Dialogs().Answer(mrNo);
  CompareInputOutput(input, output);
  ASSERT_EQ(Dialogs().Calls().size(), 2u);
  EXPECT_EQ(Dialogs().Calls()[0].text,
            ">>> INPUT IS Chr(80).  OUTPUT IS Chr(112). <<<\r\rScan 3: First difference is at "
            "offset 9 (at start of this text):\r======= INPUT =======\r" +
                input.substr(8, 70) + "\r======= OUTPUT ======\r" + output.substr(8, 70));
  EXPECT_EQ(Dialogs().Calls()[1].text, "Compare with ExamDiff?");
  EXPECT_FALSE(FileExists(TempFolder() + "Old.htm"));
}

TEST_F(CompareTest, YesWritesBothTextsForTheCompareProgram) {
  SettingsIni->WriteString("System", "ExamDiff", "true");  // a compare program that shows nothing
  Dialogs().Answer(mrYes);
  CompareInputOutput("caf\xE9 <b>\n", "caf&#233; <b>\n");
  EXPECT_EQ(Read(TempFolder() + "Old.htm"), "caf\xE9 <b>\n");
  EXPECT_EQ(Read(TempFolder() + "New.htm"), "caf&#233; <b>\n");
  // A byte above 127 is given as its code, not as a negative number.
  EXPECT_NE(Dialogs().Calls()[0].text.find("INPUT IS Chr(233)"), std::string::npos);
  std::filesystem::remove(TempFolder() + "Old.htm");
  std::filesystem::remove(TempFolder() + "New.htm");
}

}  // namespace
}  // namespace quorrel::test
