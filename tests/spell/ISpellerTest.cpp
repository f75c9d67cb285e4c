// The ispell back end on the real programs: Debian's ispell with its British and
// American dictionaries, and hunspell and aspell, which speak the same protocol.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/UserFolders.h"
#include "spell/ISpeller.h"
#include "spell/SpellChecker.h"
#include "spell/SpellTestKit.h"
#include "support/Installed.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::kEnglishUK;
using test::kEnglishUS;
using test::TFinding;

// A program and how it is started for each dictionary.
struct TProgram {
  const char* name;
  const char* british;
  const char* american;
};

void PrintTo(const TProgram& program, std::ostream* os) {
  *os << program.name;
}

const TProgram kISpell{"ispell", "ispell -a -d british", "ispell -a -d american"};
const TProgram kPrograms[] = {
    kISpell,
    {"hunspell", "hunspell -a -d en_GB", "hunspell -a -d en_US"},
    {"aspell", "aspell -a -d en_GB --encoding=utf-8", "aspell -a -d en_US --encoding=utf-8"},
};

bool ProcessRuns(int64_t pid) {
  return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0;
}

class ISpellFixture : public ::testing::Test {
 public:  // the cases of a table configure it
  void SetUp() override {
    fs::remove(RegistryFileName());
    // A blank in the folder's name, which "Cmd" may name through the placeholder.
    folder = UserDataFolder() + "ispell test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    TRegistry registry(TRootKey::LocalMachine);
    ASSERT_TRUE(registry.OpenKey(kISpellKey, true));
    registry.WriteString(kISpellPathValue, folder);  // no final "/": one is added
  }
  void TearDown() override {
    fs::remove_all(folder);
    fs::remove(RegistryFileName());
  }

  void WriteSection(const std::string& subFolder, const std::string& section, int langNo,
                    const std::string& cmd, const std::string& charset = "UTF-8") {
    fs::create_directories(folder + "/" + subFolder);
    TIniFile ini(folder + "/" + subFolder + "/ispell.ini");
    if (langNo != 0) ini.WriteInteger(section, "LangNo", langNo);
    ini.WriteString(section, "Cmd", cmd);
    if (!charset.empty()) ini.WriteString(section, "Charset", charset);
  }
  void Configure(const TProgram& program) {
    WriteSection("british", "british", kEnglishUK, program.british);
    WriteSection("american", "american", kEnglishUS, program.american);
  }

  std::unique_ptr<TISpeller> Make(TLanguage language, TSpellOptions options = {}) {
    return std::make_unique<TISpeller>(language, options, &checker);
  }

  // Every finding of a run, as the checker would go on after each.
  static std::vector<TFinding> Findings(TAbstractSpeller& speller, std::string_view run) {
    std::vector<TFinding> found;
    size_t from = 0;
    while (from < run.size()) {
      TFinding f{};
      f.code = speller.CheckText(run.substr(from), f.length, f.position);
      if (f.code == srNoErrors) break;
      f.position += from;
      found.push_back(f);
      from = f.position + f.length;
    }
    return found;
  }
  static TFinding Check(TAbstractSpeller& speller, std::string_view run) {
    TFinding f{};
    f.code = speller.CheckText(run, f.length, f.position);
    return f;
  }

  std::string folder;
  TSpellChecker checker;
};

class ISpellerTest : public ISpellFixture, public ::testing::WithParamInterface<TProgram> {
 protected:
  void SetUp() override {
    ISpellFixture::SetUp();
    Configure(GetParam());
  }
};

TEST_P(ISpellerTest, EachLanguageHasItsOwnDictionary) {
  auto british = Make(kEnglishUK);
  auto american = Make(kEnglishUS);
  ASSERT_FALSE(british->NotAvailable);
  ASSERT_FALSE(american->NotAvailable);
  EXPECT_EQ(british->SpellerType, TSpellerType::sptISpell);
  EXPECT_EQ(british->LanguageNameOf(), "English");
  EXPECT_EQ(Check(*british, "colour"), (TFinding{srNoErrors, 0, 0}));
  EXPECT_EQ(Check(*american, "colour"), (TFinding{srUnknownInputWord, 0, 6}));
  EXPECT_EQ(american->GetMisspelled(), "colour");
  EXPECT_EQ(Check(*american, "color"), (TFinding{srNoErrors, 0, 0}));
}

