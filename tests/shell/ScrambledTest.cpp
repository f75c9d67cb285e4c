#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/Abort.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/Scrambled.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/MemoryRich.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

using test::Dialogs;

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Text of a given length with every byte value and line ends in it.
std::string SampleText(size_t length) {
  std::string text;
  for (size_t i = 0; i < length; ++i) {
    text += (i % 41 == 40) ? '\n' : (i % 41 == 39) ? '\r' : static_cast<char>((i * 7 + 3) % 256);
  }
  return text;
}

TEST(ScrambleKeyTest, DerivedFromThePasswordAsWorkedOutByHand) {
  // "secret" + "Quillpen" -> "secretQu". a = 99:
  //   i=1 's'=115: d = 115*137 + 99*119 + 73 = 27609 -> byte 217, a = 107 + 11 = 118
  //   i=2 'e'=101: d = 13837 + 14042 + 146 = 28025 -> byte 121, a = 109 + 11 = 120
  //   ... bytes 217 121 158 238 250 229 180 72
  // RotateSeed = 121 mod 8 = 1, AddSeed = 250, CountSeed = 72 mod 4 = 0.
  TScrambleKey key = DeriveScrambleKey("secret");
  EXPECT_EQ(key.rotate, 1);
  EXPECT_EQ(key.add, 250);
  EXPECT_EQ(key.count, 0);
  // The empty password gives the key of "Quillpen" alone.
  TScrambleKey empty = DeriveScrambleKey("");
  EXPECT_EQ(empty.rotate, 3);
  EXPECT_EQ(empty.add, 66);
  EXPECT_EQ(empty.count, 2);
}

TEST(ScrambleKeyTest, OnlyTheFirstEightCharactersCount) {
  TScrambleKey a = DeriveScrambleKey("abcdefgh-one");
  TScrambleKey b = DeriveScrambleKey("abcdefgh-two");
  EXPECT_EQ(a.rotate, b.rotate);
  EXPECT_EQ(a.add, b.add);
  EXPECT_EQ(a.count, b.count);
  EXPECT_EQ(ScrambleDocumentBytes("same text", a), ScrambleDocumentBytes("same text", b));
}

TEST(ScrambleTest, FixedVector) {
  // With "secret" (rot 1, add 250, count 0): 'H' = 48 rotated left by 1 is 90,
  // + 250 = 8A; the count has run out, so it is stored inverted: 75; count 4,
  // rot = 75 mod 8 = 5, add = 250 + 5 = 255. 'e' = 65 rotated by 5 is AC, + 255 = AB,
  // stored as it is (count 3) ...
  std::string stored = ScrambleBytes("Hello, world\r\n", DeriveScrambleKey("secret"), 14);
  EXPECT_EQ(stored, Bytes({0x75, 0xab, 0x65, 0x94, 0x01, 0x9b, 0x10, 0x86, 0xf0, 0x87, 0xad, 0xad,
                           0xc7, 0x32}));
  std::string empty = ScrambleBytes("Hello, world\r\n", DeriveScrambleKey(""), 14);
  EXPECT_EQ(empty, Bytes({0x84, 0x9c, 0xef, 0x87, 0x0f, 0x75, 0x68, 0x24, 0x5e, 0x0a, 0x21, 0x39,
                          0x73, 0xc5}));
  EXPECT_EQ(UnscrambleBytes(stored, DeriveScrambleKey("secret"), 14), "Hello, world\r\n");
}

TEST(ScrambleTest, RoundTripsAtEveryLengthThatMatters) {
  TScrambleKey key = DeriveScrambleKey("pass word");
  for (size_t length : {0u, 1u, 5u, 65535u, 65536u, 70000u}) {
    std::string text = SampleText(length);
    std::string file = ScrambleDocumentBytes(text, key);
    ASSERT_EQ(file.size(), length + 4) << length;
    EXPECT_EQ(UnscrambleDocumentBytes(file, key), text) << length;
  }
}

TEST(ScrambleTest, ShortBodiesKeepTheFormatLongOnesAreScrambledWhole) {
  TScrambleKey key = DeriveScrambleKey("pw");
  EXPECT_EQ(ScrambleDocumentBytes("", key), Bytes({0x1A, 0x15, 0x00, 0x01}));
  EXPECT_EQ(ScrambleDocumentBytes(SampleText(65535), key).substr(0, 4),
            Bytes({0x1A, 0x15, 0x00, 0x01}));
  for (size_t length : {65536u, 70000u, 200000u}) {
    std::string text(length, 'a');
    std::string file = ScrambleDocumentBytes(text, key);
    EXPECT_EQ(file.substr(0, 4), Bytes({0x1A, 0x15, 0x00, 0x02})) << length;
    // Not one stretch of the plain text is left readable.
    EXPECT_EQ(file.find(std::string(64, 'a')), std::string::npos) << length;
    EXPECT_EQ(UnscrambleDocumentBytes(file, key), text);
  }
}

