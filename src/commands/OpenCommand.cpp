#include "commands/OpenCommand.h"

#include "commands/OpenDocs.h"
#include "shell/MenuModel.h"

namespace quorrel {

void OpenClick(const std::string& sender) {
  OpenClick(sender.empty() ? nullptr : &MainMenu().Item(sender));
}

}  // namespace quorrel