TEST_P(ISpellerTest, AMisspelledWordOffersSuggestions) {
  auto speller = Make(kEnglishUK);
  ASSERT_EQ(Check(*speller, "teh"), (TFinding{srUnknownInputWord, 0, 3}));
  std::vector<std::string> variants{"left over"};
  speller->GetVariants("teh", variants);
  EXPECT_NE(std::find(variants.begin(), variants.end(), "the"), variants.end());
  EXPECT_EQ(std::find(variants.begin(), variants.end(), "left over"), variants.end());
  for (const std::string& variant : variants) {
    EXPECT_EQ(std::count(variants.begin(), variants.end(), variant), 1) << variant;
    EXPECT_EQ(variant.find_first_of(" ,:"), variant.find(' ')) << "one entry: " << variant;
  }
  // Asked about another word than the one flagged, it answers for that word.
  speller->GetVariants("wrold", variants);
  EXPECT_NE(std::find(variants.begin(), variants.end(), "world"), variants.end());
  speller->GetVariants("the", variants);
  EXPECT_TRUE(variants.empty());
}

TEST_P(ISpellerTest, ThreeMisspellingsOfOneRunAtTheirPlaces) {
  auto speller = Make(kEnglishUK);
  EXPECT_EQ(
      Findings(*speller, "Teh quick brwon fox \"jumsp\" over the lazy dog."),
      (std::vector<TFinding>{
          {srUnknownInputWord, 0, 3}, {srUnknownInputWord, 10, 5}, {srUnknownInputWord, 21, 5}}));
  EXPECT_EQ(speller->GetMisspelled(), "jumsp");
}

TEST_P(ISpellerTest, CapitalsAndDigitsAsTheOptionsSay) {
  struct Case {
    const char* run;
    TSpellOptions options;
    TFinding expected;
  };
  const TSpellOptions none;
  const TSpellOptions digits{TSpellOption::spoIgnoreMixedDigits};
  const TSpellOptions caps{TSpellOption::spoIgnoreAllCaps};
  const Case cases[] = {
      {"abc123", none, {srUnknownInputWord, 0, 6}},
      {"abc123", digits, {srNoErrors, 0, 0}},
      {"abc123", caps, {srUnknownInputWord, 0, 6}},
      {"so ZORBLAX", none, {srUnknownInputWord, 3, 7}},
      {"so ZORBLAX", caps, {srNoErrors, 0, 0}},
      {"so Zorblax", caps, {srUnknownInputWord, 3, 7}},
  };
  for (const Case& c : cases) {
    auto speller = Make(kEnglishUK, c.options);
    EXPECT_EQ(Check(*speller, c.run), c.expected) << c.run << " with " << c.options.Mask();
  }
}

// Seven misspellings in one word make a reply of several lines and over 513 bytes
// from ispell and aspell: every word after it still gets its own answer.
TEST_P(ISpellerTest, ALongReplyLeavesTheNextAnswersInStep) {
  auto speller = Make(kEnglishUK, {TSpellOption::spoIgnoreMixedDigits});
  const std::string run = "teh1teh2teh3teh4teh5teh6teh7 the cat sat on a mat near a dgo";
  EXPECT_EQ(Findings(*speller, run),
            (std::vector<TFinding>{{srUnknownInputWord, run.find("dgo"), 3}}));
  std::vector<std::string> variants;
  speller->GetVariants("dgo", variants);
  EXPECT_NE(std::find(variants.begin(), variants.end(), "dog"), variants.end());
  EXPECT_EQ(Check(*speller, "colour"), (TFinding{srNoErrors, 0, 0}));

  // A "word" of 9,000 letters (a line of minified script) is unknown; the words
  // after it are asked about as ever.
  const std::string huge(9000, 'q');
  EXPECT_EQ(Findings(*speller, huge + " the teh"),
            (std::vector<TFinding>{{srUnknownInputWord, 0, 9000}, {srUnknownInputWord, 9005, 3}}));
  speller->GetVariants(huge, variants);
  EXPECT_TRUE(variants.empty());
  EXPECT_EQ(Check(*speller, "colour dgo"), (TFinding{srUnknownInputWord, 7, 3}));
}

