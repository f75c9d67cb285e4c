#include "shell/LinkPick.h"

namespace quorrel {

std::string ChosenLink;

namespace {
std::function<bool(const std::string&, const std::vector<std::string>&)> linkForm;
}  // namespace

bool PickLink(const std::string& caption, const std::vector<std::string>& entries) {
  return linkForm && linkForm(caption, entries);
}

void SetLinkForm(
    std::function<bool(const std::string& caption, const std::vector<std::string>& entries)>
        show) {
  linkForm = std::move(show);
}

}  // namespace quorrel
