// Entry points of the e-mail scrambling that is still to be written. Until then
// every address and every link stays as the page has it; the scrambling's own unit
// takes these out of this file.
#include "validate/EmailScramble.h"

namespace quorrel {

std::string ScrambleEmail(const std::string& address) {
  return address;
}

void DecodeEmailScripts(std::string&) {}

bool ScrambleMailtoTag(THtmlRun&) {
  return false;
}

}  // namespace quorrel
