// A walk over the real main window's menus as the start-up leaves them: every
// command that has been built is on an item the user can reach, every item the
// user can choose runs a command, each command the program offers so far has the
// caption, key and help topic it should, and the items follow the document type.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "commands/StartUp.h"
#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "support/MasterRtf.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "support/TestWindow.h"
#include "ui/shell/SplashForm.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

// The commands built so far, as their items should read. An empty shortcut means
// none; nullptr, one that follows the document type (checked below).
struct Command {
  const char* name;
  const char* caption;
  const char* shortcut;
  int help;
};
const Command kCommands[] = {
    // documents and tabs
    {"PrevTab", "Previous tab", "", 0},
    {"NextTab", "Next tab", "", 0},
    // opening
    {"Open", "Open", "Ctrl+O", 20200},
    {"OpenTab", "Open &Tab...", "Ctrl+T", 20200},
    {"OpenRaw", "Open Raw", "", 20202},
    {"NextFile", "Next", "Ctrl+N", 20400},
    {"Reload", "Reload", "", 20350},
    {"NewHTM", "HTML", "", 0},
    {"NewABC", "ABC", "", 0},
    {"NewRTF", "RTF", "", 0},
    {"NewSCR", "Script", "", 0},
    {"NewTXT", "Other", "", 0},
    {"CopyFrom", "Copy from...", "", 0},
    {"Raw", "&Raw", nullptr, 0},
    {"FileMenu", "&File", "", 0},
    // saving and the File menu's file commands
    {"Save", "Save", "Ctrl+S", 20600},
    {"SaveAs", "Save &as...", "", 20700},
    {"SaveCopyAs", "Save copy as...", "", 20720},
    {"InsertFile", "&Insert", "", 21000},
    {"SortM", "Sort", "", 0},
    {"FindDup", "Find Duplicate", "", 21080},
    {"RemoveDups", "Remove Duplicates", "", 0},
    {"HexEdit", "Hex edit", "", 21010},
    {"Encrypted", "Encrypted", "", 21050},
    {"ClipName", "Clip name", "", 21060},
    {"ExploreFolder", "Explore folder", "", 21210},
    {"ListTasks", "List tasks", "", 21220},
    {"PrinterSetup", "Printer setup...", "", 21200},
    {"Redate", "Redate", "", 20810},
    // printing, comparing and restoring
    {"Print", "&Print", "", 0},
    {"Compare", "Compare", "", 0},
    {"CompareWith", "Compare with...", "", 0},
    {"RestoreM", "&Restore", "", 0},
    {"Maximise", "Maximise", "", 0},
    {"ExploreTemp", "Explore Temp Dir", "", 0},
    // settings and sets
    {"Parameter", "&Parameter", "", 60500},
    {"SetOpen", "&Open...", "", 40000},
    {"SetSave", "&Save", "", 40000},
    {"SetSaveAs", "Save &as...", "", 40000},
    {"SetDelete", "Delete", "", 40000},
    {"SetNone", "None", "", 40000},
    // closing and exit
    {"Exit", "E&xit", "Esc", 21300},
    {"ExitNoUpdate", "&Exit NoUpdate", "", 21400},
    {"ExitRemember", "Exit remember", "", 21450},
    {"CloseTab", "Close Tab", "Ctrl+W", 20500},
    {"CloseAll", "Close all", "", 20550},
    {"CloseOthers", "Close others", "", 20550},
    // validation
    {"Validate", "Validate", "F10", 0},
    {"NoReformat", "Validate: no reformat", "Shift+F10", 0},
    {"Reformat", "Reformat", "", 0},
    {"ValAll", "Validate all", "", 0},
    {"SpellCheck", "Spell-check", "", 20740},
    {"CSyntax", "Colour syntax", "", 0},
    {"ColourCSS", "Colour CSS", "", 0},
    // templates and library items
    {"CreateLib", "Create Library item", "", 31000},
    {"UpdateLib", "Update Library item", "", 31100},
    {"RefreshLib", "Refresh from Library", "", 31200},
    {"RegenHtml", "Regenerate &HTML", "", 31300},
    {"RegenOne", "Re&generate One", "", 31400},
    // server details and the connection
    {"SDets", "Server Details", "", 31700},
    {"Online", "On-line", "", 100400},
    {"ServerM", "Server", "", 70000},
    {"ControlPanel", "&Control Panel", "", 31600},
    {"ControlPanelBrowser", "Control Panel in browser", "", 31600},
    // transfers
    {"Upload", "Upload this file", "", 0},
    {"Download", "Download this file", "", 0},
    // music tools and playing
    {"ABCMenu", "&ABC", "", 55000},
    {"GhostLoc", "Ghostscript location", "", 55820},
    {"PDFViewer", "PDF viewer", "", 55726},
    {"VerInfo", "Version info", "", 55730},
    {"HelpABCM", "ABC programs", "", 55020},
    {"Play", "Play", nullptr, 55400},
    {"PlayAll", "Play all", "Ctrl+F4", 55400},
    {"PlayScore", "Play && show score", "Shift+F4", 55400},
    {"PlayRaw", "Play raw", "", 0},
    {"Slow", "Slow", "", 55670},
    // markers, Go To and indent moves
    {"SetMark", "Set", "", 95000},
    {"GotoMark", "Goto", "", 95000},
    {"ClearMark", "Clear all (this file)", "", 0},
    {"ClearAll", "Clear all (all files)", "", 0},
    {"GotoM", "&Goto line/offset", "", 0},
    {"PrevIndent", "Previous indent", "F7", 80250},
    {"NextIndent", "Next indent", "F8", 80250},
    {"SelPrevIndent", "Select previous indent", "Ctrl+F7", 80250},
    {"SelNextIndent", "Select next indent", "Ctrl+F8", 80250},
    // the Sections list
    {"Sections", "&Sections", "", 90000},
    {"PrevSection", "Previous section", "F11", 80300},
    {"NextSection", "Next section", "F12", 80300},
    {"SelSect", "Highlight section", "", 50245},
    // the scenes of a script, its sections
    {"PrevScene", "Previous scene", nullptr, 0},
    {"NextScene", "Next scene", nullptr, 0},
    // the Edit menu's block, case and clean-up commands
    {"WordWrap", "&Word wrap", "", 52200},
    {"SelectAll", "Select &all", "Ctrl+A", 52100},
    {"DelSel", "De&lete", "", 50100},
    {"DupBlock", "Dup block", "Ctrl+[", 50120},
    {"Indent", "Indent block", "Alt+I", 50150},
    {"RePara", "Reparagraph", "", 0},
    {"Upper", "Upper", "Alt+U", 0},
    {"Lower", "Lower", "Alt+L", 0},
    {"Switch", "Switch", "", 0},
    {"Mixed", "Mixed", "Alt+M", 0},
    {"DelWhite", "Delete whitespace", "", 50210},
    {"Unsequence", "Unsequence", "", 50220},
    {"ClearEOL", "Clear to EOL", "Alt+End", 50270},
    {"RunPgm", "Run", "", 50830},
    // counts, reports, the pop-up box and double spacing
    {"WordCount", "Word count", "", 50230},
    {"SectCount", "Section count", "", 50240},
    {"SectNames", "Section names", "", 50240},
    {"PU", "Pop-up box", nullptr, 50242},
    {"DoubleSpace", "Double-space", "", 50260},
    // the Help menu
    {"About", "About", "", 0},
    {"Updates", "Check for updates", "", 0},
    {"AbcHelp1", "ABC standard", "", 0},
    {"AbcHelp2", "abc2midi", "", 0},
    {"AbcHelp3", "abcm2ps", "", 0},
    {"AbcHelp4", "abc2abc", "", 0},
    {"AbcHelp5", "midi2abc", "", 0},
    {"AbcHelp6", "abcm2ps format", "", 0},
    {"AbcHelp7", "General MIDI instruments", "", 0},
    {"AbcHelp8", "MIDI Controller Numbers", "", 0},
    {"AbcHelp9", "ABC tutorial", "", 0},
    // the special characters and the file associations
    {"Special", "Special", "", 50800},
    // the insertions built from the site
    {"InsRow", "Table row", "", 0},
    {"InsImage", "Image", "", 50650},
    {"Link", "Link", nullptr, 50660},
    {"Email", "Email", "", 50700},
    {"Website", "Website", "", 50700},
    {"FileAss", "File associations", "", 101700},
    // the Options menu
    {"Default", "Text", "", 0},
    {"ActiveTab", "Active tab", "", 0},
    {"Day", "Day", "", 0},
    {"Night", "Night", "", 0},
    {"RestoreAll", "Restore all", "", 0},
    {"TopMargin", "TopMargin", "", 0},
    {"LeftMargin", "LeftMargin", "", 0},
    {"TabWidthM", "Tab width", "", 0},
    {"ContentId", "Content Id", "", 0},
    {"EditIni", "Edit Ini file", "", 0},
    {"BrowserO", "Other", "", 0},
    {"Portrait", "Portrait", "", 0},
    {"Landscape", "Landscape", "", 0},
    {"Condense", "Condense on upload", "", 101240},
    {"DelBlanks", "Delete blank lines", "", 101500},
    {"Debug", "&Debug", "", 0},
    {"Z120", "120%", "", 0},
    {"MultiRow", "Multi-row tabs", "", 0},
    {"NoBorder", "No border", "", 0},
    // colours, styles and the phone script
    {"ColourD", "Colour", "", 50320},
    {"BgColour", "BgColour", "", 0},
    {"FgColour", "Text Colour", "", 0},
    {"SaveStyle", "Save style", "", 50350},
    {"CopyStyle", "Copy style", "", 50350},
    {"EncPhone", "Encrypt phone ", "", 0},
};

class MenuWalkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site_ = test::SiteTestFolder() + "menu-walk/";
    fs::create_directories(site_);
    // Nothing is handed to the desktop's programs.
    SetShellOpener([](const std::string&) { return true; });
    form_ = std::make_unique<TWebForm>();
    SetMainWindow(form_.get());
    // The forms the program makes at start, as it makes them.
    splash_ = new TSplashForm(form_.get());
    form_->SetSplash(splash_);
    FormActivate();
    QApplication::processEvents();
  }
  void TearDown() override {
    test::CloseTestWindow(form_);
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(site_ + name, std::ios::binary) << bytes;
    return site_ + name;
  }
  // File > Open Tab..., the file chosen in its dialog.
  void OpenTab(const std::string& path) {
    Dialogs().AnswerPath(path);
    form_->Action("OpenTab")->trigger();
    QApplication::processEvents();
    ASSERT_EQ(CurrentFileName, path);
  }

  // Every item the user can see in the menu bar, with the action that shows it
  // (hidden menus and what they hold are out of reach).
  std::vector<std::pair<TMenuItem*, QAction*>> ReachableItems() {
    std::vector<std::pair<TMenuItem*, QAction*>> found;
    std::function<void(TMenuItem&)> walk = [&](TMenuItem& parent) {
      for (auto& child : parent.items) {
        if (child->IsSeparator() || !child->visible) continue;
        QAction* action = form_->Action(child->name);
        found.emplace_back(child.get(), action);
        if (child->subMenu) walk(*child);
      }
    };
    walk(MainMenu().Root());
    return found;
  }

  std::string site_;
  std::unique_ptr<TWebForm> form_;
  TSplashForm* splash_ = nullptr;
};

