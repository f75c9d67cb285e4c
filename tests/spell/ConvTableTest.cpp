// The charset names of speller configurations, the sorted pair list and the
// substitutions made on text going to an outside speller.
#include <gtest/gtest.h>

#include "spell/CharsetNames.h"
#include "spell/ConvTable.h"
#include "spell/Languages.h"

namespace quorrel {
namespace {

TEST(CharsetNames, EachNameGivesItsCharacterSetAndCodePage) {
  struct Case {
    const char* name;
    int charset;
    int codePage;
  };
  const Case cases[] = {
      {"koi8-r", 204, 1251},
      {"ISO-IR-111", 204, 1251},
      {"MacRoman", 77, 2},
      {"iso-8859-1", 0, 1252},
      {"iso-8859-2", 238, 1250},
      {"iso-8859-3", 162, 1254},
      {"iso-8859-4", 186, 1257},
      {"iso-8859-5", 204, 1251},
      {"iso-8859-6", 178, 1256},
      {"ISO-8859-7", 161, 1253},
      {"iso-8859-8", 177, 1255},
      {"iso-8859-9", 162, 1254},
      {"iso-8859-10", 186, 1257},
      {"iso-8859-13", 186, 1257},
      // UTF-8 keeps the default character set but is read as UTF-8, not UTF-16.
      {"UTF-8", 1, 65001},
      {"utf-8", 1, 65001},
      // Anything else: the default set and the system's code page.
      {"iso-8859-15", 1, 1252},
      {"", 1, 1252},
      {"utf8", 1, 1252},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CharsetOfCharsetName(c.name), c.charset) << c.name;
    EXPECT_EQ(CodePageOfCharsetName(c.name), c.codePage) << c.name;
  }
}

// A speller configured for UTF-8 answers in UTF-8: its "é" is two bytes that must
// come back as one character. A KOI8-R speller reads KOI8-R bytes.
TEST(CharsetNames, TextConvertsInTheEncodingOfTheCharset) {
  EXPECT_EQ(AnsiToWide("caf\xC3\xA9", CodePageOfCharsetName("UTF-8")), u"caf\u00E9");
  EXPECT_EQ(WideToAnsi(u"caf\u00E9", CodePageOfCharsetName("UTF-8")), "caf\xC3\xA9");
  // KOI8-R's bytes are not those of Windows-1251, the code page of its letters.
  const std::u16string russian = u"\u0434\u0430 caf\u00E9";
  EXPECT_EQ(WideToEncoded(russian, EncodingOfCharsetName("koi8-r")), "\xC4\xC1 caf?");
  EXPECT_EQ(WideToAnsi(russian, CodePageOfCharsetName("koi8-r")), "\xE4\xE0 caf?");
  EXPECT_EQ(EncodedToWide("\xC4\xC1", "KOI8-R"), u"\u0434\u0430");
}

TTableList ListOf(std::initializer_list<std::pair<const char16_t*, const char16_t*>> pairs,
                  TDuplicates duplicates, bool sorted) {
  TTableList list;
  list.Duplicates = duplicates;
  list.SetSorted(sorted);
  for (const auto& [key, value] : pairs) list.Add(key, value);
  return list;
}

TEST(TableList, FindGivesTheFirstOfEqualKeysWhenDuplicatesAreAccepted) {
  const TTableList list = ListOf({{u"b", u"1"},
                                  {u"a", u"2"},
                                  {u"b", u"3"},
                                  {u"c", u"4"},
                                  {u"b", u"5"},
                                  {u"b", u"6"},
                                  {u"d", u"7"},
                                  {u"B", u"8"}},
                                 TDuplicates::dupAccept, true);
  ASSERT_EQ(list.Count(), 8);
  struct Case {
    const char16_t* key;
    bool found;
    int index;
  };
  // Sorted unit by unit: "B" (0x42) before the small letters.
  for (const Case& c :
       {Case{u"b", true, 2}, Case{u"B", true, 0}, Case{u"a", true, 1}, Case{u"d", true, 7},
        Case{u"bb", false, 6}, Case{u"0", false, 0}, Case{u"e", false, 8}}) {
    int index = -1;
    EXPECT_EQ(list.Find(c.key, index), c.found) << std::string(c.key, c.key + 1);
    EXPECT_EQ(index, c.index) << std::string(c.key, c.key + 1);
  }
  for (int i = 2; i < 6; ++i) EXPECT_EQ(list.Key(i), u"b");
}

TEST(TableList, ASortedListRefusingDuplicatesKeepsTheFirstPair) {
  TTableList ignoring = ListOf({{u"k", u"first"}, {u"k", u"second"}}, TDuplicates::dupIgnore, true);
  ASSERT_EQ(ignoring.Count(), 1);
  EXPECT_EQ(ignoring.Value(0), u"first");
  EXPECT_EQ(ignoring.Add(u"k", u"third"), 0);

  TTableList refusing = ListOf({{u"k", u"first"}}, TDuplicates::dupError, true);
  EXPECT_THROW(refusing.Add(u"k", u"second"), EListError);
  EXPECT_EQ(refusing.Count(), 1);
}

TEST(TableList, SortingMovesEachValueWithItsKey) {
  TTableList list;
  list.Duplicates = TDuplicates::dupAccept;
  // Keys falling, rising and repeated: a quicksort's bad cases, 3,000 of them.
  for (int i = 0; i < 3000; ++i) {
    const int key = i < 1000 ? 1000 - i : i < 2000 ? i : 7;
    std::u16string wide;
    for (char c : std::to_string(key + 10000)) wide.push_back(static_cast<char16_t>(c));
    list.Add(wide, u"v" + wide);
  }
  std::vector<std::string> events;
  list.OnChanging = [&] { events.push_back("changing"); };
  list.OnChange = [&] { events.push_back("changed"); };
  list.SetSorted(true);
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "changed"}));
  ASSERT_EQ(list.Count(), 3000);
  for (int i = 0; i < list.Count(); ++i) {
    EXPECT_EQ(list.Value(i), u"v" + list.Key(i)) << i;
    if (i > 0) {
      EXPECT_LE(list.Key(i - 1), list.Key(i)) << i;
    }
  }

  // One entry or none: nothing to sort, nobody told.
  TTableList one = ListOf({{u"z", u"1"}}, TDuplicates::dupAccept, false);
  bool told = false;
  one.OnChanging = [&] { told = true; };
  one.Sort();
  EXPECT_FALSE(told);
}

