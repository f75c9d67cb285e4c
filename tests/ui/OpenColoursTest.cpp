// Colours and background of documents opened from the command line, on the real
// editor control of every tab: when the document is opened, when its tab comes to
// the front and after typing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <filesystem>
#include <fstream>
#include <functional>

#include "commands/StartUp.h"
#include "platform/Paths.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/TestEnvironment.h"
#include "ui/platform/RichEdit.h"
#include "ui/shell/WebForm.h"
#include "validate/ColourScheme.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 3000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

QColor ColourOf(int bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// The colour the control draws a character in: its layout format, else the text colour.
QColor ColourAt(TRichEdit* editor, const std::string& text, const std::string& marker) {
  const size_t at = text.find(marker);
  if (at == std::string::npos) return QColor();
  // Positions count one character per line end, as the control does.
  int pos = 0;
  for (size_t i = 0; i < at; ++i) {
    if (text[i] != '\r') ++pos;
  }
  const QTextBlock block = editor->document()->findBlock(pos);
  const int inBlock = pos - block.position();
  for (const QTextLayout::FormatRange& r : block.layout()->formats()) {
    if (inBlock >= r.start && inBlock < r.start + r.length &&
        r.format.hasProperty(QTextFormat::ForegroundBrush)) {
      return r.format.foreground().color();
    }
  }
  return editor->palette().color(QPalette::Text);
}

struct Doc {
  const char* name;
  const char* text;
  const char* marker;  // a character that the document's type colours
};

const Doc kDocs[] = {
    {"tune.abc", "X:1\r\nT:Only Tune\r\nM:4/4\r\nK:G\r\nGABc|dedB|\r\n", "Only"},
    {"style.css", "/* note */\r\nbody {\r\n  color: navy;\r\n}\r\n", "note"},
    {"page.html", "<!DOCTYPE html>\r\n<html>\r\n<p>Hi</p>\r\n</html>\r\n", "p>Hi"},
};

class OpenColoursTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = test::TestHome() + "colour-site/";
    fs::remove_all(site);
    fs::create_directories(site);
    for (const Doc& d : kDocs) std::ofstream(site + d.name, std::ios::binary) << d.text;
    form = std::make_unique<TWebForm>();
    SetMainWindow(form.get());
  }
  void TearDown() override {
    form.reset();
    fs::remove_all(site);
    fs::remove(DocumentsFolder() + "Quorrel.Ini");
  }
  TRichEdit* Editor(int tab) { return qobject_cast<TRichEdit*>(form->PC()->widget(tab)); }
  // Whether the tab shows the scheme's background and colours its marker.
  bool Coloured(int tab, const std::string& text, const std::string& marker) {
    TRichEdit* editor = Editor(tab);
    return editor->palette().color(QPalette::Base) == ColourOf(ColourScheme.background) &&
           ColourAt(editor, text, marker) != ColourOf(ColourScheme.defaultColour) &&
           ColourAt(editor, text, marker).isValid();
  }

  std::string site;
  std::unique_ptr<TWebForm> form;
};

TEST_F(OpenColoursTest, EveryTabOpenedFromTheCommandLineIsColoured) {
  fs::path previous = fs::current_path();
  fs::current_path(site);
  StartParameters = {"tune.abc", "style.css", "page.html"};
  FormActivate();
  fs::current_path(previous);
  QTabWidget* pc = form->PC();
  ASSERT_EQ(pc->count(), 3);
  // CSS documents colour their comments while the full CSS colouring is off.
  MainMenu().SetChecked("ColourCSS", false);

  for (int tab : {2, 0, 1, 2}) {
    SCOPED_TRACE(kDocs[tab].name);
    pc->setCurrentIndex(tab);
    EXPECT_TRUE(WaitFor([&] { return Coloured(tab, kDocs[tab].text, kDocs[tab].marker); }))
        << "background " << Editor(tab)->palette().color(QPalette::Base).name().toStdString()
        << ", marker "
        << ColourAt(Editor(tab), kDocs[tab].text, kDocs[tab].marker).name().toStdString();
  }

  // Typing in the one tune keeps it coloured.
  pc->setCurrentIndex(0);
  TRichEdit* abc = Editor(0);
  abc->Select(0, 0);
  abc->SetSelText("%\r\n");
  const std::string typed = std::string("%\r\n") + kDocs[0].text;
  EXPECT_TRUE(WaitFor([&] { return Coloured(0, typed, "|dedB"); }));
  EXPECT_TRUE(Coloured(0, typed, "Only"));
}

}  // namespace
}  // namespace quorrel