TEST_F(MenuWalkTest, EveryCommandIsOnAnItemTheUserCanReach) {
  std::set<std::string> reachable;
  for (const auto& [item, action] : ReachableItems()) {
    if (action) reachable.insert(item->name);
  }
  // Options of the find dialog and the file-list form are kept in a hidden menu
  // and have no commands of their own.
  for (const std::string& name : MainMenu().HandlerNames()) {
    TMenuItem* item = MainMenu().Find(name);
    ASSERT_NE(item, nullptr) << name;
    bool inHiddenMenu = false;
    for (TMenuItem* up = item->parent; up; up = up->parent) {
      if (up->name == "FormOptions") inHiddenMenu = true;
    }
    EXPECT_FALSE(inHiddenMenu) << name;
    // Hidden menus are shown by the document types that use them.
    bool shown = item->visible;
    for (TMenuItem* up = item->parent; up; up = up->parent) shown = shown && up->visible;
    if (shown) {
      EXPECT_TRUE(reachable.count(name)) << name << " has a command but no item";
    }
    EXPECT_NE(form_->Action(name), nullptr) << name;
  }
}

TEST_F(MenuWalkTest, EachCommandBuiltSoFarHasItsItemKeyAndTopic) {
  for (const Command& c : kCommands) {
    SCOPED_TRACE(c.name);
    TMenuItem* item = MainMenu().Find(c.name);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->caption, c.caption);
    EXPECT_EQ(item->helpContext, c.help);
    EXPECT_TRUE(MainMenu().HasHandler(c.name));
    QAction* action = form_->Action(c.name);
    ASSERT_NE(action, nullptr);
    if (c.shortcut) {
      EXPECT_EQ(item->shortcut, c.shortcut);
      EXPECT_EQ(action->shortcut(), QKeySequence::fromString(c.shortcut));
    }
  }
}

