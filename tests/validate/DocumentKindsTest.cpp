// The kinds table: every kind is recognised from a real-looking document, and its
// validator, colouring and sections rule are what the dispatcher, the colouring
// and the Sections list then use for that document.
#include <gtest/gtest.h>

#include <set>

#include "edit/SectionRules.h"
#include "shell/ClassifyDocument.h"
#include "shell/DocumentKinds.h"
#include "shell/MenuModel.h"
#include "shell/Page.h"
#include "shell/ShellState.h"
#include "validate/Validators.h"

namespace quorrel {
namespace {

using K = TDocumentKind;
using V = TValidatorKind;
using C = TColouring;
using S = TSectionRule;

const std::string kTemp = "/run/user/1000/Quorrel/";

struct Case {
  std::string path;
  std::string text;  // its first line is the document's first line
  K kind;
  V validator;
  std::set<C> colourings;
  S sections;
};

// One document per kind, as a user would open it.
const Case kCases[] = {
    {"/site/prog.dpr", "program P;", K::PascalProject, V::Project, {}, S::None},
    {"/site/unit.pas", "unit U;", K::Pascal, V::Pascal, {}, S::None},
    {"/site/decl.inc", "x := 1;", K::PascalInclude, V::Pascal, {}, S::None},
    {"/site/prog.cs", "class A {}", K::CSharp, V::Php, {C::Script}, S::CSharp},
    {"/site/lib.js", "var a;", K::JavaScript, V::Php, {C::Script}, S::Script},
    {"/site/page.php", "<?php echo 1; ?>", K::Php, V::Php, {C::Html}, S::Script},
    {"/site/style.css", "p { }", K::Css, V::Css, {C::CssComments}, S::Css},
    {"/site/macro.vba", "Sub A()", K::Vba, V::Asp, {C::Vba}, S::Asp},
    {"/site/page.asp", "<% x %>", K::Asp, V::Asp, {C::Html}, S::Asp},
    {"/u/ABCCodes.txt", "%%pagewidth 2", K::AbcCodes, V::None, {C::Abc, C::PlainText}, S::Abc},
    {"/site/tune.abc", "X:1\r\nT:Reel", K::Abc, V::Abc, {C::Abc}, S::Abc},
    {"/site/index.htm", "<p>", K::Html, V::Html, {C::Html}, S::Html},
    {"/site/page.aspx", "<p>", K::ServerPage, V::Html, {C::Html}, S::Html},
    {"/site/macro.vbs", "x = 1", K::VbScript, V::Html, {C::Html}, S::Html},
    {"/site/data.xml", "<?xml version=\"1.0\"?>", K::Xml, V::Xml, {C::XmlComments}, S::None},
    {kTemp + "doc", "<!doctype tei2 x>", K::Tei, V::None, {}, S::None},
    {"/site/master.rtf", ".PG index|Home", K::DotPage, V::Rtf, {}, S::DotPage},
    {"/site/play.scr", "Act one", K::Script, V::Rtf, {}, S::Play},
    {"Content", "Body text", K::ContentDoc, V::Rtf, {}, S::Plain},
    {"/site/letter.rtf", "Dear all", K::Rtf, V::Rtf, {}, S::Plain},
    {"/site/run.dat", "[12:00] started", K::Log, V::None, {}, S::Bracketed},
    {"/site/notes.txt", "plain words", K::PlainText, V::None, {C::PlainText}, S::Plain},
    {"/site/setup.ini", "Key=1", K::Ini, V::None, {C::Ini}, S::None},
    {"/site/query.sql", "select 1;", K::Sql, V::None, {}, S::Sql},
    {"/site/list.xxx", "one", K::ListedText, V::None, {}, S::Plain},
    {"/site/show.dat", "Pictures|Slides|5", K::Slides, V::None, {}, S::None},
    {"/site/data.bin", "raw", K::Other, V::None, {}, S::None},
    // A document recognised as several kinds is checked as the first of them and
    // coloured as all of them.
    {"/site/x.htm", "<?xml?>\r\n<html>", K::Html, V::Html, {C::Html, C::XmlComments}, S::Html},
    {"/site/tune.txt", "X:1\r\nT:Reel", K::Abc, V::Abc, {C::Abc, C::PlainText}, S::Abc},
    {"/site/show.rtf", "Pictures|Slides|5", K::Rtf, V::Rtf, {}, S::Plain},
    {"/site/a.ini", "[Main]\r\nKey=1", K::Log, V::None, {C::Ini}, S::Bracketed},
};

const C kColourings[] = {C::Abc,         C::Script, C::Vba,         C::PlainText,
                         C::CssComments, C::Ini,    C::XmlComments, C::Html};

class DocumentKindsTest : public ::testing::Test {
 protected:
  void TearDown() override { MainMenu().SetChecked("Raw", false); }
  // The document made current the way a tab change makes it.
  static void MakeCurrent(const Case& c) {
    CurrentFileName = c.path;
    CurrentText = c.text;
    const std::string firstLine = c.text.substr(0, c.text.find("\r\n"));
    SetCurrentDocumentType(ClassifyText(c.path, firstLine, c.text, false, kTemp));
  }
};

TEST_F(DocumentKindsTest, EachKindsValidatorColouringAndSectionsComeFromItsRow) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.path + " | " + c.text);
    MakeCurrent(c);
    EXPECT_EQ(CurrentKind(), c.kind);
    EXPECT_EQ(ChooseValidator(), c.validator);
    EXPECT_EQ(SectionRuleOf(), c.sections);
    for (C colouring : kColourings) {
      EXPECT_EQ(KindsColour(CurrentKinds(), colouring), c.colourings.count(colouring) > 0)
          << static_cast<int>(colouring);
    }
  }
}

