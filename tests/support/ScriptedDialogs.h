#pragma once
// The tests' stand-in for the user: records every box and answers questions
// from a queue. A question nobody scripted fails the running test.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/UserDialogs.h"

namespace quorrel::test {

class ScriptedDialogs : public TUserDialogs {
 public:
  int ShowBox(const DialogCall& call) override;
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value,
                  bool password) override;
  bool FileDialog(const FileDialogCall& call, std::string& path) override;
  bool SelectFolder(const std::string& caption, const std::string& startFolder,
                    std::string& folder) override;
  bool FontDialog(TFontChoice& font) override;
  bool ColourDialog(int& colour) override;
  bool PrintDialog(TPrintTarget& target) override;
  bool PickList(const std::string& caption, const std::vector<std::string>& entries,
                int helpContext, std::string& chosen) override;

  // Queue the answer (a modal result) to the next question.
  void Answer(int modalResult) { answers_.push_back(modalResult); }
  void Answer(std::initializer_list<int> results) { answers_.insert(answers_.end(), results); }

  // Queue what the user types into the next input box, or that it is cancelled.
  void AnswerText(const std::string& text) { textAnswers_.push_back({true, text}); }
  void CancelText() { textAnswers_.push_back({false, ""}); }

  struct InputCall {
    std::string caption;
    std::string prompt;
    std::string value;  // the value the box opened with
    bool password = false;
  };
  const std::vector<InputCall>& Inputs() const { return inputs_; }

  // Queue the path chosen in the next file or folder dialog, or that it is cancelled.
  void AnswerPath(const std::string& path) { pathAnswers_.push_back({true, path}); }
  void CancelPath() { pathAnswers_.push_back({false, ""}); }

  struct PathCall {
    bool folderChooser = false;
    FileDialogCall call;  // for a folder chooser: title = caption, folder = start folder
    std::string path;     // the path the dialog opened with
  };
  const std::vector<PathCall>& PathCalls() const { return pathCalls_; }

  // Queue the font chosen in the next font dialog, or that it is cancelled.
  void AnswerFont(const TFontChoice& font) { fontAnswers_.push_back({true, font}); }
  void CancelFont() { fontAnswers_.push_back({false, {}}); }
  // The fonts each font dialog started with.
  const std::vector<TFontChoice>& FontCalls() const { return fontCalls_; }

  // Queue the colour (0x00BBGGRR) chosen in the next colour dialog, or that it is
  // cancelled; the colours each colour dialog started with.
  void AnswerColour(int colour) { colourAnswers_.push_back({true, colour}); }
  void CancelColour() { colourAnswers_.push_back({false, 0}); }
  const std::vector<int>& ColourCalls() const { return colourCalls_; }
  // Queue where the next print dialog sends the job, or that it is cancelled.
  void AnswerPrint(const TPrintTarget& target) { printAnswers_.push_back({true, target}); }
  void CancelPrint() { printAnswers_.push_back({false, {}}); }
  int PrintDialogsShown() const { return printDialogs_; }

  // Queue the entry clicked in the next pick list, or that it is closed without one.
  void AnswerPick(const std::string& entry) { pickAnswers_.push_back({true, entry}); }
  void CancelPick() { pickAnswers_.push_back({false, ""}); }
  struct PickCall {
    std::string caption;
    std::vector<std::string> entries;
    int helpContext = 0;
  };
  const std::vector<PickCall>& PickCalls() const { return pickCalls_; }

  const std::vector<DialogCall>& Calls() const { return calls_; }
  const DialogCall& Last() const;
  // Texts of every box shown so far, in order.
  std::vector<std::string> Texts() const;
  // The same without the blanks that centre a one-line message.
  std::vector<std::string> UncentredTexts() const;
  size_t UnusedAnswers() const {
    return answers_.size() + textAnswers_.size() + pathAnswers_.size() + fontAnswers_.size() +
           colourAnswers_.size() + printAnswers_.size() + pickAnswers_.size();
  }
  void Clear();

  // Runs while each box shows, before it is answered: what the user sees then.
  std::function<void(const DialogCall&)> whileShowing;

 private:
  std::vector<DialogCall> calls_;
  std::deque<int> answers_;
  std::vector<InputCall> inputs_;
  std::deque<std::pair<bool, std::string>> textAnswers_;
  std::vector<PathCall> pathCalls_;
  std::deque<std::pair<bool, std::string>> pathAnswers_;
  std::vector<TFontChoice> fontCalls_;
  std::deque<std::pair<bool, TFontChoice>> fontAnswers_;
  std::vector<int> colourCalls_;
  std::deque<std::pair<bool, int>> colourAnswers_;
  std::deque<std::pair<bool, TPrintTarget>> printAnswers_;
  int printDialogs_ = 0;
  std::vector<PickCall> pickCalls_;
  std::deque<std::pair<bool, std::string>> pickAnswers_;
  bool NextPath(const std::string& what, std::string& path);
};

// The instance installed by the test main.
ScriptedDialogs& Dialogs();

}  // namespace quorrel::test
