#pragma once
// What Find and Replace keep between commands: the Find dialog's fields (the
// dialog keeps its options, and core reads them without a widget) and the
// engine's own state, so that Next repeats the last command. Texts are
// Windows-1252 bytes.
#include <string>
#include <vector>

namespace quorrel {

// Help topics of the find commands.
inline constexpr int FindHelpContext = 80100;
inline constexpr int ExtractHelpContext = 80150;

// The fields of the Find dialog, as the user left them.
struct TFindAnswers {
  std::string findText;     // "Text to find", with the "¶" and "»" marks
  std::string replaceText;  // "Replace by"
  bool caseSensitive = false;
  bool wholeWords = false;
  bool prompt = false;
  bool hex = false;
  bool blockRepEnabled = false;  // "Block replace" can be ticked: replacing, a block marked
  bool blockRep = false;
  bool inSectionVisible = false;  // the Sections list exists
  bool inSection = false;
  bool searchFiles = false;  // "Search Files in folder..."
  std::string root;          // the folder searched
  std::string fileMask;
  bool subFolders = true;  // "Include Sub-directories"
};
extern TFindAnswers FindAnswers;

// The histories of the two text boxes, newest first ([Find] and [Replace] of the
// settings file, read when the dialog first shows).
extern std::vector<std::string> FindHistory;
extern std::vector<std::string> ReplaceHistory;
void LoadFindHistories();

// How the dialog is to show for one command.
struct TFindRequest {
  std::string caption;  // the command's caption without "&"
  int helpContext = FindHelpContext;
  bool replaceMode = false;  // Replace or Replace tag: the replacement shows
  bool selection = false;    // the editor has a block marked
};

// The dialog as the ui (or a test) provides it: shows modally over FindAnswers and
// edits them; true when closed with OK.
class TFindDialog {
 public:
  virtual ~TFindDialog() = default;
  virtual bool Execute(const TFindRequest& request) = 0;
};
void SetFindDialog(TFindDialog* dialog);
TFindDialog* FindDialog();

// The part of showing the dialog that is no drawing: "Block replace" can be ticked
// only when replacing with a block marked, and is ticked exactly then; "In Section"
// shows only while the Sections list exists, and is unticked when hidden.
void PrepareFindAnswers(const TFindRequest& request);

// The engine's state between commands.
struct TFindState {
  std::string searchText;   // the last find text, marks resolved
  std::string replacement;  // likewise
  std::string lastCommand;  // the command Next repeats
  bool replaceMode = false;
  bool blockReplace = false;
  bool inSection = false;
  bool found = false;  // the last search found something
  // Where the last occurrence found ends, and in which document: Next goes on from
  // there, whatever the blink left selected.
  size_t foundEnd = 0;
  std::string foundIn;
  bool promptShown = false;  // the replace prompt has been shown since start
};

// The label of the replace prompt.
inline constexpr char ReplacePromptText[] = " Replace?  Yes / No / All / Cancel ";
extern TFindState FindState;

// Back to a freshly started program.
void ResetFindState();

}  // namespace quorrel
