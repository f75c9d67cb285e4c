#include "support/ProgramOutput.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/TestEnvironment.h"

namespace quorrel::test {

std::string ProgramOutput(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

std::string UnrtfText(const std::string& source) {
  const std::string path = TestHome() + "unrtf-input.rtf";
  std::ofstream(path, std::ios::binary) << source;
  std::string text = ProgramOutput("unrtf --text " + path);
  std::filesystem::remove(path);
  const size_t rule = text.find("-----------------\n");
  return rule == std::string::npos ? text : text.substr(rule);
}

}  // namespace quorrel::test