TEST_F(DocumentKindsTest, EveryKindHasOneRowAndADocumentHere) {
  std::set<K> rows, tried;
  for (const TDocumentKindRow& row : DocumentKindTable()) {
    EXPECT_TRUE(rows.insert(row.kind).second) << row.name << " has two rows";
    EXPECT_NE(row.kind, K::Other);
  }
  EXPECT_EQ(rows.size() + 1, DocumentKindCount) << "a kind without a row";
  for (const Case& c : kCases) tried.insert(c.kind);
  for (K kind : rows) EXPECT_TRUE(tried.count(kind)) << KindRow(kind).name << " is not tried";
}

// The status of a kind whose validator is still to come reads as a sentence.
TEST_F(DocumentKindsTest, NotCheckedYetNamesTheKind) {
  EXPECT_EQ(NotCheckedYetStatus(K::Css), "CSS documents are not checked yet");
  EXPECT_EQ(NotCheckedYetStatus(K::DotPage), "Dot-command documents are not checked yet");
  EXPECT_EQ(NotCheckedYetStatus(K::Script), "Script documents are not checked yet");
  EXPECT_EQ(NotCheckedYetStatus(K::CSharp), "C# documents are not checked yet");
}

// RTF shown as its codes has no validator and no sections but a master's; during a
// build every page from HTML on is checked as HTML, while the kinds before it
// keep their own validators.
TEST_F(DocumentKindsTest, RawRtfAndBuildRuns) {
  struct Raw {
    const char* path;
    const char* text;
    V validator;
    S sections;
  } raws[] = {
      {"/site/letter.rtf", "{\\rtf1 Dear all", V::None, S::None},
      {"/site/play.scr", "{\\rtf1 Act one", V::None, S::None},
      {"/site/master.rtf", ".PG index|Home", V::None, S::DotPage},
  };
  MainMenu().SetChecked("Raw", true);
  for (const Raw& r : raws) {
    SCOPED_TRACE(r.path);
    MakeCurrent({r.path, r.text, K::Other, V::None, {}, S::None});
    EXPECT_EQ(ChooseValidator(), r.validator);
    EXPECT_EQ(SectionRuleOf(), r.sections);
  }
  MainMenu().SetChecked("Raw", false);

  CurrentCommand = "BuildAll";
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.path);
    MakeCurrent(c);
    const bool ownValidator = c.validator != V::Html && c.validator != V::Xml &&
                              c.validator != V::Rtf && c.validator != V::None;
    const V expected = c.kind == K::AbcCodes ? V::None : ownValidator ? c.validator : V::Html;
    EXPECT_EQ(ChooseValidator(), expected);
  }
  CurrentCommand.clear();
}

TEST_F(DocumentKindsTest, MenusFollowTheKinds) {
  struct MenuCase {
    const char* path;
    const char* text;
    std::set<TKindMenu> menus;
  } cases[] = {
      {"/site/tune.abc", "X:1", {MenuAbc}},
      {"/home/u/ABCCodes.txt", "%%pagewidth 21cm", {MenuAbc}},
      {"/site/play.scr", "Act one", {MenuScript, MenuRtfTools}},
      {"/site/master.rtf",
       ".PG index|Home",
       {MenuBuild, MenuRtfTools, MenuColourWords, MenuOnlineCheck}},
      {"/site/show.rtf", "Pictures|Slides|5", {MenuViewNotes, MenuRtfTools}},
      {"/site/letter.ltr", "Dear all", {MenuRtfTools}},
      {"/site/index.htm", "<p>", {MenuPageTools, MenuColourWords, MenuOnlineCheck}},
      {"/site/page.php", "<?php", {MenuPageTools, MenuColourWords, MenuOnlineCheck}},
      {"/site/style.css", "p { }", {MenuColourWords, MenuOnlineCheck}},
      {"/site/unit.pas", "unit U;", {MenuColourWords}},
      {"/site/lib.js", "var a;", {MenuColourWords}},
      {"/site/notes.txt", "words", {}},
  };
  for (const MenuCase& c : cases) {
    SCOPED_TRACE(c.path);
    MakeCurrent({c.path, c.text, K::Other, V::None, {}, S::None});
    for (TKindMenu menu : {MenuAbc, MenuScript, MenuBuild, MenuViewNotes, MenuPageTools,
                           MenuRtfTools, MenuColourWords, MenuOnlineCheck}) {
      EXPECT_EQ(KindsShowMenu(CurrentKinds(), menu), c.menus.count(menu) > 0) << menu;
    }
  }
}

}  // namespace
}  // namespace quorrel
