// The speller library through its C entry points, as any engine user would call it.
#include <gtest/gtest.h>

#include <QLibrary>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/csapi/CsapiAbi.h"
#include "spell/SpellTestKit.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

class CsapiLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    library.setFileName(AnsiToQString(ExecutableDir() + "libquorrel-csapi.so"));
    ASSERT_TRUE(library.load()) << library.errorString().toStdString();
    check = reinterpret_cast<decltype(check)>(library.resolve("SpellCheck"));
    auto init = reinterpret_cast<decltype(&SpellInit)>(library.resolve("SpellInit"));
    auto openMdr = reinterpret_cast<decltype(&SpellOpenMdr)>(library.resolve("SpellOpenMdr"));
    ASSERT_TRUE(check && init && openMdr);
    ASSERT_EQ(init(&session, nullptr), 0);
    ASSERT_EQ(openMdr(session, "/usr/share/hunspell/en_US.dic", 1033, &mdr), 0);
  }
  void TearDown() override {
    auto terminate = reinterpret_cast<decltype(&SpellTerminate)>(library.resolve("SpellTerminate"));
    if (terminate) {
      EXPECT_EQ(terminate(session, 1), 0);
    }
    library.unload();
  }

  // Every string of a list, and the code it came with.
  std::vector<std::string> Ask(uint16_t command, const std::string& word, size_t bufferSize,
                               uint16_t& code) {
    std::vector<char> buffer(bufferSize, 'x');
    TCsapiInput input{
        static_cast<uint16_t>(word.size()), 1, 0, kCsapiContinued, word.data(), &mdr, nullptr};
    TCsapiResult result{};
    result.suggestions = buffer.data();
    result.suggestionsSize = static_cast<uint32_t>(buffer.size());
    EXPECT_EQ(check(session, command, &input, &result), 0);
    code = result.code;
    std::vector<std::string> list;
    for (size_t at = 0; at < buffer.size() && buffer[at] != '\0';) {
      const std::string s(buffer.data() + at);
      EXPECT_LT(at + s.size(), buffer.size()) << "a string runs past the buffer";
      list.push_back(s);
      at += s.size() + 1;
    }
    return list;
  }

  QLibrary library;
  decltype(&SpellCheck) check = nullptr;
  TCsapiSession session = 0;
  TCsapiMdr mdr = 0;
};

TEST_F(CsapiLibrary, SuggestionsComeInBatchesThatFitTheBufferThenNoMore) {
  uint16_t code = 0;
  const std::vector<std::string> whole = Ask(kCsapiSuggest, "teh", 1024, code);
  EXPECT_EQ(code, srNoErrors);
  ASSERT_GT(whole.size(), 3u);
  Ask(kCsapiSuggestMore, "teh", 1024, code);
  EXPECT_EQ(code, srNoMoreSuggestions);

  // A buffer of 12 bytes holds two or three short words a time: the same list,
  // batch by batch, never written past the end.
  std::vector<std::string> batches;
  uint16_t command = kCsapiSuggest;
  for (int round = 0; round < 100; ++round) {
    const std::vector<std::string> batch = Ask(command, "teh", 12, code);
    if (code == srNoMoreSuggestions) {
      EXPECT_TRUE(batch.empty());
      break;
    }
    batches.insert(batches.end(), batch.begin(), batch.end());
    command = kCsapiSuggestMore;
  }
  std::vector<std::string> fitting;
  for (const std::string& s : whole) {
    if (s.size() + 2 <= 12) fitting.push_back(s);
  }
  EXPECT_EQ(batches, fitting);
}

TEST_F(CsapiLibrary, BadCallsReturnAStatusAndNeverCrash) {
  uint16_t code;
  TCsapiResult result{};
  TCsapiInput input{5, 1, 0, kCsapiContinued, nullptr, &mdr, nullptr};
  EXPECT_NE(check(session, kCsapiVerifyBuffer, &input, &result), 0) << "text missing";
  EXPECT_NE(check(session, kCsapiVerifyBuffer, nullptr, &result), 0);
  EXPECT_NE(check(session + 99, kCsapiVerifyBuffer, &input, &result), 0) << "no such session";
  const std::string word = "word";
  TCsapiInput noDictionary{4, 0, 0, kCsapiContinued, word.data(), nullptr, nullptr};
  EXPECT_NE(check(session, kCsapiVerifyBuffer, &noDictionary, &result), 0);
  EXPECT_NE(check(session, 1, &noDictionary, &result), 0) << "unknown command";
  // Suggestions into no buffer at all.
  TCsapiInput teh{3, 1, 0, kCsapiContinued, "teh", &mdr, nullptr};
  EXPECT_NE(check(session, kCsapiSuggest, &teh, &result), 0);
  EXPECT_TRUE(Ask(kCsapiSuggest, "", 64, code).empty());
}

using SpellerUserDictionary = SpellerFixture;

// A user dictionary that cannot be written still lets the speller check, and adding
// to it is reported instead of lost.
TEST_F(SpellerUserDictionary, AWordThatCannotBeKeptIsReported) {
  checker.CustomDict = "/proc/no-such-folder/CUSTOM.DIC";
  auto speller = Make(kEnglishUS);
  EXPECT_EQ(Check(*speller, "a good text").code, srNoErrors);
  EXPECT_THROW(speller->AddWord("Blorpish"), ESpellError);
  EXPECT_NO_THROW(speller->Close());
}

}  // namespace
}  // namespace quorrel::test
