#pragma once
// The navigation that ends each page of a slide show.
#include <string>
#include <vector>

namespace quorrel {

struct TSlide {
  std::string name;  // page name without extension
  std::string title;
};

// The slides of a document: its ".pg" lines in order. A line with fewer than two
// arguments stops with the page command's message and help.
std::vector<TSlide> SlidesOf(const std::string& documentText);

// The end of the slide named page: on the show's first page, the links to every
// other slide (named with ext); then the Arrows(previous, next, index) call and the
// page's closing tags. Previous wraps round to the last slide from the first page
// and from the first numbered slide (the first page's name + "01"); next wraps
// round from the last slide to the second.
std::string SlideShowEnd(const std::vector<TSlide>& slides, const std::string& page,
                         const std::string& ext);

}  // namespace quorrel
