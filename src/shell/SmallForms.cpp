#include "shell/SmallForms.h"

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

void ShowPopUp(const std::string& text) {
  if (popForm) popForm(text);
}

void SetPopForm(std::function<void(const std::string& text)> show) { popForm = std::move(show); }

}  // namespace quorrel
