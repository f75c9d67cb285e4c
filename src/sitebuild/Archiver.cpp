#include "sitebuild/Archiver.h"

#include "platform/Paths.h"
#include "platform/Processes.h"
#include "shell/DBoxUnit.h"

namespace quorrel {

std::vector<std::string> SplitWindowsArguments(std::string_view line) {
  std::vector<std::string> arguments;
  size_t k = 0;
  for (;;) {
    while (k < line.size() && (line[k] == ' ' || line[k] == '\t')) ++k;
    if (k >= line.size()) return arguments;
    std::string argument;
    bool quoted = false;
    while (k < line.size() && (quoted || (line[k] != ' ' && line[k] != '\t'))) {
      if (line[k] == '\\') {
        size_t slashes = 0;
        while (k < line.size() && line[k] == '\\') ++slashes, ++k;
        if (k < line.size() && line[k] == '"') {
          argument.append(slashes / 2, '\\');
          if (slashes % 2 == 1) {
            argument += '"';
            ++k;
          }
        } else {
          argument.append(slashes, '\\');
        }
        continue;
      }
      if (line[k] == '"') {
        if (quoted && k + 1 < line.size() && line[k + 1] == '"') {
          argument += '"';
          k += 2;
          continue;
        }
        quoted = !quoted;
        ++k;
        continue;
      }
      argument += line[k++];
    }
    arguments.push_back(std::move(argument));
  }
}

void StartArchiver(const std::string& archiveList, const std::string& folder) {
  TRunOptions options;
  options.workingFolder = folder;
  options.stdoutFile = TempFolder() + kArchiverLog;
  options.stderrFile = options.stdoutFile;
  const TStartResult result =
      StartProgram(kArchiverProgram, SplitWindowsArguments(archiveList), options);
  if (result.outcome != TStartOutcome::Started) {
    ShowMsg("The archive was not made: 7z (Debian package p7zip-full) could not be started.");
  }
}

}  // namespace quorrel
