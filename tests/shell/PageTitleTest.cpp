// The title of a page as the lists of pages show it.
#include <gtest/gtest.h>

#include "shell/PageTitle.h"

namespace quorrel {
namespace {

TEST(GetPageTitleTest, TitlesAsListsShowThem) {
  struct Case {
    std::string page;
    std::string title;
  } cases[] = {
      {"<html><head><title>Roses</title></head>", "Roses"},
      {"<TITLE>Tom &amp; Jerry &mdash; a &ndash; b&hellip;</TITLE>", "Tom & Jerry - a - b..."},
      {"<Title>\n  Spread over\n  lines\n</Title>", "Spread over\n  lines"},
      {"<html><body>no head</body>", "[No title]"},
      {"<title>never closed", "[No title]"},
      {"<title><%= pageTitle %></title>", "[Dynamic title]"},
      // A script page without a usable title is named by its first line's comment.
      {"<% ' Booking form for members\r\n%><title><%= t %></title>", "Booking form for members"},
      {"<% ' " + std::string(90, 'x') + "\r\n%>", std::string(80, 'x') + "..."},
      {"<% Response.Write(1) %>\r\n", "[No title]"},
      {"<% ' Comment\r\n%><title>Real</title>", "Real"},
  };
  for (const Case& c : cases) EXPECT_EQ(GetPageTitle(c.page), c.title) << c.page;
}

}  // namespace
}  // namespace quorrel
