#include "platform/UserDialogs.h"

namespace quorrel {

namespace {

class NoDialogs : public TUserDialogs {
 public:
  int ShowBox(const DialogCall& call) override {
    return call.kind == DialogKind::Message || call.kind == DialogKind::TimedMessage ? mrOk
                                                                                     : mrCancel;
  }
};

NoDialogs noDialogs;
TUserDialogs* installed = &noDialogs;

}  // namespace

const char* DialogKindName(DialogKind kind) {
  switch (kind) {
    case DialogKind::Message: return "Message";
    case DialogKind::TimedMessage: return "TimedMessage";
    case DialogKind::YesNo: return "YesNo";
    case DialogKind::YesNoHelp: return "YesNoHelp";
    case DialogKind::YesNoCancel: return "YesNoCancel";
    case DialogKind::YesNoCancelHelp: return "YesNoCancelHelp";
    case DialogKind::Custom: return "Custom";
    case DialogKind::ReplacePrompt: return "ReplacePrompt";
  }
  return "?";
}

TUserDialogs& UserDialogs() { return *installed; }

void SetUserDialogs(TUserDialogs* dialogs) { installed = dialogs ? dialogs : &noDialogs; }

}  // namespace quorrel
