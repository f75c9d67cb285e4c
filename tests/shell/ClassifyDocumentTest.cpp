#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "platform/Paths.h"
#include "shell/ClassifyDocument.h"
#include "shell/ShellState.h"
#include "support/MemoryRich.h"

namespace quorrel {
namespace {

const std::string kTemp = "/run/user/1000/Quorrel/";

// The names of the flags that hold, sorted, for comparing with a table.
std::string FlagsOf(const TDocumentType& t) {
  std::set<std::string> on;
  auto add = [&](bool flag, const char* name) {
    if (flag) on.insert(name);
  };
  add(t.isHtml, "html");
  add(t.isServerPage, "server");
  add(t.isPhp, "php");
  add(t.isAsp, "asp");
  add(t.isCss, "css");
  add(t.isJs, "js");
  add(t.isCSharp, "cs");
  add(t.isPascal, "pas");
  add(t.isXml, "xml");
  add(t.isTei, "tei");
  add(t.isRtf, "rtf");
  add(t.isAbc, "abc");
  add(t.isLog, "log");
  add(t.isScript, "script");
  add(t.isContentDoc, "content");
  add(t.isDotPage, "dot");
  add(t.isSlides, "slides");
  add(t.isOfficeHtml, "office");
  add(t.isPlainText, "plain");
  add(t.notInSite, "notinsite");
  add(t.hasBaseTag, "base");
  std::string out;
  for (const auto& name : on) out += (out.empty() ? "" : " ") + name;
  return out;
}

std::string Sorted(const std::string& names) {
  std::istringstream in(names);
  std::set<std::string> set;
  for (std::string w; in >> w;) set.insert(w);
  std::string out;
  for (const auto& name : set) out += (out.empty() ? "" : " ") + name;
  return out;
}

struct Case {
  std::string path;
  std::string text;  // its first line is the document's first line
  bool onTabChange;
  std::string ext;
  std::string flags;
};

TEST(ClassifyDocument, FlagRules) {
  const Case cases[] = {
      // Extensions, compared exactly after upper-casing the name's own extension.
      {"/site/index.php", "", false, ".PHP", "php server html"},
      {"/site/a.asp", "", false, ".ASP", "asp server html"},
      {"/site/a.aspx", "", false, ".ASPX", "server html"},
      {"/site/a.ascx", "", false, ".ASCX", "server html"},
      {"/site/s.css", "", false, ".CSS", "css"},
      {"/site/p.cs", "", false, ".CS", "cs"},
      {"/site/j.js", "", false, ".JS", "js"},
      {"/site/page.HTML", "<p>", false, ".HTML", "html"},
      {"/site/page.shtml", "", false, ".SHTML", "html"},
      {"/site/t.dwt", "", false, ".DWT", "html"},
      {"/site/t.lbi", "", false, ".LBI", "html"},
      {"/site/t.vbs", "", false, ".VBS", "html"},
      {"/site/global.asax", "", false, ".ASAX", "html"},
      {"/site/p.pas", "", false, ".PAS", "pas"},
      {"/site/s.scr", "", false, ".SCR", "script rtf"},
      {"/site/l.ltr", "", false, ".LTR", "rtf"},
      {"/site/b.rtf", "Some words", false, ".RTF", "rtf"},
      {"/site/page.php.bak", "<?php", false, ".BAK", ""},
      {"/site.d/readme", "words", false, "", ""},
      // First lines.
      {"/site/notes.txt", "<!DOCTYPE html>\r\n<html>", false, ".TXT", "html plain"},
      {"/site/d.xml", "<?xml version=\"1.0\"?>\r\n<a/>", false, ".XML", "xml"},
      {"/site/tune.txt", "X:1\r\nT:Reel", false, ".TXT", "abc plain"},
      {"/site/tune.txt", "X:1a\r\nT:Reel", false, ".TXT", "plain"},
      {"/site/tune.txt", "X: 47\r\nT:Jig", false, ".TXT", "abc plain"},
      {"/site/tune.txt", "X:\r\nT:Jig", false, ".TXT", "plain"},
      {"/site/tune.txt", "X:12 \r\n", false, ".TXT", "plain"},
      {"/site/codes.txt", "%%scale 0.7", false, ".TXT", "abc plain"},
      {"/home/u/ABCCodes.txt", "%%pagewidth 21cm", false, ".TXT", "abc plain"},
      {"/site/t.abc", "", false, ".ABC", "abc"},
      {"/site/a.log", "[12:00] started", false, ".LOG", ""},
      {"/site/a.ini", "[Main]\r\nKey=1", false, ".INI", "log"},
      {"/site/show.rtf", "Pictures|Slides|5", false, ".RTF", "rtf slides"},
      // Text.
      {"/site/w.htm", "<p>Word<O:p></O:p>", false, ".HTM", "html office"},
      {"/site/notes", "Title\r\n========\r\n", false, "", "plain"},
      {"/site/notes", "[Top]\r\n========\r\n", false, "", "log"},
      {"/site/page.htm", "<head><BASE href=\"http://x/\">", false, ".HTM", "html base"},
      {"/site/b.rtf", ".PG index|Home\r\n<base x>", false, ".RTF", "rtf dot"},
      {"/site/b.rtf", ".pg index|Home", false, ".RTF", "rtf dot"},
      {"Content", "Body text", false, "", "content rtf"},
      // Outside any site.
      {kTemp + "index", "<!DOCTYPE html>\r\n<html>", false, ".HTM", "html notinsite"},
      {"/home/u/site/index", "<!DOCTYPE html>", false, "", "html"},
      {kTemp + "report", "plain words", false, "", "html notinsite"},
      {kTemp + "settings", "[Main]\r\n", false, "", "log notinsite"},
      {kTemp + "doc", "<!doctype tei2 x>", false, "", "tei notinsite"},
      {kTemp + "tune", "X:3", false, "", "abc notinsite"},
      {"/tmp/x/a.txt", "w", false, ".TXT", "plain notinsite"},
      {"/home/u/Downloads/a.htm", "", false, ".HTM", "html notinsite"},
      {"/home/u/site/Untitled.htm", "", false, ".HTM", "html notinsite"},
      {"/usr/share/doc/x/README", "w", false, "", "html notinsite"},
      {"HTTP://example.com/a.txt", "w", false, ".TXT", "plain notinsite"},
      // On a tab change an out-of-site text that holds "<HTML" is HTML.
      {kTemp + "page.txt", "Saved\r\n<Html>", false, ".TXT", "plain notinsite"},
      {kTemp + "page.txt", "Saved\r\n<Html>", true, ".TXT", "html plain notinsite"},
      {"/site/page.txt", "Saved\r\n<Html>", true, ".TXT", "plain"},
  };
  for (const auto& c : cases) {
    std::string firstLine = c.text.substr(0, c.text.find("\r\n"));
    TDocumentType t = ClassifyText(c.path, firstLine, c.text, c.onTabChange, kTemp);
    EXPECT_EQ(t.ext, c.ext) << c.path << " | " << c.text;
    EXPECT_EQ(FlagsOf(t), Sorted(c.flags)) << c.path << " | " << c.text;
  }
}

TEST(ClassifyDocument, SetsTheShellFlagsFromTheEditorsFirstLine) {
  test::MemoryRich editor;
  editor.SetText("X:7\r\nT:Tune\r\n");
  CurrentEditor = &editor;
  CurrentFileName = "/site/tunes.txt";
  CurrentText = "stale text of another document\r\n";
  ClassifyDocument();
  EXPECT_EQ(CurrentExt, ".TXT");
  EXPECT_TRUE(IsAbc) << "the first line is the editor's";
  EXPECT_TRUE(IsPlainText);
  EXPECT_FALSE(IsHtml);

  CurrentEditor = nullptr;
  CurrentFileName = TempFolder() + "index";
  CurrentText = "<!DOCTYPE html>\r\n<html>\r\n";
  ClassifyDocument();
  EXPECT_EQ(CurrentExt, ".HTM") << "a page in the work folder without an extension";
  EXPECT_TRUE(IsHtml);
  EXPECT_TRUE(NotInSite);
  EXPECT_FALSE(IsAbc);
}

}  // namespace
}  // namespace quorrel
