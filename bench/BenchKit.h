#pragma once
// What the benchmarks share: a user who accepts every question, and real prose to
// fill pages with.
#include <fstream>
#include <sstream>
#include <string>

#include "platform/UserDialogs.h"

namespace quorrel::bench {

// Every question is answered Yes, as a user who accepts each repair would; the last
// message is kept to say why a run stopped.
class YesDialogs : public TUserDialogs {
 public:
  int ShowBox(const DialogCall& call) override {
    last = call.text;
    return call.kind == DialogKind::Message ? mrOk : mrYes;
  }
  std::string last;
};

// The GPL's text as Debian ships it.
inline std::string GplProse() {
  std::ifstream in("/usr/share/common-licenses/GPL-3", std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace quorrel::bench
