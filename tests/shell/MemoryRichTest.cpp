// The in-memory editor against the shared editor conformance suite.
#include "support/MemoryRich.h"
#include "support/RichConformance.h"

namespace quorrel::test {
namespace {

struct MemoryFactory {
  static std::unique_ptr<TMyRich> Make() { return std::make_unique<MemoryRich>(25); }
  static void Settle() {}
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RichConformance, MemoryFactory);

}  // namespace
}  // namespace quorrel::test
