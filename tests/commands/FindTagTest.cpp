// Replace tag: a start tag and its matching end tag replaced together, with the
// walk over nested elements, its stops, and a block whose end follows both tags.
#include <gtest/gtest.h>

#include <string>

#include "commands/FindTestKit.h"
#include "platform/Chars.h"

namespace quorrel::test {
namespace {

// A page whose head begins a line, so that opening it does not re-lay it.
std::string Page(const std::string& body) {
  return "<html>\n<head>\n</head>\n<body>" + body + "</body>\n</html>\n";
}

std::function<void(TFindAnswers&)> Tags(const char* find, const char* by) {
  return [=](TFindAnswers& a) {
    a.findText = find;
    a.replaceText = by;
    a.prompt = false;
    a.blockRep = true;  // offered only with a block marked
  };
}

TEST_F(FindTest, ReplaceTagCases) {
  struct Case {
    const char* name;
    const char* body;  // the page's body; the block is the part between [ and ]
    const char* find;
    const char* by;
    const char* result;  // the body after; nullptr: unchanged
    const char* message;
  } cases[] = {
      {"b to strong round a nested italic element", "<p><b>x <i>y</i> z</b> w</p>", "b",
       "strong", "<p><strong>x <i>y</i> z</strong> w</p>", ""},
      {"tags given whole, attributes and all", "<P Class=a>one</P>", "<P Class=a>", "<div>",
       "<div>one</div>", ""},
      {"a line break inside the bold element", "<p><b>a<br>b</b></p>", "b", "strong", nullptr,
       "Expected </b> but found </p>"},
      {"another element's end tag first", "<b>open", "b", "strong", nullptr,
       "Expected </b> but found </bo"},
      {"no end tag", "<b><p><p>open", "b", "strong", nullptr, "End of tag not found"},
      {"a find text without its end", "<b>x</b>", "<b", "strong", nullptr,
       "Missing \">\" at end of seatch string"},
      {"a replacement without its end", "<b>x</b>", "b", "<strong", nullptr,
       "Missing \">\" at end of replacement string"},
      {"no replacement", "<b>x</b>", "b", "", nullptr, "Missing replacement string"},
      // Both tags longer or shorter: the block keeps up with both, so its last
      // element is replaced and the one after it is not.
      {"longer tags near the block's end", "[<b>1</b> <b>2</b>] <b>3</b>", "b", "strong",
       "<strong>1</strong> <strong>2</strong> <b>3</b>", ""},
      {"shorter tags near the block's end", "[<strong>1</strong> <strong></strong>] <strong>3</strong>",
       "strong", "b", "<b>1</b> <b></b> <strong>3</strong>", ""},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FindAnswers = TFindAnswers{};
    std::string body = c.body;
    const size_t open = body.find('['), close = body.find(']');
    size_t blockStart = 0, blockLength = 0;
    if (open != std::string::npos) {
      body.erase(close, 1);
      body.erase(open, 1);
      blockLength = close - open - 1;
    }
    const std::string page = Page(body);
    Open("tags" + std::to_string(++n) + ".htm", page);
    if (blockLength > 0) {
      blockStart = page.find(body) + open;
      CurrentEditor->Select(blockStart, blockLength);
    }
    Dialogs().Clear();
    Command("RepTag", Tags(c.find, c.by));
    const std::string expected = c.result ? Page(c.result) : page;
    EXPECT_EQ(CurrentText, expected);
    std::string message = Dialogs().Texts().empty() ? "" : Dialogs().Last().text;
    EXPECT_EQ(TrimBlanks(message), c.message);
    if (blockLength > 0 && c.result) {
      // The block is selected again round everything replaced in it.
      EXPECT_EQ(CurrentEditor->SelStart(), blockStart);
      const std::string result = c.result;
      EXPECT_EQ(Selected(), result.substr(0, result.rfind(' ')));
    }
    CurrentEditor->SetModified(false);
  }
}

TEST_F(FindTest, NextRepeatsReplaceTag) {
  Open("next.htm", Page("<b>1</b> <b>2</b> <b>3</b>"));
  Dialogs().Answer({mrYes, mrCancel});
  Command("RepTag", [](TFindAnswers& a) {
    a.findText = "b";
    a.replaceText = "em";
    a.prompt = true;
  });
  EXPECT_EQ(CurrentText, Page("<em>1</em> <b>2</b> <b>3</b>"));
  // Next goes on after the occurrence the user stopped at.
  Dialogs().Answer({mrYes});
  Command("FRNext");
  EXPECT_EQ(CurrentText, Page("<em>1</em> <b>2</b> <em>3</em>"));
}

}  // namespace
}  // namespace quorrel::test
