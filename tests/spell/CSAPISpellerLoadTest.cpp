// Finding, loading and closing the speller engine.
#include <QLibrary>
#include <filesystem>

#include "platform/CodePage.h"
#include "spell/SpellTestKit.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;
using SpellerLoading = SpellerFixture;

std::string ReadValue(const std::string& key, const std::string& name) {
  TRegistry registry(TRootKey::LocalMachine);
  return registry.OpenKeyReadOnly(key) ? registry.ReadString(name) : "<no key>";
}

TEST_F(SpellerLoading, InstalledDictionariesAreRegisteredWithOurLibrary) {
  for (TLanguage language : {kEnglishUK, kEnglishUS}) {
    EXPECT_EQ(ReadValue(SpellingKey(language), "Engine"), ExecutableDir() + "libquorrel-csapi.so");
  }
  EXPECT_EQ(ReadValue(SpellingKey(kEnglishUK), "Dictionary"), "/usr/share/hunspell/en_GB.dic");
  EXPECT_EQ(ReadValue(SpellingKey(kEnglishUS), "Dictionary"), "/usr/share/hunspell/en_US.dic");
  // A key that exists is the user's: a later start leaves it alone.
  RegisterEngine(kEnglishUK, "/elsewhere/engine.so");
  EXPECT_EQ(RegisterHunspellDictionaries(), 0);
  EXPECT_EQ(ReadValue(SpellingKey(kEnglishUK), "Engine"), "/elsewhere/engine.so");
}

TEST_F(SpellerLoading, OnlyDictionariesNamedByAKnownLocaleWithTheirAffixFileAreRegistered) {
  fs::remove(RegistryFileName());
  const std::string folder = TestHome() + "hunspell/";
  for (const char* name : {"en_GB.dic", "en_GB.aff", "en_GB-large.dic", "en_GB-large.aff",
                           "xx_YY.dic", "xx_YY.aff", "de_DE.dic", "fr_FR.dict", "fr_FR.aff"}) {
    WriteFile(folder + name, "1\nword\n");
  }
  EXPECT_EQ(RegisterHunspellDictionaries(folder), 1);
  EXPECT_EQ(ReadValue(SpellingKey(kEnglishUK), "Dictionary"), folder + "en_GB.dic");
  EXPECT_EQ(ReadValue(SpellingKey(kGerman), "Dictionary"), "<no key>");
  EXPECT_EQ(ReadValue(SpellingKey(1036), "Dictionary"), "<no key>");
}

TEST_F(SpellerLoading, ALanguageWithoutADictionaryIsNotAvailableAndSaysNothing) {
  auto speller = Make(kGerman);
  EXPECT_TRUE(speller->NotAvailable);
  EXPECT_EQ(speller->SpellerType, TSpellerType::sptMSOffice);
  EXPECT_EQ(Check(*speller, "Rechtschreibfehlr"), (TFinding{srNoErrors, 0, 0}));
  std::vector<std::string> list{"old"};
  speller->GetVariants("Fehlr", list);
  EXPECT_TRUE(list.empty());
  speller->ChangeAlways("a", "b");
  speller->AddWord("Fehlr");
  speller->IgnoreAlways("Fehlr");
  EXPECT_EQ(speller->GetReplacement(), "");
  EXPECT_EQ(speller->GetMisspelled(), "");
  EXPECT_NO_THROW(speller->Close());
}

TEST_F(SpellerLoading, AnEngineThatCannotBeLoadedIsAnError) {
  const std::string cases[] = {
      BuiltLibrary("libquorrel-csapi-fifteen.so"),  // lacks SpellClearUdr
      TestHome() + "no such engine.so",
      "",
  };
  for (const std::string& engine : cases) {
    RegisterEngine(kGerman, engine);
    try {
      TCSAPISpeller speller(kGerman, {}, &checker);
      ADD_FAILURE() << "loaded " << engine;
    } catch (const ESpellError& e) {
      EXPECT_EQ(std::string(e.what()), "Error loading Spell DLL " + engine);
    }
  }
}

