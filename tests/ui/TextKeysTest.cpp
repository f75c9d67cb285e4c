// The Text menu's keys and tool buttons on the real main window: the editor
// leaves Ctrl+B, Ctrl+I and Ctrl+X to the menu (Ctrl+X is Strike-through and
// never cuts), on a web page and on an RTF document.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTabWidget>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "commands/StartUp.h"
#include "platform/Paths.h"
#include "shell/BlinkJob.h"
#include "shell/ShellState.h"
#include "support/PlatformKeys.h"
#include "support/RtfConformance.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::OurRtf;
using test::PressKey;

class TextKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = test::SiteTestFolder() + "text-keys/";
    fs::create_directories(site);
    form = std::make_unique<TWebForm>();
    SetMainWindow(form.get());
  }
  void TearDown() override {
    form.reset();
    SetMainWindow(nullptr);
    fs::remove_all(test::SiteTestFolder());
    fs::remove(DocumentsFolder() + "Quorrel.Ini");
  }
  void OpenFile(const std::string& name, const std::string& bytes) {
    const std::string path = site + name;
    std::ofstream(path, std::ios::binary) << bytes;
    StartParameters = {path};
    FormActivate();
    ASSERT_EQ(CurrentFileName, path);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->isActiveWindow(); }, 2000));
    Editor()->setFocus();
    // A key ends the blink that an open may start, and the blink takes the
    // selection with it: the tests select once it is over.
    if (Blinking()) StopBlink(false);
  }
  QWidget* Editor() const { return form->PC()->currentWidget(); }
  void SelectText(const std::string& what) {
    const size_t at = CurrentEditor->GetText().find(what);
    ASSERT_NE(at, std::string::npos) << what;
    CurrentEditor->Select(CurrentEditor->OffsetToPos(at), what.size());
  }
  void Ctrl(int key) { PressKey(Editor(), key, Qt::ControlModifier); }
  void Click(const char* button) {
    auto* tool = form->findChild<QToolButton*>(button);
    ASSERT_NE(tool, nullptr) << button;
    tool->click();
  }

  std::string site;
  std::unique_ptr<TWebForm> form;
};

TEST_F(TextKeysTest, KeysAndButtonsTagAWebPage) {
  OpenFile("page.htm", "<p>one two three\n<UL>\n  <LI>");
  QApplication::clipboard()->setText("kept");
  struct Case {
    const char* word;
    std::function<void()> act;
    const char* tagged;
  } cases[] = {
      {"one", [&] { Ctrl(Qt::Key_B); }, "<b>one</b>"},
      {"two", [&] { Ctrl(Qt::Key_X); }, "<s>two</s>"},
      {"three", [&] { Click("ItalBtn"); }, "<i>three</i>"},
  };
  for (const Case& c : cases) {
    SelectText(c.word);
    c.act();
    EXPECT_NE(CurrentEditor->GetText().find(c.tagged), std::string::npos)
        << c.tagged << " in " << CurrentEditor->GetText();
  }
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");
  // After the generated list item, Ctrl+I starts italics.
  CurrentEditor->Select(CurrentEditor->TextLength(), 0);
  Ctrl(Qt::Key_I);
  EXPECT_EQ(CurrentEditor->GetText().substr(CurrentEditor->GetText().size() - 7), "<LI><i>");
}

TEST_F(TextKeysTest, KeysAndButtonsStyleAnRtfDocument) {
  OpenFile("letter.rtf", OurRtf("one two three four"));
  QApplication::clipboard()->setText("kept");
  SelectText("one");
  Ctrl(Qt::Key_B);
  SelectText("two");
  Ctrl(Qt::Key_X);
  SelectText("three");
  Ctrl(Qt::Key_I);
  SelectText("four");
  Click("BoldBtn");
  EXPECT_EQ(CurrentEditor->GetText(), "one two three four");
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");
  EXPECT_EQ(CurrentEditor->GetRtfSource(),
            OurRtf("\\b one\\b0  \\strike two\\strike0  \\i three\\i0  \\b four\\b0"));
  // Normal takes the style off again.
  SelectText("four");
  Click("NormBtn");
  EXPECT_FALSE(CurrentEditor->CharFormatAt(CurrentEditor->SelStart()).bold);
}

}  // namespace
}  // namespace quorrel
