#include "editor/OpenCommand.h"

#include "editor/MenuModel.h"
#include "editor/OpenDocs.h"

namespace quorrel {

void OpenClick(const std::string& sender) {
  OpenClick(sender.empty() ? nullptr : &MainMenu().Item(sender));
}

}  // namespace quorrel