TEST_F(MenuWalkTest, ItemsFollowTheDocumentType) {
  const std::string page =
      Write("index.htm", "<html>\r\n<head>\r\n</head>\r\n<body>Hi</body>\r\n</html>\r\n");
  const std::string rtf =
      Write("letter.rtf",
            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n"
            "\\viewkind4\\uc1\\pard\\f0\\fs24 Dear all, a letter of some length.\\par\r\n}\r\n");
  const std::string tune = Write("tune.abc", "X:1\r\nT:Scale\r\nM:4/4\r\nK:C\r\nCDEF GABc|\r\n");
  const std::string notes = Write("notes.txt", "one\r\ntwo\r\n");
  const std::string master =
      Write("master.rtf", test::Master({".PG Home|Home", ".BO", "Some text."}));
  struct Case {
    std::string path;
    bool raw;     // "Raw" enabled, on F2
    bool abc;     // the ABC menu shown, "Play" on F4
    bool master;  // a dot-command master: Ctrl+W builds its page instead of closing it
  } cases[] = {
      {page, false, false, false},  {rtf, true, false, false},   {tune, false, true, false},
      {notes, false, false, false}, {master, true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    OpenTab(c.path);
    EXPECT_EQ(form_->Action("Raw")->isEnabled(), c.raw);
    EXPECT_EQ(form_->Action("Raw")->shortcut(), QKeySequence(c.raw ? "F2" : ""));
    EXPECT_EQ(form_->Action("ABCMenu")->isVisible(), c.abc);
    EXPECT_EQ(form_->Action("Play")->shortcut(), QKeySequence(c.abc ? "F4" : ""));
    EXPECT_EQ(form_->Action("Link")->shortcut(), QKeySequence(c.abc ? "" : "F4"));
    // The pop-up box of a letter: RTF, not a dot-command master.
    EXPECT_EQ(form_->Action("PU")->shortcut(), QKeySequence(c.raw && !c.master ? "F9" : ""));
    EXPECT_EQ(form_->Action("BuildOne")->isEnabled(), c.master);
    EXPECT_EQ(form_->Action("BuildOne")->shortcut(), QKeySequence(c.master ? "Ctrl+W" : ""));
    EXPECT_EQ(form_->Action("CloseTab")->shortcut(), QKeySequence(c.master ? "" : "Ctrl+W"));
    EXPECT_FALSE(form_->Action("ScriptMenu")->isVisible());
    // A page of a site can be validated; every document here is in one.
    EXPECT_TRUE(form_->Action("Validate")->isEnabled());
    EXPECT_TRUE(form_->Action("ValAll")->isEnabled());
    for (const char* always : {"Save", "SaveAs", "CloseTab", "SDets", "Online", "Encrypted"}) {
      EXPECT_TRUE(form_->Action(always)->isEnabled()) << always;
    }

    // Whatever the type: every item the user can choose runs a command, and no
    // two of them answer the same key.
    std::map<QKeySequence, std::string> keys;
    for (const auto& [item, action] : ReachableItems()) {
      if (!action || !action->isEnabled()) continue;
      EXPECT_TRUE(item->subMenu || item->checkable || MainMenu().HasHandler(item->name))
          << item->name << " can be chosen but runs nothing";
      if (action->shortcut().isEmpty()) continue;
      auto [at, added] = keys.emplace(action->shortcut(), item->name);
      EXPECT_TRUE(added) << item->name << " and " << at->second << " share "
                         << action->shortcut().toString().toStdString();
    }
  }

  // A document outside any site cannot be validated.
  const std::string outside = test::TestHome() + "outside.htm";
  std::ofstream(outside) << "<html>\r\n<head>\r\n</head>\r\n</html>\r\n";
  OpenTab(outside);
  EXPECT_FALSE(form_->Action("Validate")->isEnabled());
  EXPECT_FALSE(form_->Action("ValAll")->isEnabled());
}

// Items whose commands are not built stand where they belong, greyed, whatever the
// document; F9 of a letter stays with the pop-up box.
TEST_F(MenuWalkTest, ItemsWithoutACommandStayGreyed) {
  OpenTab(Write("tune.abc", "X:1\r\nT:Scale\r\nK:C\r\nCDEF|\r\n"));
  OpenTab(Write("letter.rtf",
                "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n"
                "\\viewkind4\\uc1\\pard\\f0\\fs24 Dear all,\\par\r\n}\r\n"));
  EXPECT_EQ(form_->Action("PU")->shortcut(), QKeySequence("F9"));
  struct Case {
    const char* name;
    const char* caption;
    const char* menu;
    int help;
  } cases[] = {
      {"EditCodes", "Edit codes", "AbcSettings", 55650},
      {"InsPara", "Paragraph", "TextMenu", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMenuItem& item = MainMenu().Item(c.name);
    EXPECT_EQ(item.caption, c.caption);
    EXPECT_EQ(item.helpContext, c.help);
    ASSERT_NE(item.parent, nullptr);
    EXPECT_EQ(item.parent->name, c.menu);
    EXPECT_FALSE(MainMenu().HasHandler(c.name));
    for (const char* tab : {"PrevTab", "NextTab"}) {
      EXPECT_FALSE(form_->Action(c.name)->isEnabled()) << CurrentFileName;
      EXPECT_TRUE(form_->Action(c.name)->shortcut().isEmpty());
      EXPECT_FALSE(MainMenu().Click(c.name));
      form_->Action(tab)->trigger();
    }
  }
  // "Edit codes" stands beside "Page size".
  TMenuItem& settings = MainMenu().Item("AbcSettings");
  size_t pageSize = 0;
  while (settings.items[pageSize]->name != "PageSize") ++pageSize;
  EXPECT_EQ(settings.items[pageSize + 1]->name, "EditCodes");
}

// A command still to be built has no handler, so its item is greyed rather than
// running an empty body or an empty slot.
TEST_F(MenuWalkTest, ItemsOfCommandsStillToComeAreGreyed) {
  OpenTab(Write("login.php", "<?php echo 1; ?>\r\n"));
  ASSERT_TRUE(MainMenu().Item("Login").visible);
  for (const char* name : {"RenameF", "DeleteF", "QDelAll", "QDelOne", "QDelSpecific",
                           "CompareFolder", "Login", "DownloadSite", "Unwanted"}) {
    SCOPED_TRACE(name);
    QAction* action = form_->Action(name);
    ASSERT_NE(action, nullptr);
    EXPECT_FALSE(action->isEnabled());
    EXPECT_FALSE(MainMenu().HasHandler(name));
  }
}

// Validate (F10) on a kind whose validator is still to come says plainly that the
// document was not checked; a page the HTML validator passes is "Validated".
TEST_F(MenuWalkTest, ValidateSaysWhichKindsAreNotCheckedYet) {
  struct Case {
    const char* name;
    const char* text;
    const char* status;
  } cases[] = {
      {"style.css", "p { color: red }\r\n", "  CSS documents are not checked yet"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpenTab(Write(c.name, c.text));
    QAction* validate = form_->Action("Validate");
    ASSERT_TRUE(validate->isEnabled());
    EXPECT_EQ(validate->shortcut(), QKeySequence("F10"));
    validate->trigger();
    QApplication::processEvents();
    const std::string status = form_->StatusText(MessagePanel);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(status.find("Validated"), std::string::npos);
  }
}

// Validate (F10) on an XML document lays it out in the tab, or shows the first
// error at its offset and leaves the tab as it was.
TEST_F(MenuWalkTest, ValidateLaysOutAnXmlDocument) {
  OpenTab(Write("data.xml", "<?xml version=\"1.0\"?>\n<a><b>x</b></a>\n"));
  QAction* validate = form_->Action("Validate");
  ASSERT_TRUE(validate->isEnabled());
  validate->trigger();
  QApplication::processEvents();
  EXPECT_EQ(CurrentText, "<?xml version=\"1.0\"?>\r\n<a>\r\n  <b>x</b>\r\n</a>\r\n");
  EXPECT_EQ(form_->StatusText(MessagePanel), "  Validated");

  const std::string broken = "<?xml version=\"1.0\"?>\r\n<a><b>x</c></a>\r\n";
  OpenTab(Write("broken.xml", broken));
  Dialogs().Clear();
  validate->trigger();
  QApplication::processEvents();
  ASSERT_FALSE(Dialogs().Calls().empty());
  EXPECT_EQ(Dialogs().Last().text,
            MessageText("At offset " + std::to_string(broken.find("</c>")) +
                        "\r<b> cannot be terminated by </c>\rPreceding text:\r" +
                        broken.substr(0, broken.find("</c>") + 3)));
  EXPECT_EQ(CurrentText, broken);

  // A valid list with a DOCTYPE and tab indenting is saved, validated on the way.
  const std::string list = test::ReadFile("/usr/share/xml/iso-codes/iso_15924.xml");
  ASSERT_FALSE(list.empty()) << "package iso-codes";
  const std::string path = Write("iso_15924.xml", list);
  OpenTab(path);
  MainMenu().SetChecked("ValSave", true);
  Dialogs().Clear();
  form_->Action("Save")->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_FALSE(CurrentEditor->Modified());
  // Laid out (its blank lines gone) and saved with the LF line ends it was read with.
  const std::string saved = test::ReadFile(path);
  EXPECT_EQ(saved, ReplaceAll(CurrentText, "\r\n", "\n", true));
  EXPECT_NE(saved, list);
}

// An Alt+letter key that is also a menu's mnemonic would be ambiguous to Qt, and
// neither would run.
TEST_F(MenuWalkTest, NoAltKeyIsAMenuMnemonic) {
  std::set<QChar> mnemonics;
  for (auto& top : MainMenu().Root().items) {
    const QString caption = AnsiToQString(top->caption);
    const qsizetype at = caption.indexOf('&');
    if (at >= 0 && at + 1 < caption.size()) mnemonics.insert(caption[at + 1].toUpper());
  }
  ASSERT_TRUE(mnemonics.count('F'));
  std::function<void(TMenuItem&)> walk = [&](TMenuItem& parent) {
    for (auto& child : parent.items) {
      const QKeySequence key = QKeySequence::fromString(AnsiToQString(child->shortcut));
      if (!key.isEmpty() && key[0].keyboardModifiers() == Qt::AltModifier) {
        const QString letter = QKeySequence(key[0].key()).toString();
        if (letter.size() == 1) {
          EXPECT_FALSE(mnemonics.count(letter[0].toUpper()))
              << child->name << " on " << child->shortcut << " opens a menu";
        }
      }
      walk(*child);
    }
  };
  walk(MainMenu().Root());
}

TEST_F(MenuWalkTest, HelpAboutShowsTheSplashAsTheAboutBox) {
  TSplashForm* splash = splash_;
  ASSERT_TRUE(form_->Action("About")->isEnabled());
  std::string version;
  bool okShown = false;
  QTimer::singleShot(0, splash, [&] {
    version = splash->VInfo->text().toStdString();
    okShown = splash->OKBtn->isVisible();
    splash->OKBtn->click();
  });
  form_->Action("About")->trigger();
  EXPECT_EQ(version, AboutVersionLine());
  EXPECT_TRUE(okShown);
  EXPECT_FALSE(splash->isVisible());
}

TEST_F(MenuWalkTest, OpeningTheFileMenuRunsItsOwnCommand) {
  const std::string notes = Write("notes.txt", "one\r\n");
  OpenTab(notes);
  QMenu* file = form_->Menu("FileMenu");
  ASSERT_NE(file, nullptr);
  // "Compare" is offered for a file with a back-up only.
  MainMenu().SetEnabled("Compare", true);
  Q_EMIT file->aboutToShow();
  EXPECT_FALSE(MainMenu().Item("Compare").enabled);
  Write("notes.txt.Bak", "one\r\n");
  Q_EMIT file->aboutToShow();
  EXPECT_TRUE(MainMenu().Item("Compare").enabled);
}

// ---- items that would do nothing ------------------------------------------------
// A walk over the sources the menu's handlers come from: no item is wired to a
// function with an empty body, nor reaches a hook slot that nothing fills, directly
// or through the function it calls.
class TSources {
 public:
  TSources() {
    for (const auto& entry : fs::recursive_directory_iterator(QUORREL_SOURCE_DIR "/src")) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
      std::ifstream in(entry.path());
      std::stringstream text;
      text << in.rdbuf();
      texts_.push_back(text.str());
    }
    static const std::regex hookDecl(R"(inline\s+THook<[^;]*>\s*(\w+);)");
    static const std::regex emptyBody(
        R"(^[\w:<>,&*]+(?:\s+[\w:<>,&*]+)*\s+(\w+)\([^;{}]*\)\s*(?:const\s*)?\{\s*\}\s*$)");
    for (const std::string& text : texts_) {
      for (std::sregex_iterator it(text.begin(), text.end(), hookDecl), end; it != end; ++it) {
        hooks_.insert((*it)[1]);
      }
      std::istringstream lines(text);
      for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_match(line, match, emptyBody)) empty_.insert(match[1]);
      }
    }
    for (const std::string& hook : hooks_) {
      for (const std::string& text : texts_) {
        if (text.find(hook + ".Set(") != std::string::npos) filled_.insert(hook);
      }
    }
  }

  // The text of every call that gives an item its handler.
  std::vector<std::string> Wirings() const {
    std::vector<std::string> found;
    for (const std::string& text : texts_) {
      for (const char* call : {"SetHandler(", "Handle(\""}) {
        for (size_t at = text.find(call); at != std::string::npos; at = text.find(call, at + 1)) {
          found.push_back(Balanced(text, at + std::string(call).size() - 1));
        }
      }
    }
    return found;
  }

  // What in a piece of code does nothing: an empty function it names, or an unfilled
  // slot it names directly or in the body of a function it names.
  std::vector<std::string> DoesNothing(const std::string& code, int depth = 2) const {
    std::vector<std::string> found;
    static const std::regex name(R"(\b[A-Z]\w*\b)");
    std::set<std::string> seen;
    for (std::sregex_iterator it(code.begin(), code.end(), name), end; it != end; ++it) {
      const std::string id = it->str();
      if (!seen.insert(id).second) continue;
      if (hooks_.count(id) && !filled_.count(id)) found.push_back(id + " is a slot nothing fills");
      // A command may hold an empty step that is still to come; the item's own
      // function may not be empty.
      if (empty_.count(id) && depth > 1) found.push_back(id + " has an empty body");
      if (depth > 1 && !hooks_.count(id)) {
        for (const std::string& more : DoesNothing(BodyOf(id), depth - 1)) {
          found.push_back(id + ": " + more);
        }
      }
    }
    return found;
  }

 private:
  // From an opening bracket to its partner.
  static std::string Balanced(const std::string& text, size_t open) {
    const char opening = text[open], closing = opening == '(' ? ')' : '}';
    int level = 0;
    for (size_t i = open; i < text.size(); ++i) {
      if (text[i] == opening) ++level;
      if (text[i] == closing && --level == 0) return text.substr(open, i + 1 - open);
    }
    return text.substr(open);
  }
  // The body of a function defined in the sources; "" when none is.
  const std::string& BodyOf(const std::string& function) const {
    auto known = bodies_.find(function);
    if (known != bodies_.end()) return known->second;
    std::string& body = bodies_[function];
    const std::regex definition("\\n[\\w:<>,&* ]*\\b" + function +
                                "\\([^;{}]*\\)\\s*(?:const\\s*)?\\{");
    for (const std::string& text : texts_) {
      if (text.find(function + "(") == std::string::npos) continue;
      std::smatch match;
      if (std::regex_search(text, match, definition)) {
        body = Balanced(text, match.position(0) + match.length(0) - 1);
        break;
      }
    }
    return body;
  }

  std::vector<std::string> texts_;
  std::set<std::string> hooks_, filled_, empty_;
  mutable std::map<std::string, std::string> bodies_;
};

TEST(MenuWalkSourceTest, NoItemRunsAnEmptyBodyOrASlotNothingFills) {
  TSources sources;
  const std::vector<std::string> wirings = sources.Wirings();
  ASSERT_GT(wirings.size(), 100u);
  for (const std::string& wiring : wirings) {
    for (const std::string& problem : sources.DoesNothing(wiring)) {
      ADD_FAILURE() << problem << " in " << wiring;
    }
  }
  // The walk sees what it looks for: the wirings the items had before their
  // commands were taken away.
  EXPECT_FALSE(sources
                   .DoesNothing("menu.SetHandler(\"CompareFolder\", [](const TMenuItem&) { "
                                "FoldFormHook(); });")
                   .empty());
  EXPECT_FALSE(sources.DoesNothing("Handle(\"Login\", LoginClick)").empty());
  // The score is still to be typeset: an item wired to it alone would do nothing.
  EXPECT_FALSE(
      sources.DoesNothing("SetHandler(\"X\", [](const TMenuItem&) { PSClick(\"\"); })").empty());
}

}  // namespace
}  // namespace quorrel
