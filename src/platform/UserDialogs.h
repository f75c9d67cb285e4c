#pragma once
// The seam through which core reaches the user: every message box, question and
// input box.
// The program installs the Qt implementation; tests install a scripted one.
// All texts are Windows-1252 bytes, exactly as the user is to see them.
#include <string>
#include <vector>

namespace quorrel {

// Modal results as the boxes report them.
enum ModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7, mrAll = 8 };

enum class DialogKind {
  Message,          // plain box, one OK button
  TimedMessage,     // OK box that closes itself after timeoutMs
  YesNo,
  YesNoHelp,
  YesNoCancel,
  YesNoCancelHelp,
  Custom,           // the three-button box: buttons[0..2] are the captions
  ReplacePrompt,    // Replace this occurrence? mrYes, mrNo, mrAll or mrCancel
};

struct DialogCall {
  DialogKind kind = DialogKind::Message;
  std::string text;
  std::string caption;
  std::vector<std::string> buttons;  // Custom only; "" hides the second button
  int helpContext = 0;
  int timeoutMs = 0;
};

const char* DialogKindName(DialogKind kind);

// An open or save dialog. The filter is written "Pages|*.htm;*.html|All files|*.*".
struct FileDialogCall {
  bool save = false;
  std::string title;
  std::string filter;
  std::string folder;  // where the dialog opens
  int helpContext = 0;
};

// A font as the font dialog starts with it and returns it: name, points, effects
// and a colour (0x00BBGGRR).
struct TFontChoice {
  std::string name;
  int size = 12;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  int colour = 0;

  bool operator==(const TFontChoice&) const = default;
};

// Where the print dialog sends a job: a printer's queue, or a PDF file.
struct TPrintTarget {
  std::string printer;     // the queue's name; "" for the default printer
  std::string outputFile;  // a PDF file the job is written to instead of a queue
};

class TUserDialogs {
 public:
  virtual ~TUserDialogs() = default;
  // Shows the box modally and returns its modal result (mrOk for messages;
  // a closed question box answers mrCancel, or mrNo where there is no Cancel).
  virtual int ShowBox(const DialogCall& call) = 0;
  // Lets pending events run (repaints under a closed box).
  virtual void ProcessMessages() {}
  // The input box: caption, prompt and an edit field holding value. Returns false
  // when cancelled (value unchanged). A password box shows "*" for each character.
  virtual bool InputQuery(const std::string& caption, const std::string& prompt,
                          std::string& value, bool password) {
    (void)caption, (void)prompt, (void)value, (void)password;
    return false;
  }
  // The open or save dialog: path holds the proposed name on entry and the chosen
  // full path on return. Returns false when cancelled (path unchanged).
  virtual bool FileDialog(const FileDialogCall& call, std::string& path) {
    (void)call, (void)path;
    return false;
  }
  // The font dialog with effects and a colour, starting from font. Returns false
  // when cancelled (font unchanged).
  virtual bool FontDialog(TFontChoice& font) {
    (void)font;
    return false;
  }
  // The colour dialog, starting at colour (0x00BBGGRR), which receives the choice.
  // Returns false when cancelled (colour unchanged).
  virtual bool ColourDialog(int& colour) {
    (void)colour;
    return false;
  }
  // The print dialog, starting from target. Returns false when cancelled (target
  // unchanged).
  virtual bool PrintDialog(TPrintTarget& target) {
    (void)target;
    return false;
  }
  // The pick list (the link form): one clickable entry per text, under a caption.
  // Returns false when it was closed without a choice; otherwise chosen holds the
  // entry clicked, exactly as given.
  virtual bool PickList(const std::string& caption, const std::vector<std::string>& entries,
                        int helpContext, std::string& chosen) {
    (void)caption, (void)entries, (void)helpContext, (void)chosen;
    return false;
  }
  // The folder chooser, in which folders may be created. Returns false when cancelled.
  virtual bool SelectFolder(const std::string& caption, const std::string& startFolder,
                            std::string& folder) {
    (void)caption, (void)startFolder, (void)folder;
    return false;
  }
};

// The installed implementation. Without one, boxes answer as if closed.
TUserDialogs& UserDialogs();
void SetUserDialogs(TUserDialogs* dialogs);

}  // namespace quorrel
