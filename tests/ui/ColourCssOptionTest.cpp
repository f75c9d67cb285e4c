// Validation > "Colour CSS" on the real main window: the option decides how a style
// sheet's comments are coloured, and ticking or unticking it recolours at once.
#include <gtest/gtest.h>

#include <QAction>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/ShownWindowTest.h"
#include "ui/platform/RichEdit.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

class ColourCssOptionTest : public test::ShownWindowTest {
 protected:
  ColourCssOptionTest() : ShownWindowTest("colour-css/") {}

  // The colour laid over the character at a place of the first line; "" for none.
  std::string ColourAt(int column) {
    auto* rich = dynamic_cast<TRichEdit*>(Editor());
    const QTextBlock block = rich->document()->firstBlock();
    std::string colour;
    for (const QTextLayout::FormatRange& r : block.layout()->formats()) {
      if (r.start <= column && column < r.start + r.length &&
          r.format.hasProperty(QTextFormat::ForegroundBrush)) {
        colour = r.format.foreground().color().name().toStdString();
      }
    }
    return colour;
  }
};

TEST_F(ColourCssOptionTest, TickingAndUntickingRecoloursTheCommentAtOnce) {
  OpenFile("site.css", "/* the house style */\r\nbody { margin: 0 }\r\n");
  ASSERT_TRUE(IsCss);
  QAction* option = form->Action("ColourCSS");
  ASSERT_TRUE(option->isEnabled());
  ASSERT_TRUE(option->isChecked());
  const std::string ticked = ColourAt(5);

  option->trigger();
  EXPECT_FALSE(MainMenu().Checked("ColourCSS"));
  const std::string unticked = ColourAt(5);
  EXPECT_NE(unticked, ticked) << "the comment takes the comment colour";

  option->trigger();
  EXPECT_TRUE(MainMenu().Checked("ColourCSS"));
  EXPECT_EQ(ColourAt(5), ticked);
}

}  // namespace
}  // namespace quorrel
