// The HTML validator's walk over real pages that Debian ships: libxslt's XHTML
// site, Node.js's HTML5 reference and libvorbis's HTML 4 pages with style blocks.
// It never stops the command on them, keeps every tag, and a page it re-formats is
// re-formatted to the same text again. The tag checker after it passes each page
// it is given, and what it corrected is walked and checked again unchanged.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "shell/FastStrings.h"
#include "support/Installed.h"
#include "validate/HtmlTestKit.h"
#include "validate/StyleBlock.h"
#include "validate/TagChecker.h"

namespace quorrel::test {
namespace {

std::vector<std::string> PagesIn(const std::string& folder) {
  std::vector<std::string> pages;
  if (!std::filesystem::is_directory(folder)) return pages;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string ext = entry.path().extension().string();
    // Node.js's all.html only repeats the other pages, at eight times their size.
    if (entry.is_regular_file() && (ext == ".html" || ext == ".htm") &&
        entry.path().filename() != "all.html") {
      pages.push_back(entry.path().string());
    }
  }
  std::sort(pages.begin(), pages.end());
  return pages;
}

// The page as the editor's working copy holds it.
std::string WorkingCopy(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text =
      Utf8ToAnsi(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return ReplaceAll(text, "\t", " ", true);
}

// How often each tag name opens, outside comments.
std::map<std::string, int> OpeningTags(const std::string& text) {
  std::map<std::string, int> count;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text.compare(i, 4, "<!--") == 0) {
      const size_t end = text.find("-->", i + 4);
      if (end == std::string::npos) break;
      i = end;
      continue;
    }
    if (text[i] != '<' || !std::isalpha(static_cast<unsigned char>(text[i + 1]))) continue;
    size_t end = i + 1;
    while (end < text.size() && std::isalnum(static_cast<unsigned char>(text[end]))) ++end;
    ++count[UpperCaseAnsi(text.substr(i + 1, end - i - 1))];
  }
  return count;
}

class HtmlRealPagesTest : public HtmlTest {
 protected:
  struct TOutcome {
    int pages = 0;
    int passed = 0;
    std::vector<std::string> stopped;  // the pages the validator stopped on
    std::vector<std::string> refused;  // the pages the tag checker stopped on
  };

  struct TChecked {
    bool passed = false;
    std::string text;
    std::vector<std::string> boxes;
  };
  // The tag checker on the walk's output, as F10 runs it after the walk, with its
  // messages shown and every question answered Yes; it must end without ending the
  // command.
  static TChecked CheckTags(const std::string& path, const std::string& out) {
    THtmlRun run;
    run.in = run.original = run.out = out;
    InitHtmlRun(run);
    IdleReady = true;
    Dialogs().Clear();
    for (int i = 0; i < 100; ++i) Dialogs().Answer(mrYes);
    TChecked checked;
    try {
      CheckHtmlTags(run);
    } catch (const EAbort&) {
      ADD_FAILURE() << path << ": the tag checker ended the command: " << LastBox();
    }
    IdleReady = false;
    checked.passed = TagsPassed;
    checked.text = run.out;
    checked.boxes = Dialogs().Texts();
    Dialogs().Clear();
    return checked;
  }

  // Walks every page of a folder; calls `check` with the input and output of every
  // page that passes.
  TOutcome WalkFolder(const std::string& folder,
                      const std::function<void(const std::string&, const std::string&,
                                               const std::string&)>& check = nullptr) {
    TOutcome outcome;
    // Scrambled mailto links are the e-mail tests' subject: here every tag stays.
    Option("EncE", false);
    for (const std::string& path : PagesIn(folder)) {
      ++outcome.pages;
      CurrentFolder = ExtractFolder(path);
      const std::string page = WorkingCopy(path);
      ResetInsTagQuestion();
      Dialogs().Answer(mrYes);
      TWalkResult once = WalkPage(page);
      Dialogs().Clear();
      EXPECT_FALSE(once.aborted) << path << ": " << LastBox();
      if (once.aborted || !once.error.empty()) {
        outcome.stopped.push_back(path);
        continue;
      }
      ++outcome.passed;
      EXPECT_EQ(OpeningTags(once.out), OpeningTags(page)) << path;
      TWalkResult twice = WalkPage(once.out);
      EXPECT_EQ(twice.error, "") << path;
      EXPECT_TRUE(twice.out == once.out) << path << ": a second pass changes the page";
      // Then the tag checker. A page it stops on has a reference without its
      // semicolon (code samples that do not escape their "&"); what it passes, walked
      // and checked again, stays as it is and asks nothing.
      const TChecked checked = CheckTags(path, once.out);
      if (!checked.passed) {
        const std::string box = checked.boxes.empty() ? "" : checked.boxes.back();
        const std::string missing = "Missing semicolon, or \"&\" should be \"&amp;\" in\r";
        EXPECT_EQ(box.find(missing), 0u) << path << ": " << box;
        EXPECT_NE(page.find(box.substr(missing.size())), std::string::npos) << path << ": " << box;
        outcome.refused.push_back(path);
      } else {
        const TWalkResult again = WalkPage(checked.text);
        EXPECT_EQ(again.error, "") << path;
        const TChecked rechecked = CheckTags(path, again.out);
        EXPECT_TRUE(rechecked.passed) << path;
        EXPECT_TRUE(rechecked.boxes.empty()) << path << ": " << rechecked.boxes[0];
        EXPECT_TRUE(rechecked.text == checked.text) << path << ": a second F10 changes the page";
      }
      if (check) check(path, page, once.out);
    }
    return outcome;
  }

