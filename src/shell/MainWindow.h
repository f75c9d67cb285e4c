#pragma once
// What core asks of the main window: tabs, captions, status panels, the busy
// cursor, the splash and the window itself. The ui implements it at start-up;
// without one (core tests that need none) the shell's routines skip the screen.
// Texts are Windows-1252 bytes.
#include <memory>
#include <string>

#include "shell/MyRich.h"
#include "shell/PrintLayout.h"

namespace quorrel {

struct TSectionsBox;
struct TParagraphView;

// A caption's width where no font measures it: 6 pixels a character, a tab to the
// next multiple of 48.
inline int DefaultSectionTextWidth(const std::string& caption) {
  int width = 0;
  for (char c : caption) width = c == '\t' ? (width / 48 + 1) * 48 : width + 6;
  return width;
}

// Panels of the status bars: line and column, document information, the current
// section, and the message bar below them.
constexpr int LineColumnPanel = 0;
constexpr int InfoPanel = 2;
constexpr int SectionPanel = 3;
constexpr int MessagePanel = 4;

// The colours of the message bar: its normal colours, orange with black text for a
// new message, red with white text on the blink.
enum class TMessageColour { Normal, Orange, Red };

// Show states of the main window, numbered as the settings keep them.
constexpr int ShowNormal = 1;
constexpr int ShowMinimised = 2;
constexpr int ShowMaximised = 3;

// The normal rectangle and show state of the main window.
struct TWindowPlacement {
  int left = 0;
  int top = 200;
  int right = 950;
  int bottom = 700;
  int showCmd = ShowMaximised;
};

class TMainWindow {
 public:
  virtual ~TMainWindow() = default;

  // ---- tabs of the page control (index = position, 0 = first) ----------------
  virtual int TabCount() const = 0;
  virtual int ActiveTab() const = 0;  // -1 when there is none
  virtual TMyRich* TabEditor(int index) const = 0;
  // Appends a tab holding a new editor; the active tab does not change.
  virtual TMyRich* NewTab() = 0;
  // Makes a tab the active one. Unlike a click on a tab, this does not run the
  // tab-change handler: callers run PCChange themselves.
  virtual void ActivateTab(int index) = 0;
  // Frees a tab and its editor.
  virtual void CloseTab(int index) = 0;
  virtual void MoveTab(int from, int to) = 0;
  virtual void SetTabCaption(int index, const std::string& caption, const std::string& hint) = 0;
  virtual std::string TabCaption(int index) const = 0;
  virtual std::string TabHint(int index) const = 0;
  // 1 while the tab holds a password-scrambled document, 0 otherwise.
  virtual void SetTabHelpContext(int index, int context) = 0;
  virtual int TabHelpContext(int index) const = 0;
  virtual void SetTabsVisible(bool visible) = 0;
  virtual bool TabsVisible() const = 0;
  virtual void SetMultiRowTabs(bool multiRow) = 0;

  // ---- captions and status ---------------------------------------------------
  // The window's title, which is also the application's title.
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetStatusText(int panel, const std::string& text) = 0;
  virtual std::string StatusText(int panel) const = 0;
  // The server-comparison indicator; colour is 0x00BBGGRR.
  virtual void SetIndicator(const std::string& text, int colour, bool visible) = 0;

  // ---- busy state -------------------------------------------------------------
  virtual void SetBusyCursor(bool busy) = 0;
  virtual bool BusyCursor() const = 0;
  // Lets pending events run (repaints, typed keys).
  virtual void ProcessMessages() = 0;
  // Lets repaints and timers run, but no typed key or click: a command that only
  // wants its busy cursor or status text seen must not have the user's Esc or
  // Ctrl+W close the documents it is working on.
  virtual void ShowPendingChanges() = 0;

  // ---- splash -----------------------------------------------------------------
  virtual bool SplashShowing() const = 0;
  virtual std::string SplashCaption() const = 0;  // "Reformatter" in re-formatter mode
  virtual void HideSplash() = 0;
  virtual void CloseSplash() = 0;