TEST_P(ISpellerTest, AnAddedWordStaysAndAnIgnoredOneOnlyForTheSession) {
  const std::string home = std::getenv("HOME");
  {
    auto speller = Make(kEnglishUK);
    ASSERT_EQ(Check(*speller, "zorblax quuxle"), (TFinding{srUnknownInputWord, 0, 7}));
    speller->AddWord("zorblax");
    speller->IgnoreAlways("quuxle");
    EXPECT_EQ(Check(*speller, "zorblax quuxle"), (TFinding{srNoErrors, 0, 0}));
  }
  EXPECT_EQ(std::getenv("HOME"), home) << "the program's HOME is the child's only";
  auto later = Make(kEnglishUK);
  EXPECT_EQ(Check(*later, "zorblax quuxle"), (TFinding{srUnknownInputWord, 8, 6}));
  // The personal dictionary lies in the ispell folder, not in our HOME.
  bool kept = false;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file() &&
        test::ReadFile(entry.path().string()).find("zorblax") != std::string::npos)
      kept = true;
  }
  EXPECT_TRUE(kept);
  for (const auto& entry : fs::directory_iterator(home)) {
    if (entry.is_regular_file()) {
      EXPECT_EQ(test::ReadFile(entry.path().string()).find("zorblax"), std::string::npos)
          << entry.path();
    }
  }
}

TEST_P(ISpellerTest, AChangeAlwaysWordComesBackWithItsReplacement) {
  auto speller = Make(kEnglishUK);
  speller->ChangeOnce("wrold", "world");
  EXPECT_EQ(Check(*speller, "a wrold"), (TFinding{srUnknownInputWord, 2, 5}));
  speller->ChangeAlways("teh", "tea");
  speller->ChangeAlways("teh", "the");
  EXPECT_EQ(Check(*speller, "in teh end"), (TFinding{srReturningChangeAlways, 3, 3}));
  EXPECT_EQ(speller->GetReplacement(), "the");
  EXPECT_EQ(speller->GetMisspelled(), "teh");
  // Only the word itself: another spelling of it is just unknown.
  EXPECT_EQ(Check(*speller, "Teh"), (TFinding{srUnknownInputWord, 0, 3}));
}

