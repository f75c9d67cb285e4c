// Link texts are measured in a font Debian ships, never a silent substitute, so a
// link block is cut the same way on every machine.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>

#include "sitebuild/LinkBlock.h"
#include "sitebuild/LinkTextWidth.h"
#include "ui/sitebuild/LinkTextMetrics.h"

namespace quorrel {
namespace {

TEST(LinkTextMetricsTest, MeasuresInDejaVuSansAtSixteenPixels) {
  QFont font("DejaVu Sans");
  font.setPixelSize(16);
  ASSERT_EQ(QFontInfo(font).family(), "DejaVu Sans") << "fonts-dejavu-core is not installed";
  InstallLinkTextMetrics();
  const double width = LinkTextWidth("The Dashing White Sergeant");
  EXPECT_DOUBLE_EQ(width, QFontMetricsF(font).horizontalAdvance("The Dashing White Sergeant"));
  EXPECT_GT(width, 150);
  EXPECT_LT(width, kMaxLinkTextWidth);
  // Accented letters are measured as the characters they are.
  EXPECT_DOUBLE_EQ(LinkTextWidth("caf\xE9"), QFontMetricsF(font).horizontalAdvance("caf\u00e9"));
  const std::string longTitle = "Strip the Willow and other dances of the Scottish Borders";
  const std::string shown = ShownLinkText(longTitle);
  const size_t cut = shown.find("&hellip;<TT>");
  ASSERT_NE(cut, std::string::npos) << shown;
  EXPECT_LE(LinkTextWidth(shown.substr(0, cut) + "... "), kMaxLinkTextWidth);
  EXPECT_GT(LinkTextWidth(longTitle.substr(0, cut + 1) + "... "), kMaxLinkTextWidth);
  SetLinkTextWidth({});
}

}  // namespace
}  // namespace quorrel
