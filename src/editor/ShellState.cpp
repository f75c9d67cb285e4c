#include "editor/ShellState.h"

namespace quorrel {

std::string ApplicationTitle = "Quorrel";
std::string CurrentCommand;
std::string CurrentPageName;
bool IsContentDoc = false;
bool IsDotPage = false;

void ResetShellState() {
  ApplicationTitle = "Quorrel";
  CurrentCommand.clear();
  CurrentPageName.clear();
  IsContentDoc = false;
  IsDotPage = false;
}

}  // namespace quorrel
