#pragma once
// What the program asks of the desktop besides its own windows: the clipboard's
// text, the printer set-up and the file manager. The ui installs the desktop at
// start-up; tests install their own. Texts and paths are Windows-1252 bytes.
#include <string>

namespace quorrel {

class TDesktop {
 public:
  virtual ~TDesktop() = default;
  virtual void SetClipboardText(const std::string& text) = 0;
  virtual std::string ClipboardText() = 0;
  // Whether the clipboard also offers formatted text (RTF, HTML or an office
  // program's own format) besides its plain text.
  virtual bool ClipboardRich() { return false; }
  // The clipboard's formatted text as RTF source: RTF as the other program offers
  // it, HTML converted; "" when it offers neither.
  virtual std::string ClipboardRtf() { return {}; }
  // Offers text together with its RTF source, as a word processor's copy does.
  // A desktop without formats keeps the text only.
  virtual void SetClipboardRich(const std::string& text, const std::string& rtf) {
    (void)rtf;
    SetClipboardText(text);
  }
  // The printer set-up dialog; false when it was cancelled or there is no printer.
  virtual bool PrinterSetup() = 0;
  // Opens the file manager on a file's folder with the file selected; the path may
  // also be a network address ("smb://host/share/file"). False when no file
  // manager could be started.
  virtual bool ShowInFileManager(const std::string& path) = 0;
};

// The installed desktop. Without one: a clipboard of the program's own, no
// printer, and the file manager reached through the session bus, else the folder
// opened with the default program.
TDesktop& Desktop();
void SetDesktop(TDesktop* desktop);

// The file manager as the default desktop reaches it.
bool ShowInFileManagerDefault(const std::string& path);

// Back to the default desktop with an empty clipboard.
void ResetDesktop();

}  // namespace quorrel
