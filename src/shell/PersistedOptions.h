#pragma once
// The options kept in the settings file: checked menu items and the check boxes of
// the find dialog and the file-list form, stored as booleans in [System] under
// their component names.
#include <cstddef>

namespace quorrel {

struct TPersistedOption {
  const char* component;
  bool defaultValue;
};

// Every option in the order of registration. Items of one radio group follow each
// other, so that with no settings file the last of a group ends up checked.
constexpr size_t PersistedOptionCount = 61;
extern const TPersistedOption PersistedOptionTable[PersistedOptionCount];

}  // namespace quorrel