INSTANTIATE_TEST_SUITE_P(Programs, ISpellerTest, ::testing::ValuesIn(kPrograms),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- ispell itself ----------------------------------------------------------

TEST_F(ISpellFixture, AccentedWordsGoAndComeBackInTheLanguagesCodePage) {
  ASSERT_TRUE(test::Installed("/usr/lib/ispell/british.hash", "ibritish"));
  Configure(kISpell);
  auto speller = Make(kEnglishUK);
  // Windows-1252 "naïve café", which the dictionary knows in UTF-8.
  EXPECT_EQ(Check(*speller, "na\xEFve caf\xE9"), (TFinding{srNoErrors, 0, 0}));
  ASSERT_EQ(Check(*speller, "caf"), (TFinding{srUnknownInputWord, 0, 3}));
  std::vector<std::string> variants;
  speller->GetVariants("caf", variants);
  EXPECT_NE(std::find(variants.begin(), variants.end(), "caf\xE9"), variants.end());
}

TEST_F(ISpellFixture, TheFolderStandsInForItsPlaceholderAndIsTheProgramsHome) {
  // "-p" names the personal dictionary; the folder's name has a blank.
  WriteSection("mine", "british", kEnglishUK, "ispell -a -d british -p %UNIRED%ISPELL/words.txt");
  auto speller = Make(kEnglishUK);
  ASSERT_FALSE(speller->NotAvailable);
  speller->AddWord("zorblax");
  speller.reset();
  EXPECT_NE(test::ReadFile(folder + "/words.txt").find("zorblax"), std::string::npos);

  // A speller that suggests the folder it runs in and its HOME.
  test::WriteFile(folder + "/where.sh",
                  "echo '@(#) where'\n"
                  "read terse\n"
                  "while read word; do\n"
                  "  printf '& %s 1 0: %s+%s\\n\\n' \"$word\" \"$(pwd -P)\" \"$HOME\"\n"
                  "done\n");
  WriteSection("mine", "british", kEnglishUK, "sh %uniRed%Ispell/where.sh");
  speller = Make(kEnglishUK);
  ASSERT_FALSE(speller->NotAvailable);
  ASSERT_EQ(Check(*speller, "x"), (TFinding{srUnknownInputWord, 0, 1}));
  std::vector<std::string> variants;
  speller->GetVariants("x", variants);
  EXPECT_EQ(variants, std::vector<std::string>{fs::canonical(folder).string() + "+" + folder});
}

TEST_F(ISpellFixture, TextReachesTheProgramInItsCharsetAndComesBackInTheLanguagesCodePage) {
  // A speller that suggests the bytes it was sent, in hex, and the word itself.
  test::WriteFile(folder + "/bytes.sh",
                  "echo '@(#) bytes'\n"
                  "read -r terse\n"
                  "while read -r word; do\n"
                  "  hex=$(printf %s \"$word\" | od -An -tx1 | tr -d ' \\n')\n"
                  "  printf '& x 2 0: %s, %s\\n\\n' \"$hex\" \"$word\"\n"
                  "done\n");
  struct Case {
    TLanguage language;
    const char* charset;
    const char* word;  // in the language's code page
    const char* sent;
  };
  const Case cases[] = {
      {kEnglishUK, "UTF-8", "caf\xE9", "636166c3a9"},
      {kEnglishUK, "iso-8859-1", "caf\xE9", "636166e9"},
      {kEnglishUK, "", "caf\xE9", "636166e9"},
      // Russian "da" in Windows-1251, to programs that read KOI8-R, ISO-8859-5, UTF-8
      // and a charset nobody knows (the language's code page then).
      {1049, "koi8-r", "\xE4\xE0", "c4c1"},
      {1049, "iso-8859-5", "\xE4\xE0", "d4d0"},
      {1049, "utf-8", "\xE4\xE0", "d0b4d0b0"},
      {1049, "x-cyrillic", "\xE4\xE0", "e4e0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.charset) + " " + std::to_string(c.language));
    WriteSection("bytes", "bytes", c.language, "sh %UniRed%ispell/bytes.sh", c.charset);
    auto speller = Make(c.language);
    ASSERT_FALSE(speller->NotAvailable);
    ASSERT_EQ(Check(*speller, c.word), (TFinding{srUnknownInputWord, 0, strlen(c.word)}));
    std::vector<std::string> variants;
    speller->GetVariants(c.word, variants);
    EXPECT_EQ(variants, (std::vector<std::string>{c.sent, c.word}));
  }
}

TEST_F(ISpellFixture, WithoutItsConfigurationTheSpellerIsNotAvailable) {
  struct Case {
    const char* name;
    std::function<void(ISpellFixture&)> configure;
    TLanguage language;
  };
  const Case cases[] = {
      {"no ispell folder",
       [](ISpellFixture& f) {
         f.Configure(kISpell);
         fs::remove(RegistryFileName());
       },
       kEnglishUK},
      {"no section for the language", [](ISpellFixture& f) { f.Configure(kISpell); }, 1031},
      {"a program that does not exist",
       [](ISpellFixture& f) { f.WriteSection("x", "x", kEnglishUK, "no-such-speller -a"); },
       kEnglishUK},
      {"no program at all", [](ISpellFixture& f) { f.WriteSection("x", "x", kEnglishUK, ""); },
       kEnglishUK},
      {"a program that ends without a word",
       [](ISpellFixture& f) { f.WriteSection("x", "x", kEnglishUK, "true"); }, kEnglishUK},
      {"language 0 and no section of the checker's name",
       [](ISpellFixture& f) { f.Configure(kISpell); }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    c.configure(*this);
    std::unique_ptr<TISpeller> speller;
    ASSERT_NO_THROW(speller = Make(c.language));
    EXPECT_TRUE(speller->NotAvailable);
    EXPECT_EQ(speller->ProcessId(), 0);
    // Every operation does nothing and says nothing.
    EXPECT_EQ(Check(*speller, "teh"), (TFinding{srNoErrors, 0, 0}));
    std::vector<std::string> variants{"x"};
    speller->GetVariants("teh", variants);
    EXPECT_TRUE(variants.empty());
    speller->AddWord("teh");
    EXPECT_EQ(speller->GetMisspelled(), "");
    // The checker has no speller for it, and no error either.
    checker.SpellerType = TSpellerType::sptISpell;
    EXPECT_EQ(checker.GetSpeller(c.language, TSpellerType::sptISpell), nullptr);
  }
}

TEST_F(ISpellFixture, LanguageZeroTakesTheSectionOfTheCheckersName) {
  WriteSection("uk", "Queen's English", 0, kISpell.british);
  WriteSection("us", "american", kEnglishUS, kISpell.american);
  checker.ISpellLanguage = "queen's english";
  auto speller = Make(0);
  ASSERT_FALSE(speller->NotAvailable);
  EXPECT_EQ(speller->LanguageNameOf(), "Queen's English");
  EXPECT_EQ(speller->Section().SubFolder, "uk");
  EXPECT_EQ(speller->Section().Flag, "uk");
  EXPECT_EQ(speller->Section().Surrogate, "-");
  EXPECT_EQ(Check(*speller, "colour"), (TFinding{srNoErrors, 0, 0}));
}

TEST_F(ISpellFixture, TheProgramEndsWithTheSpellerAndOneThatStaysIsEnded) {
  Configure(kISpell);
  auto speller = Make(kEnglishUK);
  const int64_t pid = speller->ProcessId();
  ASSERT_TRUE(ProcessRuns(pid));
  speller.reset();
  EXPECT_FALSE(ProcessRuns(pid));

  // A program that ignores the end of its input.
  WriteSection("british", "british", kEnglishUK, "sh -c \"echo banner; exec sleep 600\"");
  speller = Make(kEnglishUK);
  ASSERT_FALSE(speller->NotAvailable);
  const int64_t stays = speller->ProcessId();
  speller.reset();
  EXPECT_FALSE(ProcessRuns(stays));
}

TEST_F(ISpellFixture, AProgramThatDiesIsAnErrorAndTheCheckerStartsANewOne) {
  Configure(kISpell);
  checker.SpellerType = TSpellerType::sptISpell;
  TAbstractSpeller* first = checker.GetSpeller(kEnglishUK, TSpellerType::sptISpell);
  ASSERT_NE(first, nullptr);
  const int64_t pid = dynamic_cast<TISpeller&>(*first).ProcessId();
  ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
  try {
    Check(*first, "the cat");
    ADD_FAILURE() << "a dead program answered";
  } catch (const ESpellError& e) {
    EXPECT_NE(std::string(e.what()).find("ispell -a -d british"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(first->NotAvailable);
  TAbstractSpeller* second = checker.GetSpeller(kEnglishUK, TSpellerType::sptISpell);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(checker.SpellerCount(), 1u);
  EXPECT_EQ(Check(*second, "teh"), (TFinding{srUnknownInputWord, 0, 3}));
}

// ---- the first start ----------------------------------------------------------

TEST(ISpellRegistration, TheFirstStartWritesASectionForEachDebianDictionary) {
  ASSERT_TRUE(test::Installed("/usr/lib/ispell/british.hash", "ibritish"));
  ASSERT_TRUE(test::Installed("/usr/lib/ispell/american.hash", "iamerican"));
  fs::remove(RegistryFileName());
  fs::remove_all(UserDataFolder() + "ispell");
  EXPECT_EQ(RegisterISpellLanguages(), 2);
  EXPECT_EQ(ISpellFolder(), UserDataFolder() + "ispell/");
  struct Case {
    TLanguage language;
    const char* cmd;
  };
  for (const Case& c :
       {Case{kEnglishUK, "ispell -a -d british"}, Case{kEnglishUS, "ispell -a -d american"}}) {
    const std::optional<TISpellSection> section = FindISpellSection(c.language, "");
    ASSERT_TRUE(section) << c.language;
    EXPECT_EQ(section->Cmd, c.cmd);
    EXPECT_EQ(section->Charset, "UTF-8");
  }
  TSpellChecker checker;
  EXPECT_FALSE(TISpeller(kEnglishUK, {}, &checker).NotAvailable);

  // A later start leaves the user's configuration as it is.
  fs::remove_all(UserDataFolder() + "ispell/american");
  EXPECT_EQ(RegisterISpellLanguages(), 0);
  EXPECT_FALSE(FindISpellSection(kEnglishUS, ""));

  // Without the dictionaries there is a folder, but no section.
  fs::remove(RegistryFileName());
  fs::remove_all(UserDataFolder() + "ispell");
  EXPECT_EQ(RegisterISpellLanguages(UserDataFolder()), 0);
  EXPECT_EQ(ISpellFolder(), UserDataFolder() + "ispell/");
  EXPECT_TRUE(fs::is_directory(UserDataFolder() + "ispell"));
  EXPECT_FALSE(FindISpellSection(kEnglishUK, ""));
  fs::remove(RegistryFileName());
  fs::remove_all(UserDataFolder() + "ispell");
}

}  // namespace
}  // namespace quorrel
