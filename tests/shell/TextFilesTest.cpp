// Reading files as text: UTF-16 and zero bytes, the lines a string list reads, the
// binary kinds; and what a web server's folder listing and 7-Zip's listing yield.
#include <gtest/gtest.h>

#include "commands/OpenSteps.h"
#include "shell/Archive7z.h"
#include "shell/DirectoryListing.h"
#include "shell/TextFiles.h"

namespace quorrel {
namespace {

TEST(Utf16, BothByteOrdersDecodeToTheCodePage) {
  const std::string le =
      std::string("\xFF\xFE", 2) + std::string("h\0i\0\r\0\n\0\xAC\x20\x19\x20", 12);
  const std::string be =
      std::string("\xFE\xFF", 2) + std::string("\0h\0i\0\r\0\n\x20\xAC\x20\x19", 12);
  EXPECT_TRUE(IsUtf16(le));
  EXPECT_TRUE(IsUtf16(be));
  EXPECT_EQ(Utf16ToAnsi(le), "hi\r\n\x80\x92") << "euro and right quote exist in 1252";
  EXPECT_EQ(Utf16ToAnsi(be), "hi\r\n\x80\x92");
  EXPECT_EQ(Utf16ToAnsi(std::string("\xFF\xFE\x3D\xD8\x00\xDE!\0", 8)), "?!") << "emoji";
  EXPECT_EQ(Utf16ToAnsi(std::string("\xFF\xFE\x01\x04", 4)), "?") << "Cyrillic";
}

TEST(SlowRead, ZeroBytesBecomeOneAndLinesEndInCrLf) {
  size_t zeros = 9;
  EXPECT_EQ(SlowReadText(std::string("a\0b\nc\r\rd\0\0", 10), &zeros),
            "a\x01"
            "b\r\nc\r\n\r\nd\x01\x01");
  EXPECT_EQ(zeros, 3u);
}

TEST(TextLines, StringListLinesStopAtTheFirstZeroByte) {
  EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitTextLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitTextLines(std::string("ab\ncd\0ef\ngh", 11)),
            (std::vector<std::string>{"ab", "cd"}));
  EXPECT_TRUE(SplitTextLines("").empty());
}

TEST(TextLines, LoadedTextHasCrLfLineEndsUpToTheFirstZeroByte) {
  struct Case {
    std::string bytes, text;
  } cases[] = {
      {"", ""},
      {"ab\r\ncd\r\n", "ab\r\ncd\r\n"},  // the editor's form already
      {"ab\ncd", "ab\r\ncd"},
      {"ab\rcd\r", "ab\r\ncd\r\n"},
      {"a\r\r\nb\n\r", "a\r\n\r\nb\r\n\r\n"},
      {"\n", "\r\n"},
      {std::string("ab\r\ncd\0ef\r\n", 10), "ab\r\ncd"},
      {std::string("ab\r\0\n", 5), "ab\r\n"},  // a CR before the zero byte ends a line
      {std::string("\0ab", 3), ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LoadedText(c.bytes), c.text) << c.bytes;
    // The same as the lines a string list reads, joined, with a final line end kept.
    std::string joined;
    const std::vector<std::string> lines = SplitTextLines(c.bytes);
    for (size_t i = 0; i < lines.size(); ++i) joined += (i > 0 ? "\r\n" : "") + lines[i];
    const size_t end = std::min(c.bytes.find('\0'), c.bytes.size());
    if (end > 0 && (c.bytes[end - 1] == '\r' || c.bytes[end - 1] == '\n')) joined += "\r\n";
    EXPECT_EQ(LoadedText(c.bytes), joined) << c.bytes;
  }
}

TEST(TextLines, LoadedLengthCountsEveryLineEndAsTwo) {
  struct Case {
    std::string bytes;
    size_t length;
  } cases[] = {
      {"ab\r\ncd\r\n", 8}, {"ab\ncd\n", 8}, {"ab\rcd\r", 8}, {"ab\ncd", 8}, {"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(LoadedLengthOf(c.bytes), c.length) << c.bytes;
}

TEST(BinaryExtensions, ListMembershipIgnoresCase) {
  struct Case {
    std::string ext;
    bool binary;
  } cases[] = {{".png", true}, {".TIFF", true}, {".Db", true}, {".D", false},   {".TIF", true},
               {".PP", false}, {"", false},     {".", false},  {".htm", false}, {".DL_", true}};
  for (const auto& c : cases) EXPECT_EQ(IsBinaryExtension(c.ext), c.binary) << c.ext;
}

TEST(DirectoryListing, EntriesInsideTheFolderOnly) {
  // Apache's listing: sort links, an absolute parent link, a sub-folder, a file.
  const std::string apache =
      "<html><head><title>Index of /pub/tunes</title></head><body><h1>Index of /pub/tunes</h1>"
      "<table><tr><th><a href=\"?C=N;O=D\">Name</a></th><th><a href=\"?C=M;O=A\">Last "
      "modified</a></th></tr><tr><td><a href=\"/pub/\">Parent Directory</a></td></tr>"
      "<tr><td><a href=\"reels/\">reels/</a></td></tr><tr><td><a href=\"the%20kesh.abc\">the "
      "kesh.abc</a></td></tr><tr><td><a href=\"http://elsewhere.example/x\">x</a></td></tr>"
      "</table></body></html>";
  EXPECT_EQ(ListingEntries("http://host:8080/pub/tunes", apache),
            (std::vector<std::string>{"http://host:8080/pub/tunes/reels/",
                                      "http://host:8080/pub/tunes/the%20kesh.abc"}));
  EXPECT_TRUE(IsDirectoryListing(apache));
  EXPECT_FALSE(IsDirectoryListing("<h1>Directory listing for /</h1>"));
  EXPECT_EQ(DirectoryListingText("http://h/e/", "<h1>Index of /e/</h1><a href=\"../\">../</a>"),
            "Directory http://h/e/ contains the following files.\rDouble-click a file name to "
            "download it.\r\rThere are no entries in this folder.");
}

TEST(Archive7z, FirstMemberComesFromTheTechnicalListing) {
  const std::string listing =
      "Listing archive: /t/a.7z\n\n--\nPath = /t/a.7z\nType = 7z\n\n----------\n"
      "Path = docs\nFolder = +\nAttributes = D drwxr-xr-x\n\n"
      "Path = docs/a file.txt\nSize = 14\nFolder = -\nAttributes = A -rw-r--r--\n\n"
      "Path = b.txt\nSize = 3\n\n";
  EXPECT_EQ(FirstArchiveMember(listing), "docs/a file.txt");
  EXPECT_EQ(FirstArchiveMember("Path = /t/a.7z\nType = 7z\n"), "") << "the archive itself";
  EXPECT_EQ(FirstArchiveMember("----------\r\nPath = only.txt\r\nSize = 1"), "only.txt");
}

}  // namespace
}  // namespace quorrel
