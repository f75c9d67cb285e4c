#pragma once
// The file-list form ("Open") as the commands see it: it is shown modally and hands
// back the path or web address chosen, and the commands step through its list
// (SiteFileList.h) for "Next". The ui installs the form; without one the platform's
// open dialog stands in for it. Paths are Windows-1252 bytes.
#include <string>

namespace quorrel {

class TScanObserver;

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
  // What a listing shows while it runs, and its Cancel; nullptr for none.
  virtual TScanObserver* ScanObserver() { return nullptr; }
};
void SetOpenForm(TOpenFormHost* form);

// Whether the ui has installed the form.
bool OpenFormInstalled();
// The installed form's view of a listing; nullptr without a form.
TScanObserver* OpenFormObserver();

// Shows the form; true when a path was chosen. Without a form: the open dialog
// (WinOpenClick).
bool ShowOpenForm();

// The next entry of the form's list (SiteFileListNext).
void OpenNext();

// Back to the state of a freshly started program (no form installed).
void ResetOpenUnit();

}  // namespace quorrel
