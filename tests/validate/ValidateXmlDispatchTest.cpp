// The XML validator behind the dispatcher: the laid-out document written into the
// tab, and an error shown at its offset with the document left as it was.
#include <gtest/gtest.h>

#include "platform/Abort.h"
#include "shell/DBoxUnit.h"
#include "shell/MyRich.h"
#include "support/ScriptedDialogs.h"
#include "validate/ValTestKit.h"
#include "validate/XmlLayout.h"

namespace quorrel::test {
namespace {

class ValidateXmlDispatch : public ValidationTest {
 protected:
  void SetUp() override {
    ValidationTest::SetUp();
    SetValidatorStandIn(nullptr);  // the real validator
  }
};

TEST_F(ValidateXmlDispatch, TheLaidOutDocumentIsWrittenIntoTheTab) {
  Open("data.xml", "<?xml version=\"1.0\"?>\n<a><b>x</b><c/></a>\n");
  CurrentEditor->SetModified(false);
  ValidateCurrentFile("Validate");
  EXPECT_EQ(CurrentText, "<?xml version=\"1.0\"?>\r\n<a>\r\n  <b>x</b>\r\n  <c />\r\n</a>\r\n");
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(ValidationPass, 1) << "one pass, never another";
  EXPECT_EQ(Status(), "  Validated");
  EXPECT_TRUE(Dialogs().Calls().empty());

  // Laid out already: nothing changes, and an unmodified document stays so.
  CurrentEditor->SetModified(false);
  const std::string laidOut = CurrentText;
  ValidateCurrentFile("Validate");
  EXPECT_EQ(CurrentText, laidOut);
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(Status(), "  Validated");
}

// The offset comes first in the message, and the caret goes there; the document
// keeps the text the user wrote.
TEST_F(ValidateXmlDispatch, AnErrorLeavesTheDocumentAsItWas) {
  struct Case {
    const char* name;
    const char* file;
    std::string text;
    std::string message;  // as shown
    long caretAt;         // index into the text; -1: the caret stays
  } cases[] = {
      {"a mismatched end tag", "mismatch.xml", "<?xml?>\r\n<a>\r\n  <b/>\r\n</c>\r\n",
       "At offset 22\r<a> cannot be terminated by </c>\rPreceding text: <?xml?>\r\n<a>\r\n  "
       "<b/>\r\n</c",
       22},
      {"an end tag at the top", "stray.xml", "<?xml?>\r\n<a/>\r\n</b>\r\n", "At offset 15\r</b> has not been opened.",
       15},
      {"an element left open", "open.xml", "<?xml?>\r\n<a>\r\n<b/>\r\n", XmlFinalLevelMessage, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open(c.file, c.text);
    CurrentEditor->SetModified(false);
    CurrentEditor->Select(2, 0);
    Dialogs().Clear();
    EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
    ASSERT_EQ(Dialogs().Calls().size(), 1u);
    EXPECT_EQ(Dialogs().Last().text, MessageText(c.message));
    EXPECT_EQ(CurrentText, c.text);
    EXPECT_FALSE(CurrentEditor->Modified());
    const size_t caret = c.caretAt < 0 ? 2 : CurrentEditor->OffsetToPos(c.caretAt);
    EXPECT_EQ(CurrentEditor->SelStart(), caret);
    EXPECT_NE(Status(), "  Validated");
  }
}

}  // namespace
}  // namespace quorrel::test
