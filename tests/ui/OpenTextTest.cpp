// Opening files into the real editor control: the working copy the open keeps
// without reading the text back must be the text the control reads out.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QTextBlock>
#include <QTextEdit>
#include <filesystem>
#include <fstream>

#include "commands/OpenDocs.h"
#include "platform/IniFile.h"
#include "shell/Documents.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

class OpenTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A folder of a site (not a temporary one): the open asks what it asks there.
    site = (fs::current_path() / ("open-text-" + std::to_string(::getpid()))).string() + "/";
    fs::remove_all(site);
    fs::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(test::TestHome() + "open-text.ini");
    window = std::make_unique<TWebForm>();
    window->resize(900, 600);
    window->show();
    SetMainWindow(window.get());
    QApplication::processEvents();
    AppPhase = PhaseRunning;
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    CurrentEditor = nullptr;
    window.reset();
    SettingsIni.reset();
    fs::remove_all(site);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(site + name, std::ios::binary) << bytes;
    return site + name;
  }
  // CurrentText as a read-back of the control makes it.
  static std::string ReadBack() {
    std::string text = CurrentEditor->GetText();
    if (!text.empty() && text.back() != '\n') text += "\r\n";
    if (IsHtml) std::erase(text, '\r');
    return text;
  }

  std::string site;
  std::unique_ptr<TWebForm> window;
};

// Every byte but the ones the open repairs (zero, the pseudo-blanks A0 and C2).
std::string OrdinaryBytes() {
  std::string bytes;
  for (int b = 1; b < 256; ++b) {
    if (b != 0xA0 && b != 0xC2 && b != '\r' && b != '\n') bytes += static_cast<char>(b);
  }
  return bytes;
}

TEST_F(OpenTextTest, TheWorkingCopyIsTheTextTheControlReadsOut) {
  struct Case {
    const char* name;
    std::string bytes, text;
    bool lfOnly;
  } cases[] = {
      {"crlf.txt", "one\r\ntwo\r\n", "one\r\ntwo\r\n", false},
      {"lf.txt", "one\ntwo", "one\r\ntwo\r\n", true},
      {"mixed.txt", "one\rtwo\r\n\nthree\r", "one\r\ntwo\r\n\r\nthree\r\n", false},
      {"bytes.dat", OrdinaryBytes() + "\r\n" + OrdinaryBytes(),
       OrdinaryBytes() + "\r\n" + OrdinaryBytes() + "\r\n", false},
      {"page.htm", "<HTML>\r\n<Head>\r\n</Head>\r\n<Body>\r\n</Body>\r\n</HTML>",
       "<HTML>\n<Head>\n</Head>\n<Body>\n</Body>\n</HTML>\n", false},
      {"empty.txt", "", "", false},
      {"blank-lines.txt", "\n\n\n", "\r\n\r\n\r\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpenThis(Write(c.name, c.bytes));
    ASSERT_NE(CurrentEditor, nullptr);
    ASSERT_EQ(CurrentFileName, site + c.name);
    EXPECT_EQ(CurrentText, c.text);
    EXPECT_EQ(CurrentText, ReadBack());
    EXPECT_FALSE(DocModified);
    EXPECT_FALSE(CurrentEditor->Modified());
    EXPECT_EQ(CurrentEditor->LfOnlyFile(), c.lfOnly);
  }
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(OpenTextTest, ALineAsLongAsTheLimitIsShownUnwrapped) {
  // One line exactly as long as the limit of wrapped lines, amid short ones.
  std::string bytes;
  while (bytes.size() < 300'000) bytes += "A line of a text, with some words in it.\r\n";
  const size_t longAt = bytes.find("\r\n", bytes.size() / 2) + 2;
  bytes.insert(longAt, std::string(10000, 'x') + "\r\n");
  OpenThis(Write("large.txt", bytes));
  ASSERT_NE(CurrentEditor, nullptr);
  EXPECT_EQ(CurrentText, bytes);
  EXPECT_EQ(CurrentText, ReadBack());
  auto* edit = dynamic_cast<QTextEdit*>(CurrentEditor);
  ASSERT_NE(edit, nullptr);
  const QTextBlock line =
      edit->document()->findBlock(static_cast<int>(CurrentEditor->OffsetToPos(longAt)));
  EXPECT_EQ(line.length(), 10001);
  EXPECT_TRUE(line.blockFormat().nonBreakableLines());
  EXPECT_FALSE(line.next().blockFormat().nonBreakableLines());
}

}  // namespace
}  // namespace quorrel
