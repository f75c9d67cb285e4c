#include "shell/CompareProgram.h"

#include <cstdint>

#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "platform/ResetRegistry.h"
#include "shell/RunPrograms.h"
#include "shell/ShellState.h"
#include "shell/SmallForms.h"

namespace quorrel {

namespace {

// The compare program started last, ended before the next one starts.
int64_t comparePid = 0;

const TResetEntry resetCompare([] { comparePid = 0; });

}  // namespace

std::string CompareProgram() {
  return ChosenProgram("ExamDiff", {"meld", "kdiff3"});
}

void RunExamDiff(const std::string& file1, const std::string& file2) {
  const std::string program = CompareProgram();
  const std::string located = LocateProgram(program, CompareProgramHelp);
  if (located != program && SettingsIni) SettingsIni->WriteString("System", "ExamDiff", located);
  // One comparison at a time: the window of the last one goes.
  if (comparePid != 0) EndProcess(comparePid);
  comparePid = 0;
  if (RunHidden(NativePath(located), {NativePath(file1), NativePath(file2)}, CompareProgramHelp)) {
    comparePid = LastStartedPid();
  }
}

}  // namespace quorrel
