#include "shell/RunPrograms.h"

#include "platform/Abort.h"
#include "platform/Help.h"
#include "platform/IniFile.h"
#include "platform/ResetRegistry.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"

namespace quorrel {

int ToolWaitSeconds = ToolWaitDefault;

namespace {

const TResetEntry resetToolWait([] { ToolWaitSeconds = ToolWaitDefault; });

}  // namespace

bool RunHidden(const std::string& program, const std::vector<std::string>& arguments,
               int helpContext, const TRunOptions& options) {
  const TStartResult result = StartProgram(program, arguments, options);
  switch (result.outcome) {
    case TStartOutcome::Started:
      BeginBusy();
      return true;
    case TStartOutcome::NotFound:
      if (helpContext != 0) {
        ShowHelpContext(helpContext);
      } else {
        ShowMsg("Program not found: " + program);
      }
      Abort();
    case TStartOutcome::NotExecutable:
    case TStartOutcome::NotStarted:
      break;
  }
  ShowMsg("Could not run \r" + program + "\rError code was " + std::to_string(result.error));
  return false;
}

std::string ChosenProgram(const std::string& key, std::initializer_list<const char*> known) {
  if (SettingsIni) {
    std::string chosen = SettingsIni->ReadString("System", key, "");
    if (!chosen.empty()) return chosen;
  }
  for (const char* name : known) {
    if (!FindProgram(name).empty()) return name;
  }
  return "";
}

void WaitForOutputFile(const std::string& path) {
  const int setting = ToolWaitSeconds;
  ToolWaitSeconds = ToolWaitDefault;
  const int seconds = setting == ToolWaitQuiet ? 4 : (setting < 0 ? 0 : setting);
  const bool warnEmpty = setting > 0;

  const TOutputFileState file = WaitForOutput(path, seconds);
  if (!file.exists) ShowErrorAndAbort("Unable to create\r" + path + "\rPlease try again.");
  if (file.size == 0 && warnEmpty) {
    if (ContainsNoCase(path, "ABCPSErr.Txt")) Abort();
    if (!ContainsNoCase(path, ".wav") && !ContainsNoCase(path, ".mp3") &&
        !ContainsNoCase(path, "ABCErrors")) {
      ShowMsg("Warning: File is 0 bytes long.\r" + path);
    }
  }
}

}  // namespace quorrel
