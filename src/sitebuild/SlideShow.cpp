#include "sitebuild/SlideShow.h"

#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "sitebuild/PageCommands.h"
#include "sitebuild/SplitArguments.h"

namespace quorrel {

namespace {

constexpr char kIndexName[] = "index";

std::string Trimmed(const std::string& text) {
  const size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

std::string Quoted(const std::string& name) {
  return "\"" + name + "\"";
}

}  // namespace

std::vector<TSlide> SlidesOf(const std::string& documentText) {
  std::vector<TSlide> slides;
  size_t begin = 0;
  while (begin < documentText.size()) {
    size_t end = documentText.find_first_of("\r\n", begin);
    if (end == std::string::npos) end = documentText.size();
    const std::string line = documentText.substr(begin, end - begin);
    if (StartsWithNoCase(line, ".pg")) {
      SplitArguments(line.substr(3));
      if (SplitFields.size() < 2) {
        AskOkHelpCancel(".PG command has less than 2 arguments:\r" + line, kPageCommandHelp);
        Abort();
      }
      const std::string name = Trimmed(SplitFields[0]);
      slides.push_back({name.substr(0, name.find('.')), SplitFields[1]});
    }
    begin = end + 1;
  }
  return slides;
}

std::string SlideShowEnd(const std::vector<TSlide>& slides, const std::string& page,
                         const std::string& ext) {
  std::string end = "\n";
  size_t at = 0;
  while (at < slides.size() && !AnsiSameText(slides[at].name, page)) ++at;
  if (slides.empty() || at == slides.size()) return end + "</Body>\r\n</HTML>";
  const std::string& first = slides.front().name;
  const bool wrapsBack = at == 0 || AnsiSameText(page, first + "01");
  const std::string previous = wrapsBack ? slides.back().name : slides[at - 1].name;
  const std::string next = at + 1 < slides.size()
                               ? slides[at + 1].name
                               : slides[std::min<size_t>(1, slides.size() - 1)].name;
  if (at == 0) {
    for (size_t k = 1; k < slides.size(); ++k) {
      end += "<A Href=\"" + slides[k].name + ext + "\">" +
             ReplaceAll(slides[k].title, "\xBB", "&nbsp;", true) + "</A><Br>";
    }
  }
  end += "<Script>Arrows(" + Quoted(previous) + ", " + Quoted(next) + ", " +
         Quoted(at == 0 ? kIndexName : first) + ")</Script>\r\n</Body>\r\n</HTML>";
  return end;
}

}  // namespace quorrel
