// A tick in "Wingdings" on a system without that font: the document keeps byte
// FC in Wingdings, the screen draws the program's check mark.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QRawFont>
#include <QTextCursor>

#include "support/RtfConformance.h"
#include "ui/platform/RichEdit.h"
#include "ui/platform/SymbolFonts.h"

namespace quorrel {
namespace {

using test::OurRtf;

// The family the screen draws the character at a position in.
QString DrawnFamily(TRichEdit& editor, int pos) {
  QTextCursor cursor(editor.document());
  cursor.setPosition(pos + 1);  // the format of the character before
  return QFontInfo(cursor.charFormat().font()).family();
}

TEST(SymbolFontsTest, WingdingsTickIsDrawnAsACheckMarkAndKeptAsItWas) {
  TRichEdit editor;
  editor.resize(400, 200);
  editor.show();
  const std::string source =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
      "{\\f1\\fnil\\fcharset2 Wingdings;}}\r\n{\\colortbl ;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 "
      "done \\f1\\'fc\\f0  yes\r\n\\par }\r\n";
  editor.SetRtfSource(source);
  ASSERT_TRUE(UseSymbolFonts());
  EXPECT_EQ(DrawnFamily(editor, 5), QString::fromLatin1(kSymbolStandIn));
  EXPECT_NE(DrawnFamily(editor, 0), QString::fromLatin1(kSymbolStandIn));
  // The stand-in has the one glyph, where the system's choice shows "ü".
  QFont wingdings;
  wingdings.setFamilies({QStringLiteral("Wingdings")});
  EXPECT_EQ(QFontInfo(wingdings).family(), QString::fromLatin1(kSymbolStandIn));
  EXPECT_TRUE(QRawFont::fromFont(wingdings).supportsCharacter(QChar(0xFC)));
  // Only the screen changes: the text and the codes are the document's.
  EXPECT_EQ(editor.GetText(), "done \xFC yes");
  EXPECT_EQ(editor.GetRtfSource(), source);
}

}  // namespace
}  // namespace quorrel
