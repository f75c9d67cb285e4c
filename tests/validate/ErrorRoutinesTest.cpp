// The validators' error routines on real documents: the caret lands on the
// character an offset of CurrentText names, in LF and in CR LF working copies; the
// messages; the working copy re-read after a style block.
#include <gtest/gtest.h>

#include "platform/Abort.h"
#include "shell/BlinkJob.h"
#include "shell/DBoxUnit.h"
#include "support/MemoryRich.h"
#include "support/ScriptedDialogs.h"
#include "validate/ValTestKit.h"

namespace quorrel::test {
namespace {

class ErrorRoutinesTest : public ValidationTest {
 protected:
  // The character at the caret, as the editor shows it.
  static std::string AtCaret() { return CurrentEditor->TextRange(CurrentEditor->SelStart(), 1); }
};

// An HTML working copy has one character per line end, any other two: each offset
// of a visible character must put the caret on that very character.
TEST_F(ErrorRoutinesTest, EveryOffsetLandsOnItsCharacter) {
  const std::string text = "<p>one</p>\r\n\r\n<p>two\r\nthree</p>\r\nend\r\n";
  for (const std::string name : {"page.htm", "notes.txt"}) {
    Open(name, text);
    const bool lf = name == "page.htm";
    ASSERT_EQ(CurrentText.find('\r') == std::string::npos, lf) << name;
    for (size_t i = 0; i < CurrentText.size(); ++i) {
      const char c = CurrentText[i];
      if (c == '\r' || c == '\n') continue;
      CurrentEditor->Select(0, 0);
      EXPECT_THROW(RaiseErrorAt("", static_cast<long>(i)), EAbort);
      EXPECT_EQ(AtCaret(), std::string(1, c)) << name << " offset " << i;
      CurrentEditor->Select(0, 0);
      EXPECT_THROW(RaiseAtOffset("x", static_cast<long>(i) + 1), EAbort);
      EXPECT_EQ(AtCaret(), std::string(1, c)) << name << " index " << i + 1;
    }
  }
}

TEST_F(ErrorRoutinesTest, RaiseErrorAtShowsTheOffsetAfterTheMessageAndTheErrorBlinks) {
  Open("notes.txt", "first\r\nsecond bad\r\n");
  const long offset = static_cast<long>(CurrentText.find("bad"));  // 14 in CR LF text
  CurrentCommand = "Validate";
  EXPECT_THROW(RaiseErrorAt("Bad word", offset), EAbort);
  EXPECT_EQ(TimerJob, CaretRefreshJob);
  EXPECT_EQ(BlinkStart, 13);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, MessageText("Bad word\rat offset 14"));
  EXPECT_EQ(CurrentEditor->SelStart(), 13u);  // one line end less
  EXPECT_EQ(CurrentCommand, "");
  EXPECT_TRUE(static_cast<MemoryRich*>(CurrentEditor)->HasFocus());
}

TEST_F(ErrorRoutinesTest, RaiseErrorAtWithoutAMessageOnlyMovesTheCaret) {
  Open("page.htm", "<p>\n<b>x\n");
  EXPECT_THROW(RaiseErrorAt("", 5), EAbort);
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_EQ(CurrentEditor->SelStart(), 5u);
  EXPECT_EQ(AtCaret(), "b");
}

TEST_F(ErrorRoutinesTest, RaiseAtOffsetShowsTheZeroBasedOffsetFirst) {
  struct Case {
    long index;
    std::string message;
    size_t caret;
  } cases[] = {
      {1, "At offset 0\rUnterminated comment.", 0},
      {7, "At offset 6\rUnterminated comment.", 5},   // index 7 is the "c" of the second line
      {0, "At offset -1\rUnterminated comment.", 0},  // before the text: the caret stays in it
  };
  for (const auto& c : cases) {
    Open("data.xml", "<a>\r\nbcdef\r\n");
    Dialogs().Clear();
    CurrentCommand = "Validate";
    ResetBlinkJob();
    EXPECT_THROW(RaiseAtOffset("Unterminated comment.", c.index), EAbort);
    EXPECT_EQ(TimerJob, 0) << "no blink";
    ASSERT_EQ(Dialogs().Calls().size(), 1u) << c.index;
    EXPECT_EQ(Dialogs().Last().text, MessageText(c.message)) << c.index;
    EXPECT_EQ(CurrentEditor->SelStart(), c.caret) << c.index;
    EXPECT_EQ(CurrentCommand, "") << c.index;
  }
}

TEST_F(ErrorRoutinesTest, AfterAStyleBlockTheWorkingCopyFollowsTheEditorAgain) {
  for (bool dotPage : {false, true}) {
    if (dotPage) {
      Open("master.rtf", "{\\rtf1\\ansi .PG index|Home\\par text\\par }");
    } else {
      Open("page.htm", "<style>\np{}\n</style>\n");
    }
    const std::string editorCopy = CurrentText;
    CurrentText = "the CSS validator's block";
    CheckingStyleBlock = true;
    EXPECT_THROW(RaiseErrorAt("Missing \"}\"", 3), EAbort);
    // A generated page's text is the page builder's; it is left as it is.
    EXPECT_EQ(CurrentText, dotPage ? "the CSS validator's block" : editorCopy) << dotPage;
  }
}

TEST_F(ErrorRoutinesTest, MarkDocumentChangedUnlessOnlyChecking) {
  Open("page.htm", "<p>\n");
  for (bool checkOnly : {false, true}) {
    CurrentEditor->SetModified(false);
    CheckOnly = checkOnly;
    MarkDocumentChanged();
    EXPECT_EQ(CurrentEditor->Modified(), !checkOnly);
  }
}

}  // namespace
}  // namespace quorrel::test
