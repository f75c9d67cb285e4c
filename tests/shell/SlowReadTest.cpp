// Which files opening offers the slow read, for a zero byte and for a size that
// differs, and where the program's RTF ends.
#include <gtest/gtest.h>

#include "shell/ClassifyDocument.h"
#include "shell/SlowRead.h"

namespace quorrel {
namespace {

TEST(SlowReadTest, WhichFilesAreOfferedIt) {
  struct Case {
    const char* path;
    bool forZeroByte;
    bool forSize;
  };
  const Case cases[] = {
      {"/site/notes.txt", true, true},
      {"/site/prog", true, true},
      {"/site/data.bin", true, true},
      // The program's own RTF ends with a zero byte; a binary file holds them.
      {"/site/master.rtf", false, false},
      {"/site/pic.png", false, false},
      {"/site/photo.JPG", false, false},
      {"/site/setup.exe", false, false},
      {"/site/tune.mid", false, false},
      {"/site/song.mp3", false, false},
      // Text whose loaded size differs by design, where a zero byte is damage.
      {"/site/page.htm", true, false},
      {"/site/style.css", true, false},
      {"/site/table.csv", true, false},
      {"/site/logs/access.txt", true, false},
      {"/site/php_error_log", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const TDocumentType type = ClassifyText(c.path, "", "", false, "/nowhere/");
    EXPECT_EQ(OffersSlowRead(c.path, type, true, false), c.forZeroByte);
    EXPECT_EQ(OffersSlowRead(c.path, type, false, true), c.forSize);
    EXPECT_FALSE(OffersSlowRead(c.path, type, false, false));
  }
}

TEST(SlowReadTest, TheRtfEndMarkIsDropped) {
  const std::string rtf = "{\\rtf1 text\\par }\r\n";
  for (const std::string& read : {rtf, rtf + std::string(1, '\0'), rtf + std::string(3, '\0')}) {
    std::string bytes = read;
    DropRtfEndMark(bytes);
    EXPECT_EQ(bytes, rtf);
  }
  // A zero byte inside the text is no end mark.
  std::string inside = std::string("{\\rtf1 a\0b}", 11);
  DropRtfEndMark(inside);
  EXPECT_EQ(inside.size(), 11u);
}

}  // namespace
}  // namespace quorrel