TEST(TableList, AnIndexOutsideTheListIsAnError) {
  TTableList list =
      ListOf({{u"a", u"1"}, {u"b", u"2"}, {u"c", u"3"}}, TDuplicates::dupAccept, false);
  struct Case {
    int index;
    const char* message;
  };
  for (const Case& c :
       {Case{3, "List index out of bounds (3)"}, Case{-1, "List index out of bounds (-1)"}}) {
    try {
      (void)list.Key(c.index);
      ADD_FAILURE() << "no error for key " << c.index;
    } catch (const EListError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_THROW((void)list.Value(c.index), EListError);
  }
  EXPECT_EQ(list.Value(2), u"3");
  EXPECT_THROW(list.SetCapacity(2), EListError);
  list.SetCapacity(64);
  EXPECT_GE(list.Capacity(), 64);
  EXPECT_EQ(list.Count(), 3);
}

TEST(ConvertForSpeller, TheLongestKeyAtEachPlaceWins) {
  TConvTable table;
  for (const auto& [key, value] :
       {std::pair{u"a", u"1"}, {u"abc", u"3"}, {u"ab", u"2"}, {u"b", u"B"}, {u"", u"never"}})
    table.ToSpeller.Add(key, value);
  struct Case {
    const char16_t* text;
    const char16_t* sent;
  };
  const Case cases[] = {
      {u"abcab a", u"32 1"}, {u"aab", u"12"},  {u"abd", u"2d"},
      {u"bab", u"B2"},       {u"xyz", u"xyz"}, {u"", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(ConvertForSpeller(c.text, table), c.sent);
  // The table for text coming back plays no part on the way out.
  table.FromSpeller.Add(u"x", u"y");
  EXPECT_EQ(ConvertForSpeller(u"x", table), u"x");
}

TEST(ConvertForSpeller, AUtf8SpellerGetsUtf8AByteToAUnit) {
  TConvTable table;
  EXPECT_EQ(ConvertForSpeller(u"caf\u00E9", table), u"caf\u00E9") << "no charset: as it is";
  table.Charset = "utf-8";
  EXPECT_EQ(ConvertForSpeller(u"caf\u00E9", table), u"caf\u00C3\u00A9");
  // Substitutions first, then UTF-8.
  table.ToSpeller.Add(u"oe", u"\u0153");
  EXPECT_EQ(ConvertForSpeller(u"oeuvre", table), u"\u00C5\u0093uvre");
}

}  // namespace
}  // namespace quorrel