TEST_F(SpellerLoading, AMainDictionaryThatCannotBeOpenedIsASpellingError) {
  TRegistry registry(TRootKey::LocalMachine);
  ASSERT_TRUE(registry.OpenKey(SpellingKey(kGerman), true));
  registry.WriteString("Engine", SpellerLibraryPath());
  registry.WriteString("Dictionary", TestHome() + "missing.dic");
  EXPECT_THROW(TCSAPISpeller(kGerman, {}, &checker), ESpellError);
}

// An engine whose suggestion command never says "no more": the list still ends,
// and the engine is never told of more buffer than was allocated.
TEST_F(SpellerLoading, SuggestionsEndWhenARoundBringsNothingNew) {
  const std::string stub = BuiltLibrary("libquorrel-csapi-stub.so");
  RegisterEngine(kGerman, stub);
  auto speller = Make(kGerman);
  ASSERT_FALSE(speller->NotAvailable);
  std::vector<std::string> list;
  speller->GetVariants("word", list);
  EXPECT_EQ(list, std::vector<std::string>{"again"});
  size_t length, position;
  speller->CheckText("some text", length, position);

  QLibrary library(AnsiToQString(stub));
  auto largestSizeTold = reinterpret_cast<uint32_t (*)()>(library.resolve("StubLargestSizeTold"));
  auto suggestionCalls = reinterpret_cast<uint32_t (*)()>(library.resolve("StubSuggestionCalls"));
  ASSERT_TRUE(largestSizeTold && suggestionCalls);
  EXPECT_EQ(largestSizeTold(), TCSAPISpeller::kSuggestionBufferSize);
  EXPECT_EQ(suggestionCalls(), 2u) << "the second round brought nothing new";
  // The stub answers 33026 when its user dictionary closes: that is no failure.
  EXPECT_NO_THROW(speller->Close());
}

TEST_F(SpellerLoading, TheUserDictionaryIsChosenInOrder) {
  const std::string mine = TestHome() + "words/Mine.dic";
  const std::string named = TestHome() + "words/Named.dic";
  const std::string chosen = TestHome() + "words/Chosen.dic";
  struct Case {
    const char* name;
    std::string customDict;
    std::string registryValue;  // "" writes none
    std::string fromEvent;      // "" leaves the path as it is
    std::string expected;
  };
  const Case cases[] = {
      // Never beside the main dictionary, which the user cannot write.
      {"nothing named", "", "", "", DefaultCustomDictionary()},
      {"checker's own", mine, named, "", mine},
      {"registry", "", named, "", named},
      {"event", mine, "", chosen, chosen},
      {"event empties", mine, "", "<empty>", DefaultCustomDictionary()},
  };
  for (const Case& c : cases) {
    fs::remove(RegistryFileName());
    RegisterHunspellDictionaries();
    if (!c.registryValue.empty()) {
      TRegistry registry(TRootKey::LocalMachine);
      ASSERT_TRUE(registry.OpenKey(kCustomDictionariesKey, true));
      registry.WriteString("1", c.registryValue);
    }
    checker.CustomDict = c.customDict;
    TLanguage asked = 0;
    checker.OnGetDictionary = nullptr;
    if (!c.fromEvent.empty()) {
      checker.OnGetDictionary = [&](TSpellChecker&, TLanguage language, std::string& path) {
        asked = language;
        path = c.fromEvent == "<empty>" ? "" : c.fromEvent;
      };
    }
    auto speller = Make(kEnglishUK);
    EXPECT_EQ(speller->CustomDictionaryPath(), c.expected) << c.name;
    EXPECT_TRUE(FileExists(c.expected)) << c.name << ": made when missing";
    if (!c.fromEvent.empty()) {
      EXPECT_EQ(asked, kEnglishUK) << c.name;
    }
    if (c.expected == DefaultCustomDictionary()) {
      EXPECT_EQ(ReadValue(kCustomDictionariesKey, "1"), c.expected) << c.name << ": written back";
    }
  }
}

}  // namespace
}  // namespace quorrel::test
