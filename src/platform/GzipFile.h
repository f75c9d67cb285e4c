#pragma once
// Reading a gzip-compressed file, as Debian keeps most of its documentation.
// Paths are file-system bytes.
#include <string>

namespace quorrel {

// The whole uncompressed content; false when the file cannot be opened or is not
// valid gzip data (a file that is not compressed at all reads as it stands).
bool ReadGzipFile(const std::string& path, std::string& bytes);

}  // namespace quorrel
