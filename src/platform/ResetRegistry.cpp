#include "platform/ResetRegistry.h"

#include <vector>

namespace quorrel {

namespace {

// Built on first use: units register during static initialisation, in an order
// nobody controls.
std::vector<void (*)()>& Registry() {
  static std::vector<void (*)()> registry;
  return registry;
}

}  // namespace

TResetEntry::TResetEntry(void (*reset)()) {
  Registry().push_back(reset);
}

void ResetRegisteredState() {
  for (auto reset : Registry()) reset();
}


}  // namespace quorrel
