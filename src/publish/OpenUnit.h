#pragma once
// The file-list form ("Open") as the open command sees it: it is shown modally
// and hands back the path or web address chosen, and it steps through its list
// for "Next". The form itself, with its scan of the site, is still to be built;
// until the ui installs it the platform's open dialog stands in for it. Paths are
// Windows-1252 bytes.
#include <string>

namespace quorrel {

// The path or web address chosen in the form.
extern std::string ChosenPath;
// Set when the form's list has no entry after the selected one.
extern bool FileListEnded;

// The form as the ui implements it.
class TOpenFormHost {
 public:
  virtual ~TOpenFormHost() = default;
  // Shows the form modally; true when it closed with OK (ChosenPath set).
  virtual bool ShowModal() = 0;
  // TOpenForm.OpenNext: selects the entry after the selected one and chooses it
  // (ChosenPath), or sets FileListEnded when there is none.
  virtual void OpenNext() = 0;
};
void SetOpenForm(TOpenFormHost* form);

// Whether the ui has installed the form.
bool OpenFormInstalled();

// Shows the form; true when a path was chosen. Without a form: the open dialog
// "File to be opened" for all files, in the folder of the last path chosen (else
// the current folder).
bool ShowOpenForm();

// The next entry of the form's list; without a form, of the site file list.
void OpenNext();

// Back to the state of a freshly started program (no form installed).
void ResetOpenUnit();

}  // namespace quorrel
