// Opening what is not a plain local text: web pages and folder listings served on
// loopback, password-protected 7z archives, PostScript and MIDI files, all with the
// real Debian programs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QProcess>
#include <filesystem>
#include <fstream>

#include "commands/OpenDocs.h"
#include "music/MyPlayer.h"
#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "shell/Archive7z.h"
#include "shell/DocumentsOpen.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/HttpServer.h"
#include "support/MemoryMainWindow.h"
#include "support/NginxServer.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

class OpenSpecialTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    folder = test::TestHome() + "special/";
    fs::create_directories(folder);
    SettingsIni = std::make_unique<TIniFile>(folder + "settings.ini");
    SetShellOpener([this](const std::string& target) {
      launched.push_back(target);
      return true;
    });
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    SettingsIni.reset();
    fs::remove_all(folder);
  }
  std::string Write(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  // Runs a Debian program to its end; its exit code.
  int Run(const QString& program, const QStringList& arguments, const std::string& where) {
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(where));
    process.start(program, arguments);
    process.waitForFinished(60000);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }

  test::MemoryMainWindow window;
  std::string folder;
  std::vector<std::string> launched;
};

TEST_F(OpenSpecialTest, AServersFolderListingBecomesAListOfAddresses) {
  test::NginxServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  Write(server.Root() + "tunes/the kesh.abc", "X:1\n");
  Write(server.Root() + "tunes/reels/a.abc", "X:2\n");
  const std::string address = server.Url("/tunes/");
  OpenThis(address);
  EXPECT_EQ(window.TabCaption(0), "");
  // A web address without a name is taken for a page: its working copy has LF.
  EXPECT_EQ(CurrentText, "Directory " + address +
                             " contains the following files.\nDouble-click a file name to "
                             "download it.\n\n" +
                             address + "reels/\n\n" + address + "the%20kesh.abc\n\n");
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_TRUE(Dialogs().Calls().empty());

  fs::create_directories(server.Root() + "empty");
  OpenThis(server.Url("/empty/"));
  EXPECT_NE(CurrentText.find("There are no entries in this folder."), std::string::npos);
}

TEST_F(OpenSpecialTest, AWebPageIsItsTextAndMayGetABaseTag) {
  test::HttpServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  Write(server.Root() + "page.html",
        "<html>\n<head>\n<title>T</title>\n</head>\n<body>Hi</body>\n</html>\n");
  Dialogs().Answer(mrYes);
  OpenThis(server.Url("/page.html"));
  EXPECT_EQ(window.TabCaption(0), "page.html");
  EXPECT_EQ(Dialogs().Last().text, "Add Base tag?");
  EXPECT_EQ(Dialogs().Last().helpContext, 32200);
  EXPECT_NE(CurrentText.find("<title>T</title>"), std::string::npos);
  EXPECT_NE(CurrentText.find("<Base Href=\"" + server.Url("/") + "\">"), std::string::npos);

  // Python's own listing is a page like any other, not a server listing.
  Dialogs().Answer(mrNo);
  OpenThis(server.Url("/"));
  EXPECT_NE(CurrentText.find("Directory listing for /"), std::string::npos);
  EXPECT_EQ(CurrentText.find("contains the following files."), std::string::npos);
}

TEST_F(OpenSpecialTest, APageThatIsNotFoundOpensNoTab) {
  test::HttpServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  EXPECT_THROW(OpenThis(server.Url("/missing.html")), EAbort);
  EXPECT_EQ(Dialogs().Last().text, "URL not found:\r\n" + server.Url("/missing.html"));
  EXPECT_EQ(window.TabCount(), 0);
  EXPECT_EQ(OpenFiles(), std::vector<std::string>{""});
}

TEST_F(OpenSpecialTest, APasswordProtectedArchiveOpensItsFirstMember) {
  const std::string work = folder + "zip/";
  Write(work + "notes/a file; of $(notes).txt", "Member text\r\n");
  const std::string password = "pa ss'\"$`;&";
  ASSERT_EQ(Run("7z",
                {"a", "-mhe=on", QString::fromStdString("-p" + password), "--", "archive.7z",
                 "notes/a file; of $(notes).txt"},
                work),
            0);
  const std::string archive = work + "archive.7z";
  OpenThis(Write(folder + "other.txt", "other\r\n"));

  Dialogs().AnswerText(password);
  OpenThis(archive);
  ASSERT_EQ(Dialogs().Inputs().size(), 1u);
  EXPECT_EQ(Dialogs().Inputs()[0].prompt, "Enter password");
  EXPECT_TRUE(Dialogs().Inputs()[0].password);
  const std::string member = TempFolder() + "a file; of $(notes).txt";
  EXPECT_EQ(CurrentFileName, member);
  EXPECT_EQ(ExtractedMember, member);
  EXPECT_EQ(CurrentText, "Member text\r\n");
  EXPECT_EQ(window.TabCount(), 1) << "the other documents were closed first";
  EXPECT_FALSE(fs::exists(TempFolder() + "Quorrel7z.txt")) << "the listing is gone";

  Dialogs().Clear();
  Dialogs().AnswerText("wrong");
  EXPECT_THROW(OpenThis(archive), EAbort);
  EXPECT_EQ(Dialogs().Last().text, "Wrong password for\r" + archive);
  EXPECT_EQ(window.TabCount(), 0) << "no tab for an archive that could not be read";

  Dialogs().CancelText();
  EXPECT_THROW(OpenThis(archive), EAbort);
  EXPECT_EQ(window.TabCount(), 0);
}

TEST_F(OpenSpecialTest, PostScriptCanBeShownAsPdf) {
  const std::string ps = Write(folder + "score sheet.ps",
                               "%!PS\n/Helvetica findfont 12 scalefont setfont\n72 720 moveto "
                               "(Hi) show\nshowpage\n");
  Dialogs().Answer(mrYes);
  OpenThis(ps);
  EXPECT_EQ(Dialogs().Last().text, "Display Postscript output rather than as a text file?");
  const std::string pdf = TempFolder() + "ABC.PDF";
  ASSERT_EQ(launched, std::vector<std::string>{pdf});
  std::ifstream in(pdf, std::ios::binary);
  std::string start(5, '\0');
  in.read(start.data(), 5);
  EXPECT_EQ(start, "%PDF-");
  EXPECT_EQ(window.TabCount(), 0);

  Dialogs().Answer(mrNo);
  OpenThis(ps);
  EXPECT_EQ(CurrentText.substr(0, 4), "%!PS");
}

TEST_F(OpenSpecialTest, MidiFilesPlayInThePlayerAndAreNotText) {
  // One quarter note of middle C at 96 ticks to the quarter.
  const std::string midi =
      std::string("MThd\0\0\0\6\0\0\0\1\0\x60", 14) +
      std::string("MTrk\0\0\0\x0C\0\x90\x3C\x40\x60\x80\x3C\x40\0\xFF\x2F\0", 20);
  const std::string path = Write(folder + "tune.mid", midi);
  OpenThis(path);
  EXPECT_EQ(Player.FileName, path);
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  EXPECT_EQ(CurrentText, "");
  EXPECT_EQ(CurrentFileName, path);
  Player.StopPlay();
}

}  // namespace
}  // namespace quorrel
