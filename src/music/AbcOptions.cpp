#include "music/AbcOptions.h"

#include "shell/MenuModel.h"

namespace quorrel {

bool AbcOption(const std::string& name) {
  const TMenuItem* item = MainMenu().Find(name);
  return item && item->checked;
}

void SetAbcOption(const std::string& name, bool checked) {
  if (MainMenu().Find(name)) MainMenu().SetChecked(name, checked);
}

}  // namespace quorrel
