#pragma once
// The main window's keyboard hooks: FormShortCut sees every key before the menus
// do (blink stop, the Esc chain, the Sections list, copy and paste, lock keys,
// typing aids of HTML and ABC documents); MyKeyPress sees each character typed into
// the editor (indent on Enter, the smart Tab, the broken-rhythm offer). Both act on
// the current editor. Also the application's message hook (AppEvMessage) and the
// window's resize. Texts are Windows-1252 bytes.
#include <functional>

namespace quorrel {

enum class TKeyCode {
  Other,
  Enter,
  Tab,
  Escape,
  Space,
  Backspace,
  Left,
  Right,
  Up,
  Down,
  PageUp,
  PageDown,
  Home,
  End,
  Insert,
  Delete,
  CapsLock,
  NumLock,
  F5,
  C,
  V,
};

struct TKey {
  TKeyCode code = TKeyCode::Other;
  char ch = 0;  // the character the key types (Windows-1252); 0 for none
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// TWebForm.FormShortCut: true when the key was acted on and goes no further (the
// menus and the editor do not see it).
bool FormShortCut(const TKey& key);

// The form's shortcut handler as every key meets it: FormShortCut, unless a mode
// has put a handler of its own in its place for as long as it lasts.
using TShortcutHandler = std::function<bool(const TKey& key)>;
bool RunShortcutHandler(const TKey& key);
// Puts a handler in FormShortCut's place; nullptr puts FormShortCut back.
void ReplaceShortcutHandler(TShortcutHandler handler);
bool ShortcutHandlerReplaced();

// Where a key moves the highlight of the Sections list: Page Up and Home to the
// first entry, Page Down and End to the last, Up and Down by one, Left and Right by
// a column; hidden entries are skipped. -1 when the key does not move it.
int SectionKeyTarget(TKeyCode code, int highlighted, int count, int perColumn,
                     const std::function<bool(int)>& hidden);

// TWebForm.MyKeyPress: a character typed into the current editor ("\r" for Enter,
// "\t" for Tab). True when it was acted on in place of being typed.
bool MyKeyPress(char key);

// The menu item "Correcting": typing in a formatted RTF document goes in the
// correction colour (not ticked while the menu has no such item).
inline constexpr char CorrectingItem[] = "Correcting";
// Whether text typed now takes the correction colour (CorrectionColour).
bool TypingInCorrectionColour();

// TWebForm.AppEvMessage for keys: while the preview browser is the active window,
// F5 saves a modified document and builds its page again, Ctrl+Right and Ctrl+Left
// go forward and back. True when acted on.
bool AppEvKey(const TKey& key);
// A click on the editor's scroll bar: the markers hide, and a caret before the end
// of the first line goes there.
void EditorScrollBarClicked();

// TWebForm.FormResize: the player bar follows the window's size (not when the
// program was started to play a MIDI file or to find a tune); busy state until the
// idle pass.
void FormResize();

// What the keys reach in parts of the program built later; each is optional.
struct TKeyHooks {
  // Esc: a pending special state ends; a music-link or quick-deletion command is
  // cancelled; the paragraph panel hides. Each returns whether it acted.
  std::function<bool()> endSpecialState;
  std::function<bool()> cancelPendingCommand;
  std::function<bool()> hideParagraphPanel;
  // The preview browser.
  std::function<bool()> browserActive;
  std::function<void()> browserForward;
  std::function<void()> browserBack;
};
TKeyHooks& KeyHooks();

// Back to no hooks.
void ResetKeyHooks();

}  // namespace quorrel
