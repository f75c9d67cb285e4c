// Saving from the real editor control, the activation check when the program
// comes back, and the system clipboard.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <filesystem>
#include <fstream>

#include "commands/OpenDocs.h"
#include "platform/Desktop.h"
#include "platform/IniFile.h"
#include "platform/Launcher.h"
#include "platform/RtfParse.h"
#include "shell/DocumentsOpen.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Saving.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "ui/platform/QtDesktop.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::ReadFile;

class SaveWidgetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = (fs::current_path() / ("save-widgets-" + std::to_string(::getpid()))).string() + "/";
    fs::remove_all(site);
    fs::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(test::TestHome() + "save-widgets.ini");
    SetShellOpener([](const std::string&) { return true; });
    window = std::make_unique<TWebForm>();
    window->resize(900, 600);
    window->show();
    SetMainWindow(window.get());
    QApplication::processEvents();
    AppPhase = 1;
    MainMenu().SetChecked("ValSave", false);
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

  std::string site;
  std::unique_ptr<TWebForm> window;
};

TEST_F(SaveWidgetsTest, AFormattedDocumentIsSavedAsTheRtfOfTheRealControl) {
  const std::string path = Write(
      "letter.rtf",
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
      "\\viewkind4\\uc1\\pard\\f0\\fs24 Dear \\b Sir\\b0  or Madam,   \r\n\\par Yours\r\n\\par "
      "}\r\n");
  OpenThis(path);
  ASSERT_NE(CurrentEditor, nullptr);
  ASSERT_FALSE(CurrentEditor->PlainText());
  CurrentEditor->Select(CurrentEditor->TextLength(), 0);
  CurrentEditor->SetSelText(" truly  ");
  SaveClick("Save");
  const std::string disk = ReadFile(path);
  ASSERT_FALSE(disk.empty());
  EXPECT_EQ(disk.back(), '\0');
  EXPECT_EQ(disk.find('\0'), disk.size() - 1);
  const std::string text = RtfPlainText(ParseRtf(disk.substr(0, disk.size() - 1)));
  EXPECT_EQ(text.substr(0, 35), "Dear Sir or Madam,\r\nYours truly");
  EXPECT_NE(disk.find("\\b Sir\\b0"), std::string::npos) << disk;
  EXPECT_EQ(ReadFile(path + ".Bak").substr(0, 6), "{\\rtf1");
  EXPECT_EQ(CurrentEditor->GetText().find(",   "), std::string::npos)
      << "blanks before the line end went from the editor";
  EXPECT_FALSE(CurrentEditor->Modified());
}

TEST(QtDesktopTest, TheClipboardIsTheSystemsAndTakesTheCodePage) {
  InstallQtDesktop();
  Desktop().SetClipboardText("caf\xE9 \x80");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"));
  QGuiApplication::clipboard()->setText(QString::fromUtf8("na\xC3\xAFve"));
  EXPECT_EQ(Desktop().ClipboardText(), "na\xEFve");
}

TEST_F(SaveWidgetsTest, ComingBackToTheProgramRunsTheActivationCheck) {
  const std::string path = Write("page.txt", "first\r\n");
  OpenThis(path);
  std::ofstream(path, std::ios::binary) << "second\r\n";
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  struct timespec times[2] = {{0, UTIME_OMIT}, {st.st_mtime + 10, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

  // The platform tells the application it is active again (the offscreen platform
  // never takes the focus away, so the news is given here as the platform would).
  {
    // While a command waits in a dialog, the check waits too.
    QDialog waiting(window.get());
    waiting.setModal(true);
    waiting.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &waiting);
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_TRUE(Dialogs().Calls().empty());
  }
  Dialogs().Answer(mrYes);
  Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, path + "\rTimestamp has changed.  Reload file?");
  EXPECT_EQ(CurrentText, "second\r\n");
}

}  // namespace
}  // namespace quorrel
