#pragma once
// Tests that start from a list of tabs' paths, as the document records hold them.
#include <string>
#include <vector>

#include "shell/Document.h"

namespace quorrel::test {

// One record per path, slot by slot, as if those tabs had been opened (a blank
// path is a closed tab's).
inline void SetOpenFiles(const std::vector<std::string>& paths) {
  ClearDocuments();
  for (const std::string& path : paths) AddDocument(path);
}

// Records up to a slot, for a test whose editor holds that slot without a tab.
inline TDocument& RecordOfSlot(int slot) {
  while (Documents.size() <= static_cast<size_t>(slot)) AddDocument("");
  return Documents[slot];
}

}  // namespace quorrel::test
