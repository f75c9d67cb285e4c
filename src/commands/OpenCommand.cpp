#include "commands/OpenCommand.h"

#include "shell/MenuModel.h"
#include "commands/OpenDocs.h"

namespace quorrel {

void OpenClick(const std::string& sender) {
  OpenClick(sender.empty() ? nullptr : &MainMenu().Item(sender));
}

}  // namespace quorrel
