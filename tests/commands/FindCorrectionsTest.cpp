// "Find correction" and Next over "[Corrections]": the characters a validator
// coloured RGB(255, 0, 1), visited in turn, in an RTF document.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/FindTestKit.h"

namespace quorrel::test {
namespace {

// An RTF document with runs in the correction colour (colour 1) and one in a red
// that is nearly it (colour 2).
std::string Rtf(const std::string& body) {
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
         "{\\colortbl ;\\red255\\green0\\blue1;\\red255\\green0\\blue0;}\r\n"
         "\\viewkind4\\uc1\\pard\\f0\\fs24 " +
         body + "\\par\r\n}\r\n";
}

class FindCorrectionsTest : public FindTest {
 protected:
  // Where Find correction, then Next after Next, put the caret until nothing is found.
  std::vector<size_t> Visits() {
    std::vector<size_t> visits;
    MainMenu().Click("FindCorr");
    for (int guard = 0; FindState.found && guard < 20; ++guard) {
      EXPECT_EQ(CurrentEditor->SelLength(), 0u);
      visits.push_back(CurrentEditor->SelStart());
      Command("FRNext");
    }
    return visits;
  }
  size_t At(const std::string& word) const { return Text().find(word); }
};

TEST_F(FindCorrectionsTest, EachCorrectionInTurnThenNotFound) {
  Open("three.rtf",
       Rtf("one \\cf1 AA\\cf0  two \\cf2 red\\cf0  \\cf1 B\\cf0  three\\par\r\n"
           "four \\cf1 CC\\cf0  end"));
  ASSERT_TRUE(IsRtf);
  EXPECT_EQ(Visits(), (std::vector<size_t>{At("AA"), At("B "), At("CC") - 1}));
  EXPECT_EQ(FindAnswers.findText, "[Corrections]");
  EXPECT_EQ(Status(), "  Not found: \"[Corrections]\"");
}

TEST_F(FindCorrectionsTest, ADocumentEndingInACorrectionStops) {
  Open("end.rtf", Rtf("plain \\cf1 Z"));
  // Positions of the editor: "plain Z", the correction last.
  EXPECT_EQ(Visits(), std::vector<size_t>{6});
  EXPECT_FALSE(FindState.found);
}

TEST_F(FindCorrectionsTest, FromTheLastCharactersTheSearchStartsAtTheTop) {
  Open("top.rtf", Rtf("\\cf1 X\\cf0  middle text"));
  CurrentEditor->Select(CurrentEditor->TextLength() - 1, 0);
  MainMenu().Click("FindCorr");
  EXPECT_EQ(CurrentEditor->SelStart(), 0u);
  EXPECT_TRUE(FindState.found);
}

}  // namespace
}  // namespace quorrel::test
