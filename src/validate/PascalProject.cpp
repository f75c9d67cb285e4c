#include "validate/PascalProject.h"

#include "shell/FastStrings.h"
#include "shell/TextLines.h"

namespace quorrel {

std::vector<std::string> ProjectFileNames(const std::string& baseName) {
  std::vector<std::string> names = {"Direct.Inc"};
  for (const char* ext : {".cfg", ".dof", ".Dpr", ".dsk", ".Exe", ".Ico", ".res", ".dcu"}) {
    names.push_back(baseName + ext);
  }
  return names;
}

std::vector<std::string> ProjectUnitPaths(const std::string& text, const std::string& folder) {
  constexpr char kIn[] = " in '";
  std::vector<std::string> paths;
  const std::vector<std::string> lines = LinesWithoutEnds(text);
  for (size_t i = 2; i + 1 < lines.size(); ++i) {
    const std::string& line = lines[i];
    const size_t in = line.find(kIn);
    if (in != std::string::npos) {
      const size_t start = in + sizeof(kIn) - 1;
      const size_t end = line.find('\'', start);
      std::string path = line.substr(start, end == std::string::npos ? end : end - start);
      for (char& c : path) {
        if (c == '\\') c = '/';
      }
      if (!path.empty()) paths.push_back(path[0] == '/' ? path : folder + path);
    }
    if (ContainsNoCase(line, "{$R *.RES")) break;
  }
  return paths;
}

}  // namespace quorrel
