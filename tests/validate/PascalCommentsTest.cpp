// Where the Pascal formatter puts comments: the column of a trailing comment, the
// column it takes over from the line before, "{" lines that join it, and the width
// limit that decides whether a line still fits.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "validate/PascalComments.h"
#include "validate/PascalTestKit.h"

namespace quorrel::test {
namespace {

std::string Unit(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// code, then blanks so that the comment starts in column.
std::string At(const std::string& code, int column, const std::string& comment) {
  return code + std::string(static_cast<size_t>(column - 1) - code.size(), ' ') + comment;
}

TValidation Format(const std::string& text, int widthLimit) {
  TPage page;
  page.text = text;
  page.path = "/site/unit.pas";
  page.kind = TDocumentKind::Pascal;
  return ValidatePascal(page, widthLimit);
}

TEST(PascalComments, TrailingCommentColumn) {
  struct Case {
    const char* name;
    int codeEnd;
    size_t length;
    int previous;
    int limit;
    int column;
  } cases[] = {
      {"after 12 characters of code, column 30", 12, 10, 0, 150, 30},
      {"after 31 characters, the next multiple of 5", 31, 10, 0, 150, 35},
      {"one blank before a multiple of 5 counts as one blank too", 33, 10, 0, 150, 45},
      {"the previous column 40 kept when the line fits", 12, 10, 40, 150, 40},
      {"the previous column no longer fits the width", 12, 30, 40, 60, 30},
      {"a previous column left of the computed one is not taken", 40, 10, 30, 150, 45},
      {"one blank between code and comment: ten further", 28, 10, 0, 150, 40},
      {"ten further only while the line stays within 70", 28, 32, 0, 150, 30},
      {"exactly 70 wide is within", 28, 31, 0, 150, 40},
      {"after code of 48, column 50 then 60", 48, 11, 0, 150, 60},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TrailingCommentColumn(c.codeEnd, c.length, c.previous, c.limit), c.column) << c.name;
  }
}

TEST(PascalComments, BraceLineColumn) {
  struct Case {
    const char* name;
    int column;
    size_t length;
    int previous;
    int limit;
    int placed;
  } cases[] = {
      {"no comment above: its own column", 5, 10, 0, 150, 5},
      {"the comment column above when it fits", 5, 10, 40, 150, 40},
      {"too wide for the column above: its own", 5, 30, 40, 60, 5},
      {"too wide for its own: shifted left to fit", 21, 50, 0, 60, 11},
      {"never before column 1", 7, 80, 0, 60, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BraceLineColumn(c.column, c.length, c.previous, c.limit), c.placed) << c.name;
  }
}

TEST(PascalComments, WidthLimitFromTheClientWidth) {
  EXPECT_EQ(PascalWidthLimit(1024), 150);
  EXPECT_EQ(PascalWidthLimit(1366), 200);
  EXPECT_EQ(PascalWidthLimit(800), 117);
  EXPECT_EQ(PascalWidthLimit(0), DefaultPascalWidthLimit);
}

TEST(PascalComments, CommentsLineUpInAUnit) {
  struct Case {
    const char* name;
    std::string given, laidOut;
    int limit = 150;
  } cases[] = {
      {"a trailing comment goes to column 30, the next line's follows it",
       Unit({"begin", "x := 1; { one }", "yy := 22; // two", "end;"}),
       Unit({"Begin", At("  x := 1;", 30, "{ one }"), At("  yy := 22;", 30, "// two"), "End;"})},
      {"a longer line further right, and the line after takes its column",
       Unit({"begin", "LongName := Another + Third + Fourth; { a }", "x := 1; { b }", "end;"}),
       Unit({"Begin", At("  LongName := Another + Third + Fourth;", 45, "{ a }"),
             At("  x := 1;", 45, "{ b }"), "End;"})},
      {"a line without a comment ends the column",
       Unit({"begin", "LongName := Another + Third + Fourth; { a }", "y;", "x := 1; { b }", "end;"}),
       Unit({"Begin", At("  LongName := Another + Third + Fourth;", 45, "{ a }"), "  y;",
             At("  x := 1;", 30, "{ b }"), "End;"})},
      {"a comment line joins the column above it, and the line after it too",
       Unit({"begin", "x := 1; { a }", "{ more about a }", "y := 2; { b }", "end;"}),
       Unit({"Begin", At("  x := 1;", 30, "{ a }"), At("", 30, "{ more about a }"),
             At("  y := 2;", 30, "{ b }"), "End;"})},
      {"a comment line with no comment above stays at its block's column",
       Unit({"begin", "   { alone }", "end;"}), Unit({"Begin", "  { alone }", "End;"})},
      {"a comment line too wide for the column above stays at its block's column",
       Unit({"begin", "x := 1; { a }", "{ " + std::string(40, 'c') + " }", "end;"}),
       Unit({"Begin", At("  x := 1;", 30, "{ a }"), "  { " + std::string(40, 'c') + " }", "End;"}),
       60},
      {"a comment line too wide for its block's column is moved left to fit",
       Unit({"begin", "begin", "{ abcdefghijklmn }", "end;", "end;"}),
       Unit({"Begin", "  Begin", "  { abcdefghijklmn }", "  End;", "End;"}), 20},
      {"a comment with code after it stays where it is",
       Unit({"begin", "x := { inline } 1;", "end;"}), Unit({"Begin", "  x := { inline } 1;", "End;"})},
      {"a comment in a string is none", Unit({"begin", "s := '{ no }';", "end;"}),
       Unit({"Begin", "  s := '{ no }';", "End;"})},
      {"a comment running on over lines keeps its later lines",
       Unit({"begin", "x := 1; (* one", "   two *)", "end;"}),
       Unit({"Begin", At("  x := 1;", 30, "(* one"), "   two *)", "End;"})},
      {"directive lines go to column 1 and end the column",
       Unit({"begin", "x := 1; { a }", "  {$R-}", "{ b }", "end;"}),
       Unit({"Begin", At("  x := 1;", 30, "{ a }"), "{$R-}", "  { b }", "End;"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TValidation first = Format(c.given, c.limit);
    ASSERT_FALSE(first.error) << first.error->message;
    EXPECT_EQ(TextAfter(first, c.given), c.laidOut);
    EXPECT_FALSE(Format(c.laidOut, c.limit).text) << "a second run changes nothing";
  }
}

TEST(PascalComments, ShortLinesComeOutTheSameAtAnyWidth) {
  const std::string unit = Unit({"begin", "x := 1; { a }", "{ b }", "y; // c", "end;"});
  EXPECT_EQ(TextAfter(Format(unit, 150), unit), TextAfter(Format(unit, 200), unit));
}

}  // namespace
}  // namespace quorrel::test
