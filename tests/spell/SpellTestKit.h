#pragma once
// A fresh registry with Debian's Hunspell dictionaries registered, a fresh user
// dictionary, and short ways to make a speller and check a run.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/Paths.h"
#include "platform/Registry.h"
#include "spell/CSAPISpeller.h"
#include "spell/SpellChecker.h"
#include "spell/SpellerRegistry.h"

namespace quorrel::test {

constexpr TLanguage kEnglishUK = 2057;
constexpr TLanguage kEnglishUS = 1033;
constexpr TLanguage kEnglishAustralia = 3081;
constexpr TLanguage kGerman = 1031;  // no German dictionary is installed

// What one check found.
struct TFinding {
  TSpellReturnCode code;
  size_t position;
  size_t length;
  bool operator==(const TFinding&) const = default;
};

inline void PrintTo(const TFinding& f, std::ostream* os) {
  *os << "{code " << int(f.code) << ", at " << f.position << ", length " << f.length << "}";
}

class SpellerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::remove(RegistryFileName());
    std::filesystem::remove(DefaultCustomDictionary());
    ASSERT_GE(RegisterHunspellDictionaries(), 2) << "hunspell-en-gb and hunspell-en-us";
  }

  std::unique_ptr<TCSAPISpeller> Make(TLanguage language, TSpellOptions options = {}) {
    return std::make_unique<TCSAPISpeller>(language, options, &checker);
  }

  static TFinding Check(TAbstractSpeller& speller, std::string_view text) {
    TFinding f{};
    f.code = speller.CheckText(text, f.length, f.position);
    return f;
  }

  // Points the language's key at an engine of our choosing.
  static void RegisterEngine(TLanguage language, const std::string& engine) {
    TRegistry registry(TRootKey::LocalMachine);
    ASSERT_TRUE(registry.OpenKey(SpellingKey(language), true));
    registry.WriteString("Engine", engine);
    registry.WriteString("Dictionary", "/usr/share/hunspell/en_GB.dic");
  }

  static std::string BuiltLibrary(const std::string& name) { return ExecutableDir() + name; }

  TSpellChecker checker;
};

}  // namespace quorrel::test
