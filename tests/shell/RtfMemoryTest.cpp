// The in-memory editor against the RTF part of the editor conformance suites.
#include "support/MemoryRich.h"
#include "support/RtfConformance.h"

namespace quorrel::test {
namespace {

struct MemoryRtfFactory {
  static std::unique_ptr<TMyRich> Make() { return std::make_unique<MemoryRich>(25); }
  static void Settle() {}
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RtfConformance, MemoryRtfFactory);

}  // namespace
}  // namespace quorrel::test
