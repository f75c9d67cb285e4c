// The Pascal formatter on real units of Debian's Free Pascal sources: split with
// "&All", re-formatted by a second run (or stopped with one of its messages), and
// then left as they are by a third; nothing but blanks, line breaks and the letter
// case of the rewritten words changes.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "platform/UserDialogs.h"
#include "support/ScriptedDialogs.h"
#include "validate/PascalTestKit.h"

namespace quorrel::test {
namespace {

// The text without blanks and line ends, in upper case: what the formatter keeps.
std::string Kept(const std::string& text) {
  std::string kept;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    kept += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return kept;
}

struct TRealUnit {
  const char* path;
  const char* stop;  // "" when the unit re-formats
};

const TRealUnit kUnits[] = {
    {"packages/winunits-base/src/typelib.pas", ""},
    {"packages/fcl-process/src/simpleipc.pp", ""},
    {"packages/rtl-generics/src/generics.collections.pas", ""},
    {"rtl/objpas/sysutils/sysutils.inc", ""},
    {"rtl/unix/baseunix.pp", ""},
    {"packages/fcl-base/src/inifiles.pp", ""},
    // "if ... then" in one "{$ifdef}" and its "end else begin" in another: the
    // branches of the conditional do not end in the same state.
    {"rtl/objpas/classes/classes.inc",
     "Block must be terminated by End around line 324 rather than ELSE"},
    {"packages/fcl-json/src/fpjson.pp", ""},
};

TEST(PascalRealSources, SplitThenReformatThenNothingChanges) {
  for (const TRealUnit& unit : kUnits) {
    SCOPED_TRACE(unit.path);
    const std::string source = FpcSource(unit.path);
    ASSERT_FALSE(source.empty());
    Dialogs().Answer(mrNo);  // "&All"
    const TValidation splitRun = FormatPascal(source);
    if (splitRun.error) {
      EXPECT_EQ(splitRun.error->message, "Splitting lines done - please reformat again.");
    }
    std::string text = TextAfter(splitRun, source);
    Dialogs().Clear();
    const TValidation second = FormatPascal(text);
    if (*unit.stop) {
      ASSERT_TRUE(second.error);
      EXPECT_EQ(second.error->message, unit.stop);
      EXPECT_FALSE(second.text) << "a stop writes nothing back";
      continue;
    }
    ASSERT_FALSE(second.error) << second.error->message;
    EXPECT_EQ(second.status, ValidatedStatus);
    text = TextAfter(second, text);
    EXPECT_EQ(Kept(text), Kept(source));
    const TValidation third = FormatPascal(text);
    EXPECT_FALSE(third.text) << "a further run changes nothing";
    EXPECT_FALSE(third.error);
  }
}

}  // namespace
}  // namespace quorrel::test
