#include "shell/TextLines.h"

namespace quorrel {

std::vector<std::string> LinesWithoutEnds(const std::string& text, bool* endsWithLineEnd) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  if (endsWithLineEnd) {
    *endsWithLineEnd = !text.empty() && (text.back() == '\n' || text.back() == '\r');
  }
  return lines;
}

std::vector<std::string> LinesWithEnds(const std::string& text) {
  std::vector<std::string> lines;
  size_t from = 0;
  while (from < text.size()) {
    const size_t lf = text.find('\n', from);
    const size_t to = lf == std::string::npos ? text.size() : lf + 1;
    lines.push_back(text.substr(from, to - from));
    from = to;
  }
  return lines;
}

}  // namespace quorrel
