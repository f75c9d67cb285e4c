#include "shell/LinkPick.h"

namespace quorrel {

std::string ChosenLink;

namespace {
std::function<bool(const std::string&, const std::vector<std::string>&, int)> linkForm;
}  // namespace

bool PickLink(const std::string& caption, const std::vector<std::string>& entries,
              int helpContext) {
  return linkForm && linkForm(caption, entries, helpContext);
}

void SetLinkForm(std::function<bool(const std::string& caption,
                                    const std::vector<std::string>& entries, int helpContext)>
                     show) {
  linkForm = std::move(show);
}

}  // namespace quorrel