TEST(ScrambleTest, OldFilesOverSixtyFourKilobytesStillReadBack) {
  // As the older format stores 70000 bytes: the first 4464 scrambled, the rest plain.
  TScrambleKey key = DeriveScrambleKey("old");
  std::string text = SampleText(70000);
  std::string file = Bytes({0x1A, 0x15, 0x00, 0x01}) + ScrambleBytes(text, key, 4464);
  EXPECT_EQ(file.substr(4 + 4464), text.substr(4464));
  EXPECT_NE(file.substr(4, 4464), text.substr(0, 4464));
  EXPECT_EQ(UnscrambleDocumentBytes(file, key), text);

  // Exactly 65536 bytes: all scrambled under the old format too.
  std::string full = SampleText(65536);
  EXPECT_EQ(UnscrambleDocumentBytes(
                Bytes({0x1A, 0x15, 0x00, 0x01}) + ScrambleBytes(full, key, 65536), key),
            full);
}

TEST(ScrambleTest, AWrongPasswordGivesOtherTextWithoutComplaint) {
  std::string text = "Dear diary,\r\nnothing happened.\r\n";
  std::string file = ScrambleDocumentBytes(text, DeriveScrambleKey("right"));
  std::string read = UnscrambleDocumentBytes(file, DeriveScrambleKey("wrong"));
  EXPECT_EQ(read.size(), text.size());
  EXPECT_NE(read, text);
}

TEST(ScrambleTest, RecognisedByTheFirstTwoBytes) {
  EXPECT_TRUE(IsScrambledData(Bytes({0x1A, 0x15})));
  EXPECT_TRUE(IsScrambledData(Bytes({0x1A, 0x15, 0x00, 0x07, 0x41})));
  EXPECT_FALSE(IsScrambledData(Bytes({0x1A})));
  EXPECT_FALSE(IsScrambledData("plain"));
}

class ScrambledFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::TestHome() + "scrambled-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  std::string dir_;
};

TEST_F(ScrambledFileTest, PasswordBoxAsksMaskedAndSetsTheKey) {
  Dialogs().AnswerText("secret");
  EdPassword();
  ASSERT_EQ(Dialogs().Inputs().size(), 1u);
  EXPECT_EQ(Dialogs().Inputs()[0].caption, "Quorrel");
  EXPECT_EQ(Dialogs().Inputs()[0].prompt, "Enter password");
  EXPECT_TRUE(Dialogs().Inputs()[0].password);
  EXPECT_TRUE(HasScrambleKey());
  EXPECT_EQ(RotateSeed, 1);
  EXPECT_EQ(AddSeed, 250);
  EXPECT_EQ(CountSeed, 0);
}

TEST_F(ScrambledFileTest, CancellingThePasswordEndsTheCommandSilently) {
  Dialogs().CancelText();
  EXPECT_THROW(EdPassword(), EAbort);
  EXPECT_FALSE(HasScrambleKey());
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(ScrambledFileTest, FindKeepsTheKeyButAsksWhenThereIsNone) {
  CurrentCommand = "Find";
  Dialogs().AnswerText("first");  // no key yet: a find must still ask once
  EdPassword();
  TScrambleKey key = CurrentScrambleKey();
  EdPassword();  // the next file of the same find: no box
  EXPECT_EQ(Dialogs().Inputs().size(), 1u);
  EXPECT_EQ(CurrentScrambleKey().add, key.add);

  CurrentCommand = "Open";
  Dialogs().AnswerText("second");
  EdPassword();
  EXPECT_EQ(Dialogs().Inputs().size(), 2u);
}

TEST_F(ScrambledFileTest, WrittenAndReadBackThroughTheDisk) {
  std::string path = dir_ + "diary.txt";
  std::string text = "Line one\r\nLine two\r\n";
  SetScramblePassword("pw");
  ASSERT_TRUE(WriteScrambledFile(path, text));
  std::string onDisk = ReadAll(path);
  EXPECT_TRUE(IsScrambledData(onDisk));
  EXPECT_EQ(onDisk.find("Line"), std::string::npos);
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);  // a new scrambled file is private

  ResetScrambled();
  Dialogs().AnswerText("pw");
  EXPECT_EQ(ReadScrambledFile(path), text);

  EXPECT_FALSE(WriteScrambledFile(dir_ + "no-such-folder/x.txt", text));
}

