// Validating a Pascal project: the units it lists, the companion files' letter
// cases, the tabs through the run, and a run that an error in a unit stops.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "commands/ValidateProject.h"
#include "platform/Abort.h"
#include "shell/CommandNames.h"
#include "shell/MyRich.h"
#include "shell/Saving.h"
#include "support/Installed.h"
#include "support/ScriptedDialogs.h"
#include "validate/PascalProject.h"
#include "validate/PascalTestKit.h"
#include "validate/ValTestKit.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

const char kExamples[] = "/usr/share/doc/fp-units-base/3.2.2/examples/pasjpeg/";
const char kMisIndented[] = "unit U;\r\ninterface\r\nimplementation\r\nbegin\r\nx;\r\nend.\r\n";
const char kReindented[] = "Unit U;\r\nInterface\r\nImplementation\r\nBegin\r\n  x;\r\nEnd.\r\n";

TEST(PascalProjectFiles, UnitPathsOfAProject) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> paths;
  } cases[] = {
      {"units between the quotes, relative to the folder",
       "program P;\r\nuses\r\n  Forms,\r\n  a in 'a.pas',\r\n  b in 'sub\\b.pas' {Form1};\r\n"
       "{$R *.RES}\r\nbegin\r\nend.\r\n",
       {"/p/a.pas", "/p/sub/b.pas"}},
      {"a leading backslash is the root",
       "program P;\r\nuses\r\n  c in '\\lib\\c.pas';\r\n{$R *.RES}\r\nend.\r\n", {"/lib/c.pas"}},
      {"the first two lines are not read",
       "x in 'no.pas'\r\ny in 'no2.pas'\r\nz in 'yes.pas';\r\nend.\r\n", {"/p/yes.pas"}},
      {"nothing after the resource line",
       "program P;\r\nuses\r\n  a in 'a.pas';\r\n{$r *.res}\r\n  d in 'd.pas';\r\nend.\r\n",
       {"/p/a.pas"}},
      {"the last line is not read", "program P;\r\nuses\r\n  a in 'a.pas';\r\ne in 'e.pas'",
       {"/p/a.pas"}},
      {"an unclosed quote takes the rest of the line",
       "program P;\r\nuses\r\n  a in 'a.pas\r\nend.\r\n", {"/p/a.pas"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ProjectUnitPaths(c.text, "/p/"), c.paths) << c.name;
  EXPECT_EQ(ProjectFileNames("testproj"),
            (std::vector<std::string>{"Direct.Inc", "testproj.cfg", "testproj.dof", "testproj.Dpr",
                                      "testproj.dsk", "testproj.Exe", "testproj.Ico",
                                      "testproj.res", "testproj.dcu"}));
}

class ValidateProjectTest : public ValidationTest {
 protected:
  void SetUp() override {
    ValidationTest::SetUp();
    SetValidatorStandIn(nullptr);  // the real formatter
    window.SetTabsVisible(true);
  }
  void TearDown() override {
    StartMode = StartNormal;
    ValidationTest::TearDown();
  }
  // A project listing units u1 .. un, each mis-indented, except the one given.
  std::string WriteProject(int units, int faulty = 0) {
    std::string project = "program Many;\r\nuses\r\n";
    for (int n = 1; n <= units; ++n) {
      const std::string name = "u" + std::to_string(n);
      project += "  " + name + " in 'units\\" + name + ".pas',\r\n";
      Write("units/" + name + ".pas", n == faulty ? "begin\r\nx;\r\n" : kMisIndented);
    }
    project += "  Last;\r\n\r\n{$R *.RES}\r\n\r\nbegin\r\nend.\r\n";
    return Write("many.dpr", project);
  }
  void OpenProject(const std::string& path) {
    OpenInNewTab(path);
    PCChange();
  }
};

TEST_F(ValidateProjectTest, DebiansExampleProject) {
  const std::string project = InstalledFile(std::string(kExamples) + "testproj.dpr", "fp-units-base-3.2.2");
  const std::string unit = InstalledFile(std::string(kExamples) + "test1.pas", "fp-units-base-3.2.2");
  ASSERT_FALSE(project.empty());
  Write("testproj.dpr", project);
  Write("test1.pas", unit);
  Write("TESTPROJ.RES", "resource");
  OpenProject(site + "testproj.dpr");

  ValidateCurrentFile("Validate");

  // The companion files take their letter cases; there is no second project file.
  EXPECT_TRUE(fs::exists(site + "testproj.res"));
  EXPECT_FALSE(fs::exists(site + "TESTPROJ.RES"));
  EXPECT_TRUE(fs::exists(site + "testproj.Dpr"));
  EXPECT_FALSE(fs::exists(site + "testproj.dpr"));
  EXPECT_EQ(Status(), "  Validated");
  // The unit was re-indented and saved: a second run finds nothing to change.
  const std::string saved = Read(site + "test1.pas");
  EXPECT_NE(saved, unit);
  EXPECT_EQ(PascalKept(saved), PascalKept(unit));
  const std::string crlf = ReplaceAll(ReplaceAll(saved, "\r\n", "\n", true), "\n", "\r\n", true);
  EXPECT_FALSE(FormatPascal(crlf).text);

  // The project's tab is back, under its new name, and the unit's tab has gone.
  EXPECT_TRUE(window.TabsVisible());
  ASSERT_EQ(window.TabCount(), 1);
  EXPECT_EQ(window.TabCaption(0), "testproj.Dpr");
  EXPECT_EQ(CurrentFileName, site + "testproj.Dpr");
  EXPECT_TRUE(Dialogs().Calls().empty());

  // Saving the project writes the file under its new name.
  SaveClick(ValidateCommand);
  EXPECT_FALSE(fs::exists(site + "testproj.dpr"));
  EXPECT_TRUE(fs::exists(site + "testproj.Dpr"));
}

TEST_F(ValidateProjectTest, TwoFilesDifferingInCaseAreBothKept) {
  Write("x.dpr", "program x;\r\nuses\r\n  Forms;\r\nbegin\r\nend.\r\n");
  Write("x.RES", "upper");
  Write("x.res", "lower");
  OpenProject(site + "x.dpr");
  ValidateCurrentFile("Validate");
  EXPECT_EQ(Read(site + "x.RES"), "upper");
  EXPECT_EQ(Read(site + "x.res"), "lower");
  EXPECT_EQ(CurrentFileName, site + "x.Dpr");
}

TEST_F(ValidateProjectTest, MoreUnitsThanTabsRunThrough) {
  OpenProject(WriteProject(45));
  ValidateCurrentFile("Validate");
  for (int n = 1; n <= 45; ++n) {
    EXPECT_EQ(Read(site + "units/u" + std::to_string(n) + ".pas"), kReindented) << n;
  }
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_EQ(window.TabCount(), 1);
  EXPECT_EQ(CurrentFileName, site + "many.Dpr");
}

TEST_F(ValidateProjectTest, AnErrorInAUnitStopsTheRunWithTheTabsShown) {
  OpenProject(WriteProject(4, 3));
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  EXPECT_NE(Dialogs().Last().text.find("Indenting error - does not finish in column 1"),
            std::string::npos);
  EXPECT_EQ(Read(site + "units/u1.pas"), kReindented);
  EXPECT_EQ(Read(site + "units/u2.pas"), kReindented);
  EXPECT_EQ(Read(site + "units/u4.pas"), kMisIndented) << "nothing after the error";
  EXPECT_TRUE(window.TabsVisible());
  EXPECT_EQ(CurrentFileName, site + "units/u3.pas") << "the unit at fault stays in view";
  EXPECT_FALSE(ProjectRunning());
}

TEST_F(ValidateProjectTest, AnOpenUnitIsValidatedInItsOwnTab) {
  const std::string project = WriteProject(2);
  OpenProject(site + "units/u2.pas");
  OpenProject(project);
  ValidateCurrentFile("Validate");
  EXPECT_EQ(Read(site + "units/u1.pas"), kReindented);
  EXPECT_EQ(Read(site + "units/u2.pas"), kReindented);
  ASSERT_EQ(window.TabCount(), 2) << "the open unit stays open";
  EXPECT_EQ(window.TabCaption(0), "u2.pas");
  EXPECT_FALSE(window.Editor(0).Modified());
  EXPECT_EQ(CurrentFileName, site + "many.Dpr");
}

TEST_F(ValidateProjectTest, ReformatterModeShowsEachUnitOnTheSplash) {
  OpenProject(WriteProject(2));
  StartMode = StartReformatting;
  ValidateCurrentFile("");
  EXPECT_EQ(window.splashTexts,
            (std::vector<std::string>{site + "units/u1.pas", site + "units/u2.pas"}));
  EXPECT_EQ(Read(site + "units/u1.pas"), kReindented);
  EXPECT_EQ(Read(site + "many.Dpr").substr(0, 14), "Program Many;\r");
}

}  // namespace
}  // namespace quorrel::test
