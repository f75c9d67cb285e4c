#include "shell/SmallForms.h"

#include "platform/Abort.h"
#include "platform/Paths.h"
#include "platform/Processes.h"

namespace quorrel {

namespace {
std::function<bool(std::string&, int)> whereForm;
std::function<void(const std::string&)> popForm;
}  // namespace

bool AskWhere(std::string& path, int helpContext) {
  return whereForm && whereForm(path, helpContext);
}

void SetWhereForm(std::function<bool(std::string& path, int helpContext)> show) {
  whereForm = std::move(show);
}

std::string LocateProgram(const std::string& path, int helpContext) {
  std::string located = path;
  auto found = [](const std::string& p) {
    if (p.empty()) return false;
    if (p.find('/') == std::string::npos) return !FindProgram(NativePath(p)).empty();
    return FileExists(p) || DirectoryExists(p);
  };
  while (!found(located)) {
    if (!AskWhere(located, helpContext)) Abort();
  }
  return located;
}

void ShowPopUp(const std::string& text) {
  if (popForm) popForm(text);
}

void SetPopForm(std::function<void(const std::string& text)> show) { popForm = std::move(show); }

}  // namespace quorrel