TEST_F(ScrambledFileTest, APlainBackUpIsScrambledInPlace) {
  std::string backup = dir_ + "diary.txt.Bak";
  std::string plain = "My secret plans\r\n";
  std::ofstream(backup, std::ios::binary) << plain;
  SetScramblePassword("pw");
  ASSERT_TRUE(ScrambleBackupInPlace(backup));
  std::string onDisk = ReadAll(backup);
  EXPECT_EQ(onDisk.find("secret"), std::string::npos);
  EXPECT_EQ(UnscrambleDocumentBytes(onDisk, CurrentScrambleKey()), plain);

  // Already scrambled (under any key) or missing: left alone.
  ASSERT_TRUE(ScrambleBackupInPlace(backup));
  EXPECT_EQ(ReadAll(backup), onDisk);
  EXPECT_TRUE(ScrambleBackupInPlace(dir_ + "none.Bak"));
}

// "Encrypted" wired to a save that keeps the previous file as ".Bak" and writes
// scrambled when the tab is marked, as saving does.
class EncryptTest : public ScrambledFileTest {
 protected:
  void SetUp() override {
    ScrambledFileTest::SetUp();
    SetMainWindow(&window_);
    CurrentEditor = window_.NewTab();
    window_.ActivateTab(0);
    CurrentFileName = dir_ + "diary.txt";
    CurrentText = "Dear diary,\r\n";
    std::ofstream(CurrentFileName, std::ios::binary) << "Old plain text\r\n";
    MainMenu().SetHandler("Encrypted", [this](const TMenuItem&) {
      EncryptFClick([this] {
        ++saves_;
        std::filesystem::rename(CurrentFileName, CurrentFileName + ".Bak");
        if (Mark() == 1) {
          ASSERT_TRUE(WriteScrambledDocument());
        } else {
          std::ofstream(CurrentFileName, std::ios::binary) << CurrentText;
        }
      });
    });
  }
  void TearDown() override { SetMainWindow(nullptr); }

  // The mark of a scrambled document's tab.
  int Mark() const { return window_.TabHelpContext(0); }

  test::MemoryMainWindow window_;
  int saves_ = 0;
};

TEST_F(EncryptTest, TickingScramblesTheFileAndItsBackUp) {
  Dialogs().AnswerText("pw");
  EXPECT_TRUE(MainMenu().Click("Encrypted"));
  EXPECT_TRUE(MainMenu().Checked("Encrypted"));
  EXPECT_EQ(Mark(), 1);
  EXPECT_EQ(saves_, 1);
  TScrambleKey key = DeriveScrambleKey("pw");
  EXPECT_EQ(UnscrambleDocumentBytes(ReadAll(CurrentFileName), key), "Dear diary,\r\n");
  // The version saved before was plain: it must not stay readable beside it.
  std::string backup = ReadAll(CurrentFileName + ".Bak");
  EXPECT_TRUE(IsScrambledData(backup));
  EXPECT_EQ(UnscrambleDocumentBytes(backup, key), "Old plain text\r\n");
}

TEST_F(EncryptTest, UntickingSavesPlainWithoutAPassword) {
  MainMenu().SetChecked("Encrypted", true);
  window_.SetTabHelpContext(0, 1);
  SetScramblePassword("pw");
  EXPECT_TRUE(MainMenu().Click("Encrypted"));
  EXPECT_FALSE(MainMenu().Checked("Encrypted"));
  EXPECT_EQ(Mark(), 0);
  EXPECT_EQ(saves_, 1);
  EXPECT_TRUE(Dialogs().Inputs().empty());
  EXPECT_EQ(ReadAll(CurrentFileName), "Dear diary,\r\n");
}

TEST_F(EncryptTest, CancellingThePasswordLeavesItUnticked) {
  Dialogs().CancelText();
  EXPECT_FALSE(MainMenu().Click("Encrypted"));
  EXPECT_FALSE(MainMenu().Checked("Encrypted"));
  EXPECT_EQ(Mark(), 0);
  EXPECT_EQ(saves_, 0);
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_EQ(ReadAll(CurrentFileName), "Old plain text\r\n");
}

TEST_F(EncryptTest, AnRtfDocumentCannotBeEncrypted) {
  IsRtf = true;
  EXPECT_TRUE(MainMenu().Click("Encrypted"));
  EXPECT_FALSE(MainMenu().Checked("Encrypted"));
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_NE(Dialogs().Last().text.find("You cannot encrypt an RTF file."), std::string::npos);
  EXPECT_EQ(saves_, 0);
  EXPECT_TRUE(Dialogs().Inputs().empty());
}

TEST_F(EncryptTest, OpeningAScrambledDocument) {
  SetScramblePassword("pw");
  ASSERT_TRUE(WriteScrambledFile(CurrentFileName, "Line one\r\nLine two\r\n"));
  ResetScrambled();
  Dialogs().AnswerText("pw");
  ReadScrambledDocument();
  EXPECT_EQ(CurrentEditor->GetText(), "Line one\r\nLine two\r\n");
  EXPECT_EQ(CurrentText, "Line one\r\nLine two\r\n");
  EXPECT_TRUE(MainMenu().Checked("Encrypted"));
  EXPECT_EQ(Mark(), 1);
}

}  // namespace
}  // namespace quorrel
