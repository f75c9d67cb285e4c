// The Pascal formatter on real units of Debian's Free Pascal sources: split with
// "&All", re-formatted by a second run (or stopped with one of its messages), and
// then left as they are by a third; nothing but blanks, line breaks and the letter
// case of the rewritten words changes.
#include <gtest/gtest.h>

#include <string>

#include "platform/UserDialogs.h"
#include "support/ProgramOutput.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "validate/PascalTestKit.h"

namespace quorrel::test {
namespace {

constexpr char kSplitDone[] = "Splitting lines done - please reformat again.";

struct TRealUnit {
  const char* path;
  const char* stop;        // "" when the unit re-formats
  const char* shows = "";  // lines the re-formatted unit holds
};

const TRealUnit kUnits[] = {
    {"packages/winunits-base/src/typelib.pas", ""},
    {"packages/winunits-base/src/stdole2.pas", "",
     "  Font = DispInterface\r\n    ['{BEF6E003-A874-101A-8BBA-00AA00300CAB}']\r\n"
     "// Name :\r\n    Property Name:WideString  dispid 0;\r\n"},
    {"packages/fcl-process/src/simpleipc.pp", "",
     "  TIPCServerMsgQueue = Class\r\n    strict Private\r\n      FList: TFPObjectList;\r\n"},
    {"packages/rtl-generics/src/generics.collections.pas", ""},
    {"rtl/objpas/sysutils/sysutils.inc", ""},
    {"rtl/unix/baseunix.pp", ""},
    {"packages/fcl-base/src/inifiles.pp", ""},
    {"packages/fcl-json/src/fpjson.pp", ""},
    // "if ... then" in one "{$ifdef}", its "end else begin" in another.
    {"rtl/objpas/classes/classes.inc", ""},
    // Mac Pascal's "{$ifc}" ... "{$endc}".
    {"packages/univint/src/AXRoleConstants.pas", ""},
    // C text kept in a conditional: "#if defined(...)" splits at its "if".
    {"packages/paszlib/src/trees.pas", "Indenting level < 0, line 553"},
    // A "{$" that opens a comment over several declarations, closed by the "}"
    // of a GUID string.
    {"packages/winunits-base/src/shlobj.pp",
     "Unmatched quote in\r        ['{757a7d9f-919a-4118-99d7-dbb208c8cc66}']"},
    {"packages/x11/src/xkb.pp", "Line 1804 is too long."},
};

TEST(PascalRealSources, SplitThenReformatThenNothingChanges) {
  for (const TRealUnit& unit : kUnits) {
    SCOPED_TRACE(unit.path);
    const std::string source = FpcSource(unit.path);
    ASSERT_FALSE(source.empty());
    Dialogs().Answer(mrNo);  // "&All"
    TValidation verdict = FormatPascal(source);
    Dialogs().Clear();
    std::string text = source;
    if (verdict.error && verdict.error->message == kSplitDone) {
      text = TextAfter(verdict, source);
      verdict = FormatPascal(text);
    }
    if (*unit.stop) {
      ASSERT_TRUE(verdict.error);
      EXPECT_EQ(verdict.error->message, unit.stop);
      EXPECT_FALSE(verdict.text) << "a stop writes nothing back";
      continue;
    }
    ASSERT_FALSE(verdict.error) << verdict.error->message;
    EXPECT_EQ(verdict.status, ValidatedStatus);
    text = TextAfter(verdict, text);
    EXPECT_NE(text.find(unit.shows), std::string::npos) << unit.shows;
    EXPECT_EQ(PascalKept(text), PascalKept(source));
    const TValidation third = FormatPascal(text);
    EXPECT_FALSE(third.text) << "a further run changes nothing";
    EXPECT_FALSE(third.error);
  }
}

// Splits with "&All" and re-formats: the unit as a second run leaves it.
std::string Reformatted(const std::string& source) {
  Dialogs().Answer(mrNo);
  std::string text = TextAfter(FormatPascal(source), source);
  Dialogs().Clear();
  const TValidation second = FormatPascal(text);
  EXPECT_FALSE(second.error);
  return TextAfter(second, text);
}

TEST(PascalRealSources, AReformattedUnitStillCompiles) {
  const std::string folder = TestHome() + "fpc/";
  const std::string unit = "packages/fcl-process/src/simpleipc.pp";
  WriteFile(folder + "simpleipc.pp", Reformatted(FpcSource(unit)));
  const std::string sources = std::string(kFpcSource) + "packages/fcl-process/src";
  const std::string output =
      ProgramOutput("cd '" + folder + "' && fpc -Mobjfpc -FE. -Fi" + sources + "/unix -Fi" +
                    sources + " simpleipc.pp 2>&1; echo \"exit $?\"");
  EXPECT_NE(output.find("lines compiled"), std::string::npos) << output;
  EXPECT_NE(output.find("exit 0"), std::string::npos) << output;
}

}  // namespace
}  // namespace quorrel::test
