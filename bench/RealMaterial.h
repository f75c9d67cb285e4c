#pragma once
// Real material for the benchmarks, as users meet it: Debian's licence texts (with
// their web addresses) and the word list, and git's manual pages. Made-up,
// even-lined text hides what real text costs.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace bench {

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The files of a folder whose names end so, sorted so that every run reads the same.
inline std::vector<std::string> FilesEnding(const std::string& folder, const std::string& end) {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().string();
    if (entry.is_regular_file() && name.size() > end.size() &&
        name.compare(name.size() - end.size(), end.size(), end) == 0) {
      files.push_back(name);
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

inline void Need(bool present, const char* what) {
  if (present) return;
  std::fprintf(stderr, "missing real material: %s\n", what);
  std::exit(2);
}

// The licence texts and the word list over and over, up to `bytes`, cut after a
// line end; LF line ends, as Debian ships them.
inline std::string LicenceText(size_t bytes) {
  std::string source;
  for (const std::string& path : FilesEnding("/usr/share/common-licenses", "")) {
    source += Slurp(path);
  }
  source += Slurp("/usr/share/dict/words");
  Need(source.size() > 1000000, "/usr/share/common-licenses and /usr/share/dict/words");
  std::string text;
  text.reserve(bytes + source.size());
  while (text.size() < bytes) text += source;
  const size_t end = text.find('\n', bytes);
  text.resize(end == std::string::npos ? text.size() : end + 1);
  return text;
}

// One HTML page of about `bytes`: the head of git's user manual, then the bodies of
// git's manual pages one after another.
inline std::string GitDocPage(size_t bytes) {
  const std::vector<std::string> pages = FilesEnding("/usr/share/doc/git-doc", ".html");
  Need(!pages.empty(), "/usr/share/doc/git-doc (git-doc)");
  const std::string first = Slurp("/usr/share/doc/git-doc/user-manual.html");
  const size_t bodyAt = first.find("<body");
  Need(bodyAt != std::string::npos, "a <body> in git's user manual");
  std::string page = first.substr(0, first.find('>', bodyAt) + 1) + "\n";
  for (size_t i = 0; page.size() < bytes; i = (i + 1) % pages.size()) {
    const std::string text = Slurp(pages[i]);
    const size_t open = text.find("<body");
    const size_t close = text.rfind("</body>");
    if (open == std::string::npos || close == std::string::npos) continue;
    const size_t from = text.find('>', open) + 1;
    page.append(text, from, close - from);
  }
  return page + "</body>\n</html>\n";
}

}  // namespace bench