  // ---- the window -------------------------------------------------------------
  virtual TWindowPlacement Placement() const = 0;
  // Shows the window with the normal rectangle, then in the given show state.
  virtual void SetPlacement(const TWindowPlacement& placement) = 0;
  virtual void Minimise() = 0;
  virtual int ScreenWidth() const = 0;
  // Ends the program once the running event is over.
  virtual void Terminate() = 0;

  // ---- panels laid over the page control -----------------------------------------
  virtual void HideMarkers() = 0;
  virtual void HideSectionsBox() = 0;
  // The Sections list: its captions measured in the font that draws them, the
  // room it has, the list shown (focused, the first label highlighted), a label
  // highlighted.
  virtual int SectionTextWidth(const std::string& caption) const {
    return DefaultSectionTextWidth(caption);
  }
  virtual int PageControlWidth() const { return 800; }
  virtual int PageControlHeight() const { return 600; }
  virtual int ScreenHeight() const { return 800; }
  virtual void ShowSectionsBox(const TSectionsBox& /*box*/) {}
  virtual bool SectionsBoxShowing() const { return false; }
  virtual bool SectionsBoxFocused() const { return false; }
  virtual void HighlightSectionLabel(int /*index*/) {}
  // The paragraph viewer: a paragraph at fault, shown until Esc clears it.
  virtual void ShowParagraphView(const TParagraphView& /*view*/) {}

  // ---- what the idle pass keeps up to date ---------------------------------------
  // A window that shows none of these leaves them alone.
  virtual void SetMessageColour(TMessageColour /*colour*/) {}
  // The indicator panels: Caps Lock and Num Lock while on, " Ovr" in overwrite mode.
  virtual void SetKeyIndicators(bool /*capsLock*/, bool /*numLock*/, bool /*overwrite*/) {}
  // The state of the lock keys; false when the desktop cannot tell.
  virtual bool LockKeyState(bool& /*capsLock*/, bool& /*numLock*/) const { return false; }
  // Whether the main window is the program's active window; whether the left mouse
  // button is held down; whether the program is ending.
  virtual bool IsActiveForm() const { return true; }
  virtual bool LeftButtonDown() const { return false; }
  virtual bool Terminating() const { return false; }
  // With "Show tabs" off, the tab strip folds away while the mouse is not near it.
  virtual void FitTabStrip(bool /*showTabs*/) {}
  // Places a marker's sign beside an editor position of the current editor, in
  // front; -1 sends it behind the editor.
  virtual void PlaceMarker(int /*digit*/, long /*position*/) {}
  // The editor's caret: hidden, or made 3 pixels wide and a line high and shown.
  virtual void ShowCaret(bool /*visible*/) {}
  virtual void RedrawActiveTab() {}
  virtual void SetNoBorder(bool /*noBorder*/) {}
  // The banner over the empty page control while no document is open.
  virtual void ShowNoDocument(bool /*show*/) {}
  // Shows the current editor if it is hidden, and focuses it.
  virtual void ShowEditor() {}
  virtual void Maximise() {}
  // The width in pixels of the window's client area; 0 where no window is drawn.
  virtual int ClientWidth() const { return 0; }
  // The name the splash shows under the program's name.
  virtual void SetSplashText(const std::string& /*text*/) {}
  // Closes the main window as the user would (the exit questions run).
  virtual void CloseForm() {}
  // Close all and the exit keep the main form out of sight while the tabs close.
  virtual void ShowForm(bool /*visible*/) {}
  // Prints a job on the printer or into the PDF file of its target. "" when it was
  // printed, else why not.
  virtual std::string Print(const TPrintJob& /*job*/) { return "There is no printer."; }
  // Leaves the menu the user is in: every open menu closes and the menu bar lets
  // go of the keyboard.
  virtual void CloseMenus() {}
  // An editor of the same kind that nobody sees: the spell checker keeps a copy of
  // the checked text in it. nullptr when the window makes none.
  virtual std::unique_ptr<TMyRich> NewHiddenEditor() { return nullptr; }
};

// The installed main window; nullptr when there is none.
TMainWindow* MainWindow();
void SetMainWindow(TMainWindow* window);

}  // namespace quorrel