  static std::string ExtractFolder(const std::string& path) {
    return path.substr(0, path.rfind('/') + 1);
  }
};

TEST_F(HtmlRealPagesTest, LibxsltXhtmlSite) {
  static int xhtmlPages;
  xhtmlPages = 0;
  ASSERT_TRUE(Installed("/usr/share/doc/libxslt1-dev/html", "libxslt1-dev"));
  const TOutcome outcome = WalkFolder(
      "/usr/share/doc/libxslt1-dev/html",
      [](const std::string& path, const std::string& page, const std::string& out) {
        // XHTML pages: void tags end " /", and paragraphs are not closed.
        if (PosNoCase("//W3C//DTD XHTML", page) == 0) return;
        ++xhtmlPages;
        EXPECT_EQ(PosNoCase("</p>", out), 0u) << path;
        for (size_t at = PosNoCase("<br", out); at != 0; at = PosNoCase("<br", out, at + 1)) {
          EXPECT_EQ(out.compare(out.find('>', at) - 2, 2, " /"), 0) << path << " at " << at;
        }
      });
  ASSERT_GT(outcome.pages, 60) << "too few pages from libxslt1-dev";
  EXPECT_GT(outcome.passed, outcome.pages * 9 / 10);
  EXPECT_TRUE(outcome.refused.empty());
  EXPECT_GT(xhtmlPages, 40);
}

TEST_F(HtmlRealPagesTest, NodejsHtml5Reference) {
  ASSERT_TRUE(Installed("/usr/share/doc/nodejs/api", "nodejs-doc"));
  const TOutcome outcome = WalkFolder(
      "/usr/share/doc/nodejs/api",
      [](const std::string& path, const std::string& page, const std::string& out) {
        // HTML5: scripts get no type; code samples keep their spread operators.
        auto count = [](const std::string& text, const std::string& part) {
          size_t n = 0;
          for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
            ++n;
          }
          return n;
        };
        EXPECT_LE(count(out, "text/javascript"), count(page, "text/javascript")) << path;
        EXPECT_EQ(count(out, "...args"), count(page, "...args")) << path;
      });
  ASSERT_GT(outcome.pages, 50) << "too few pages from nodejs-doc";
  // Debian's Node.js 18 pages close one table row twice (n-api.html, and all.html,
  // which holds every page): the validator is right to stop there, and only there.
  for (const std::string& path : outcome.stopped) {
    const std::string page = WorkingCopy(path);
    size_t opened = 0, closed = 0;
    for (size_t at = page.find("<tr"); at != std::string::npos; at = page.find("<tr", at + 1)) {
      ++opened;
    }
    for (size_t at = page.find("</tr>"); at != std::string::npos; at = page.find("</tr>", at + 1)) {
      ++closed;
    }
    EXPECT_GT(closed, opened) << path << " stopped but closes no row twice";
  }
  EXPECT_EQ(outcome.passed + static_cast<int>(outcome.stopped.size()), outcome.pages);
  EXPECT_TRUE(outcome.refused.empty());
}

TEST_F(HtmlRealPagesTest, LibvorbisStyleBlocksReachTheCssValidator) {
  Option("CheckH", false);  // these pages skip heading levels
  int blocks = 0;
  ASSERT_TRUE(Installed("/usr/share/doc/libvorbis-dev/html", "libvorbis-dev"));
  const TOutcome outcome = WalkFolder(
      "/usr/share/doc/libvorbis-dev/html",
      [&](const std::string& path, const std::string& page, const std::string& out) {
        if (PosNoCase("<style", page) == 0) return;
        ++blocks;
        // The last walk went over the re-formatted page.
        ASSERT_GT(StyleBlockOffset, 0u) << path;
        EXPECT_EQ(out.substr(StyleBlockOffset - 1, StyleBlockText.size()), StyleBlockText) << path;
        ResetStyleBlock();
      });
  ASSERT_GT(outcome.pages, 100) << "too few pages from libvorbis-dev";
  EXPECT_GT(outcome.passed, outcome.pages / 2);
  // Two pages of code samples pass "&vi" and "&ov" to functions, unescaped.
  EXPECT_EQ(outcome.refused.size(), 2u);
  EXPECT_GT(blocks, 5);
}

}  // namespace
}  // namespace quorrel::test
