#pragma once
// What every writer of files needs: the whole text written, and the mode a new
// file is given.
#include <sys/types.h>

#include <string_view>

namespace quorrel {

// Writes every byte to an open file, going on after interrupted or partial
// writes; false on a write error.
bool WriteAllBytes(int fd, std::string_view bytes);

// The process's umask, read without changing it: umask() would set it for every
// thread while it looks.
mode_t CurrentUmask();

}  // namespace quorrel
