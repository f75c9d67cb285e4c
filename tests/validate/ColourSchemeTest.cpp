// The colour scheme in the settings file, and the rules of recolour requests.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/IniFile.h"
#include "shell/ShellState.h"
#include "support/MemoryRich.h"
#include "support/TestEnvironment.h"
#include "validate/ColourScheme.h"
#include "validate/ColourSyntax.h"

namespace quorrel::test {
namespace {

class ColourSchemeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetColouring();
    std::string path = TestHome() + "scheme-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
    std::filesystem::remove(path);
    SettingsIni = std::make_unique<TIniFile>(path);
  }
  TIniFile& Ini() { return *SettingsIni; }
};

TEST_F(ColourSchemeTest, AFirstLoadWritesTheSchemeOut) {
  Ini().WriteString("System", "Zoom", "100");
  LoadColours();
  std::vector<std::string> keys = Ini().ReadSection("Text");
  EXPECT_EQ(keys.size(), 22u);
  EXPECT_FALSE(Ini().ValueExists("Text", "PHPG"));
  EXPECT_EQ(Ini().ReadInteger("Text", "Background", 0), 0x600000);
  EXPECT_EQ(Ini().ReadInteger("Text", "H", 0), 0xFFAEAE);
  EXPECT_EQ(Ini().ReadInteger("Text", "V1B", 0), 0xCAFFFF);
  EXPECT_EQ(ColourScheme.phpGlobal, 0x00DD00);
  EXPECT_EQ(RecolourRequest, 1);
}

TEST_F(ColourSchemeTest, AStoredSchemeIsReadAndLeftAlone) {
  Ini().WriteInteger("Text", "Background", 255);
  Ini().WriteInteger("Text", "Comments", 0x123456);
  Ini().WriteString("Text", "Font", "Courier New");
  Ini().WriteInteger("Text", "FontSize", 12);
  Ini().WriteBool("Text", "FontBold", true);
  LoadColours();
  EXPECT_EQ(Ini().ReadSection("Text").size(), 5u);
  EXPECT_EQ(ColourScheme.background, 255);
  EXPECT_EQ(ColourScheme.comments, 0x123456);
  EXPECT_EQ(ColourScheme.tags, 0xFFAEAE);  // absent keys keep their defaults
  EXPECT_EQ(ColourScheme.fontName, "Courier New");
  EXPECT_EQ(ColourScheme.fontSize, 12);
  EXPECT_TRUE(ColourScheme.fontBold);
}

TEST_F(ColourSchemeTest, WithoutFontKeysTheFontIsFixedSys) {
  LoadColours();
  EXPECT_EQ(ColourScheme.fontName, "FixedSys");
  EXPECT_EQ(ColourScheme.fontSize, 9);
  EXPECT_FALSE(ColourScheme.fontBold);
}

TEST_F(ColourSchemeTest, DaySchemeWritesItsKeysAndTheFont) {
  LoadColours();
  Ini().WriteInteger("Text", "P1", 0x777777);  // a key the day scheme leaves alone
  MemoryRich editor;
  CurrentEditor = &editor;
  RecolourRequest = 0;
  DayColours();
  EXPECT_EQ(Ini().ReadInteger("Text", "Default", 0), 0x3F3F3F);
  EXPECT_EQ(Ini().ReadInteger("Text", "Background", 0), 0xFFFFFF);
  EXPECT_EQ(Ini().ReadInteger("Text", "Functions", 0), 0x3C003C);
  EXPECT_EQ(Ini().ReadInteger("Text", "Part", 0), 0xA00000);
  EXPECT_EQ(Ini().ReadInteger("Text", "P1", 0), 0x777777);
  EXPECT_EQ(Ini().ReadString("Text", "Font", ""), "Verdana");
  EXPECT_EQ(Ini().ReadInteger("Text", "FontSize", 0), 11);
  EXPECT_FALSE(Ini().ReadBool("Text", "FontBold", true));
  EXPECT_EQ(ColourScheme.defaultColour, 0x3F3F3F);
  EXPECT_EQ(ColourScheme.otherPart, 0x777777);
  EXPECT_EQ(editor.FontName(), "Verdana");
  EXPECT_EQ(editor.FontSize(), 11);
  EXPECT_EQ(RecolourRequest, 1);
}

TEST(ColourRequestTest, PendingRequestsGiveWayByTheirRules) {
  struct Case {
    int pending, asked, result;
  } cases[] = {
      {0, 2, 2}, {0, 1, 1}, {3, 1, 1}, {3, 4, 4}, {4, 2, 4}, {4, 3, 4},
      {4, 1, 1}, {2, 1, 2}, {1, 2, 1}, {1, 3, 1}, {2, 4, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.pending) + " then " + std::to_string(c.asked));
    RecolourRequest = c.pending;
    EXPECT_EQ(RequestRecolour(c.asked), c.result);
    EXPECT_EQ(RecolourRequest, c.result);
  }
}

}  // namespace
}  // namespace quorrel::test
