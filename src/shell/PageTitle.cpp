#include "shell/PageTitle.h"

#include "platform/Chars.h"
#include "shell/FastStrings.h"

namespace quorrel {

namespace {

constexpr char kNoTitle[] = "[No title]";
constexpr char kDynamicTitle[] = "[Dynamic title]";
// The longest first-line comment that names a script page before it is shortened.
constexpr size_t kCommentTitleMost = 80;

std::string TitleBetweenTags(const std::string& page) {
  const size_t open = PosNoCase("<Title>", page);
  if (open == 0) return kNoTitle;
  const size_t from = open - 1 + 7;
  const size_t close = PosNoCase("</Title>", page, from + 1);
  if (close == 0) return kNoTitle;
  std::string title = page.substr(from, close - 1 - from);
  if (title.find("<%") != std::string::npos) return kDynamicTitle;
  // A title written over several lines reads as one.
  const size_t first = title.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  title = title.substr(first, title.find_last_not_of(" \t\r\n") - first + 1);
  return MultiReplace(title, "&hellip;|&amp;|&mdash;|&ndash;", "...|&|-|-", true);
}

// The comment of a script page's first line, "" when it has none.
std::string FirstLineComment(const std::string& page) {
  const size_t lineEnd = page.find_first_of("\r\n");
  const std::string first = page.substr(0, lineEnd);
  const size_t quote = first.find('\'');
  if (quote == std::string::npos) return "";
  std::string comment(TrimBlanks(std::string_view(first).substr(quote + 1)));
  if (comment.size() > kCommentTitleMost) comment = comment.substr(0, kCommentTitleMost) + "...";
  return comment;
}

}  // namespace

std::string GetPageTitle(const std::string& pageText) {
  const std::string title = TitleBetweenTags(pageText);
  const bool usable = title != kNoTitle && title != kDynamicTitle && !title.empty();
  if (usable || pageText.find("<%") == std::string::npos) return title;
  const std::string comment = FirstLineComment(pageText);
  return comment.empty() ? title : comment;
}

}  // namespace quorrel
