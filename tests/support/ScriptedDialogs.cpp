#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quorrel::test {

int ScriptedDialogs::ShowBox(const DialogCall& call) {
  calls_.push_back(call);
  if (whileShowing) whileShowing(call);
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

bool ScriptedDialogs::InputQuery(const std::string& caption, const std::string& prompt,
                                 std::string& value, bool password) {
  inputs_.push_back({caption, prompt, value, password});
  if (textAnswers_.empty()) {
    ADD_FAILURE() << "Unscripted input box: \"" << prompt << "\"";
    return false;
  }
  auto [ok, text] = textAnswers_.front();
  textAnswers_.pop_front();
  if (ok) value = text;
  return ok;
}

bool ScriptedDialogs::NextPath(const std::string& what, std::string& path) {
  if (pathAnswers_.empty()) {
    ADD_FAILURE() << "Unscripted " << what << ": \"" << pathCalls_.back().call.title << "\"";
    return false;
  }
  auto [ok, chosen] = pathAnswers_.front();
  pathAnswers_.pop_front();
  if (ok) path = chosen;
  return ok;
}

bool ScriptedDialogs::FileDialog(const FileDialogCall& call, std::string& path) {
  pathCalls_.push_back({false, call, path});
  return NextPath(call.save ? "save dialog" : "open dialog", path);
}

bool ScriptedDialogs::SelectFolder(const std::string& caption, const std::string& startFolder,
                                   std::string& folder) {
  FileDialogCall call;
  call.title = caption;
  call.folder = startFolder;
  pathCalls_.push_back({true, call, folder});
  return NextPath("folder chooser", folder);
}

bool ScriptedDialogs::FontDialog(TFontChoice& font) {
  fontCalls_.push_back(font);
  if (fontAnswers_.empty()) {
    ADD_FAILURE() << "Unscripted font dialog";
    return false;
  }
  auto [ok, chosen] = fontAnswers_.front();
  fontAnswers_.pop_front();
  if (ok) font = chosen;
  return ok;
}

bool ScriptedDialogs::ColourDialog(int& colour) {
  colourCalls_.push_back(colour);
  if (colourAnswers_.empty()) {
    ADD_FAILURE() << "Unscripted colour dialog";
    return false;
  }
  auto [ok, chosen] = colourAnswers_.front();
  colourAnswers_.pop_front();
  if (ok) colour = chosen;
  return ok;
}

bool ScriptedDialogs::PrintDialog(TPrintTarget& target) {
  ++printDialogs_;
  if (printAnswers_.empty()) {
    ADD_FAILURE() << "Unscripted print dialog";
    return false;
  }
  auto [ok, chosen] = printAnswers_.front();
  printAnswers_.pop_front();
  if (ok) target = chosen;
  return ok;
}

bool ScriptedDialogs::PickList(const std::string& caption, const std::vector<std::string>& entries,
                               int helpContext, std::string& chosen) {
  pickCalls_.push_back({caption, entries, helpContext});
  if (pickAnswers_.empty()) {
    ADD_FAILURE() << "Unscripted pick list: \"" << caption << "\"";
    return false;
  }
  auto [ok, entry] = pickAnswers_.front();
  pickAnswers_.pop_front();
  if (!ok) return false;
  // The user can only click an entry that is there.
  EXPECT_NE(std::find(entries.begin(), entries.end(), entry), entries.end())
      << "\"" << entry << "\" is not in the pick list \"" << caption << "\"";
  chosen = entry;
  return true;
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

std::vector<std::string> ScriptedDialogs::UncentredTexts() const {
  std::vector<std::string> texts = Texts();
  for (std::string& text : texts) {
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
  }
  return texts;
}

void ScriptedDialogs::Clear() {
  calls_.clear();
  answers_.clear();
  inputs_.clear();
  textAnswers_.clear();
  pathCalls_.clear();
  pathAnswers_.clear();
  fontCalls_.clear();
  fontAnswers_.clear();
  colourCalls_.clear();
  colourAnswers_.clear();
  printAnswers_.clear();
  printDialogs_ = 0;
  pickCalls_.clear();
  pickAnswers_.clear();
  whileShowing = nullptr;
}

ScriptedDialogs& Dialogs() {
  static ScriptedDialogs dialogs;
  return dialogs;
}

}  // namespace quorrel::test
