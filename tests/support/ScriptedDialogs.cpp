#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace quorrel::test {

int ScriptedDialogs::ShowBox(const DialogCall& call) {
  calls_.push_back(call);
  if (call.kind == DialogKind::Message || call.kind == DialogKind::TimedMessage) {
    return mrOk;
  }
  if (answers_.empty()) {
    ADD_FAILURE() << "Unscripted " << DialogKindName(call.kind) << " question: \"" << call.text
                  << "\"";
    return mrCancel;
  }
  int result = answers_.front();
  answers_.pop_front();
  return result;
}

const DialogCall& ScriptedDialogs::Last() const {
  static const DialogCall none;
  return calls_.empty() ? none : calls_.back();
}

std::vector<std::string> ScriptedDialogs::Texts() const {
  std::vector<std::string> texts;
  for (const auto& c : calls_) texts.push_back(c.text);
  return texts;
}

void ScriptedDialogs::Clear() {
  calls_.clear();
  answers_.clear();
}

ScriptedDialogs& Dialogs() {
  static ScriptedDialogs dialogs;
  return dialogs;
}

}  // namespace quorrel::test
