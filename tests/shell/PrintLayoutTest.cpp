// Where the printed text stands on the page: the margins of the settings at the
// printer's resolutions, and the rules for a page without margins.
#include <gtest/gtest.h>

#include "platform/IniFile.h"
#include "shell/PrintLayout.h"
#include "shell/ShellState.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

TEST(PrintAreaTest, FollowsTheMarginsOrTheRulesForNone) {
  // A4 printable area at 600 dpi, and a printer with twice the resolution down.
  const TPrinterPage square{4800, 6800, 600, 600};
  const TPrinterPage tall{4800, 13600, 600, 1200};
  struct Case {
    const char* what;
    TPrintMargins margins;
    bool letter, noMargin;
    TPrinterPage page;
    TPrintRect area;
  } cases[] = {
      // 20 mm = 20 x 57 twips = 475 pixels at 600 dpi, 950 at 1200.
      {"20 mm all round", {20, 20, 20, 20}, false, false, square, {475, 475, 4325, 6325}},
      {"top and bottom at the vertical resolution",
       {20, 20, 20, 20},
       false,
       false,
       tall,
       {475, 950, 4325, 12650}},
      {"one margin", {0, 0, 0, 10}, false, false, square, {237, 0, 4800, 6800}},
      // Without margins: 120 pixels less height; 1/18 of it above and below.
      {"none", {}, false, false, square, {250, 371, 4430, 6308}},
      {"a letter with margin", {}, true, false, square, {369, 371, 4430, 6308}},
      {"a letter without", {}, true, true, square, {0, 0, 4800, 6680}},
  };
  for (const Case& c : cases) {
    TPrintJob job;
    job.margins = c.margins;
    job.letter = c.letter;
    job.noMargin = c.noMargin;
    EXPECT_EQ(PrintArea(job, c.page), c.area) << c.what;
  }
}

TEST(PrintAreaTest, MarginsWiderThanThePageLeaveNoRoom) {
  TPrintJob job;
  job.margins = {150, 150, 150, 150};
  const TPrintRect area = PrintArea(job, {4800, 6800, 600, 600});
  EXPECT_LE(area.right, area.left);
}

TEST(PrintMarginsTest, ComeFromTheSettingsNeverBelowZero) {
  SettingsIni = std::make_unique<TIniFile>(test::TestHome() + "margins.ini");
  SettingsIni->WriteString("System", "TopMargin", "15");
  SettingsIni->WriteString("System", "LeftMargin", "-5");
  const TPrintMargins m = ReadPrintMargins();
  EXPECT_EQ(m.top, 15);
  EXPECT_EQ(m.left, 0);
  EXPECT_EQ(m.right, 0);
  EXPECT_FALSE(m.AllZero());
  SettingsIni.reset();
}

}  // namespace
}  // namespace quorrel
