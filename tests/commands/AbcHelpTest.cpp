// The ABC help items from the Help menu: web pages go to the default program; the
// music programs' guide and manual pages, as Debian installs them, open as text
// documents, and so do the instrument and controller lists.
#include <gmock/gmock.h>

#include "commands/AbcHelp.h"
#include "commands/HelpMenuCommands.h"
#include "shell/SaveTestKit.h"
#include "support/Installed.h"

namespace quorrel {
namespace {

using test::Dialogs;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class AbcHelpTest : public test::SaveFixture {
 protected:
  void SetUp() override {
    SaveFixture::SetUp();
    InstallHelpMenuCommands();
  }
};

TEST_F(AbcHelpTest, EachItemOpensItsDocumentOrPage) {
  struct Case {
    const char* item;
    const char* page;     // what goes to the default program; nullptr for a document
    const char* opening;  // how the document begins, after blank lines
    const char* within;   // a line further on
  } cases[] = {
      {"AbcHelp1", "https://abcnotation.com/wiki/abc:standard:v2.1", nullptr, nullptr},
      {"AbcHelp2", nullptr, "Guide to writing abc for abc2midi", "%%MIDI program"},
      {"AbcHelp3", nullptr, "ABCM2PS(", "abcm2ps - translate ABC music notation"},
      {"AbcHelp4", nullptr, "ABC2ABC(1)", "abc2abc - a simple abc checker/re-formatter/transposer"},
      {"AbcHelp5", nullptr, "MIDI2ABC(1)", "midi2abc - program to convert MIDI format files"},
      {"AbcHelp6", "http://moinejf.free.fr/abcm2ps-doc/index.html", nullptr, nullptr},
      {"AbcHelp7", nullptr, "General MIDI Instruments\r\n", "\r\n40\tViolin\r\n"},
      {"AbcHelp8", nullptr, "MIDI Controller Numbers\r\n", "\r\n7\tChannel Volume (MSB)\r\n"},
      {"AbcHelp9", "https://abcnotation.com/learn", nullptr, nullptr},
  };
  for (const char* package : {"abcmidi", "abcm2ps"}) {
    for (int tag = 2; tag <= 5; ++tag) {
      const TAbcHelpItem* item = AbcHelpItem(tag);
      if (item->package == std::string(package)) {
        ASSERT_TRUE(test::Installed(item->source, package));
      }
    }
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    launched.clear();
    const std::string before = CurrentEditor ? CurrentEditor->GetText() : "";
    ASSERT_TRUE(MainMenu().Click(c.item));
    EXPECT_THAT(Dialogs().Texts(), ::testing::IsEmpty());
    if (c.page) {
      EXPECT_EQ(launched, std::vector<std::string>{c.page});
      continue;
    }
    EXPECT_THAT(launched, ::testing::IsEmpty());
    ASSERT_NE(CurrentEditor, nullptr);
    const std::string text = CurrentEditor->GetText();
    EXPECT_NE(text, before);
    EXPECT_THAT(text.substr(text.find_first_not_of("\r\n ")), StartsWith(c.opening));
    EXPECT_THAT(text, HasSubstr(c.within));
    // Plain text with the program's line ends: no overstrike, no lone LF.
    EXPECT_EQ(text.find('\b'), std::string::npos);
    for (size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', lf + 1)) {
      ASSERT_TRUE(lf > 0 && text[lf - 1] == '\r') << "at " << lf;
    }
  }
}

}  // namespace
}  // namespace quorrel
