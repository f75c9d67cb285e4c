#include "sitebuild/LinkTextWidth.h"

namespace quorrel {

namespace {
TTextWidth Measure;
}  // namespace

void SetLinkTextWidth(TTextWidth measure) {
  Measure = std::move(measure);
}

double LinkTextWidth(const std::string& text) {
  return Measure ? Measure(text) : 0;
}

}  // namespace quorrel
