#include "shell/Sections.h"

#include "platform/ResetRegistry.h"
#include "shell/ShellState.h"

namespace quorrel {

std::vector<std::string> SectionCaptions;
std::string SectionTypeAhead;

void SectionsClick(const std::string& /*command*/) {
  SectionLines.clear();
  SectionCaptions.clear();
}

bool SectionsBoxShowing() {
  return false;
}

bool SectionsBoxFocused() {
  return false;
}

int HighlightedSection() {
  return -1;
}

void HighlightSection(int /*index*/) {}

bool SectionHidden(int /*index*/) {
  return false;
}

int SectionsPerColumn() {
  return 1;
}

void ThisSectClick(int /*index*/) {}

void ResetSections() {
  SectionCaptions.clear();
  SectionTypeAhead.clear();
}

namespace {
const TResetEntry resetSections(ResetSections);
}  // namespace

}  // namespace quorrel
