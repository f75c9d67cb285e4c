#include "platform/GzipFile.h"

#include <zlib.h>

namespace quorrel {

bool ReadGzipFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  gzFile file = gzopen(path.c_str(), "rb");
  if (!file) return false;
  char buffer[64 * 1024];
  int got;
  while ((got = gzread(file, buffer, sizeof buffer)) > 0) bytes.append(buffer, got);
  // A damaged file gives a read error, a cut-off one an end without the stream's
  // end: neither is a short text to be taken for the whole.
  int error = Z_OK;
  gzerror(file, &error);
  const bool whole = got == 0 && error == Z_OK;
  gzclose(file);
  if (!whole) bytes.clear();
  return whole;
}

}  // namespace quorrel
