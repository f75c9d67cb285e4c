#pragma once
// The main menu as data: every item's component name, caption, shortcut, help
// context, tag and state. Core reads and changes it (options are its checked
// items); the ui renders it and follows every change. Captions keep "&" for
// their accelerator. Texts are Windows-1252 bytes.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorrel {

struct TMenuItem {
  std::string name;  // component name; "" for a separator
  std::string caption;
  std::string shortcut;  // "Ctrl+F", "Shift+F4", "F3" ...; "" for none
  std::string hint;
  int helpContext = 0;
  int tag = 0;
  bool checkable = false;
  bool checked = false;
  int radioGroup = 0;  // items sharing a group number are checked one at a time
  bool visible = true;
  bool enabled = true;
  bool subMenu = false;  // holds items (possibly none yet)
  TMenuItem* parent = nullptr;
  std::vector<std::unique_ptr<TMenuItem>> items;

  bool IsSeparator() const { return name.empty() && caption == "-"; }
};

// Told of every change so that the screen can follow.
class TMenuListener {
 public:
  virtual ~TMenuListener() = default;
  virtual void ItemChanged(TMenuItem& item) = 0;
  // Items were added to or removed from a sub-menu.
  virtual void ItemsChanged(TMenuItem& subMenu) = 0;
};

// A command gets a copy of its item's fields (without sub-items), so that it may
// change the menu, even the sub-menu it was chosen from.
using TMenuHandler = std::function<void(const TMenuItem& item)>;

class TMenuModel {
 public:
  TMenuModel();

  TMenuItem& Root() { return root_; }
  TMenuItem* Find(const std::string& name);
  // The item of that name; a missing name is a program error (std::logic_error).
  TMenuItem& Item(const std::string& name);

  bool Checked(const std::string& name) { return Item(name).checked; }
  // Checking an item of a radio group unchecks the others of its group;
  // unchecking leaves the group without a checked item.
  void SetChecked(const std::string& name, bool checked);
  void SetVisible(const std::string& name, bool visible);
  void SetEnabled(const std::string& name, bool enabled);
  void SetCaption(const std::string& name, const std::string& caption);
  void SetShortcut(const std::string& name, const std::string& shortcut);
  void SetHint(const std::string& name, const std::string& hint);

  // Sub-menus filled at run time (Recent, the style items).
  TMenuItem& AddItem(const std::string& subMenu, TMenuItem item);
  void ClearItems(const std::string& subMenu);

  // The command of an item. An item without one is a command not built yet and
  // is shown disabled, unless it is a sub-menu or an option (checkable).
  void SetHandler(const std::string& name, TMenuHandler handler);
  bool HasHandler(const std::string& name) const;
  bool Available(const TMenuItem& item) const;
  // What runs for a chosen option that has no command of its own.
  void SetOptionHandler(TMenuHandler handler) { optionHandler_ = std::move(handler); }

  // Runs an item as the user's choice: an option changes its state first (a radio
  // item is checked, another option toggled), then the command runs through the
  // dispatcher with the item's name as the running command. False when nothing ran
  // or the command ended early.
  bool Click(const std::string& name);
  // Runs a sub-menu's own command as the menu opens (the File menu enables its
  // items by the current file), through the dispatcher like Click. False when the
  // sub-menu has none, or is hidden or disabled.
  bool Open(const std::string& name);
  // The items that have a command, in the order they got it.
  std::vector<std::string> HandlerNames() const;

  void SetListener(TMenuListener* listener) { listener_ = listener; }

  // Back to the menu as the program starts: the table's items and states, no commands.
  void Reset();

 private:
  TMenuHandler HandlerOf(const std::string& name) const;
  void Notify(TMenuItem& item);
  void Index(TMenuItem& item);

  TMenuItem root_;
  std::vector<std::pair<std::string, TMenuItem*>> index_;  // sorted by name
  std::vector<std::pair<std::string, TMenuHandler>> handlers_;
  TMenuHandler optionHandler_;
  TMenuListener* listener_ = nullptr;
};

// The main form's menu.
TMenuModel& MainMenu();

// One row of the menu table: depth 0 rows are the menus of the menu bar; each
// row belongs to the nearest row above it with a smaller depth.
struct TMenuRow {
  int depth;
  const char* name;
  const char* caption;
  const char* shortcut;
  int helpContext;
  int tag;
  int flags;
  int radioGroup;
};
enum TMenuRowFlags {
  kMenuSub = 1,      // a sub-menu
  kMenuCheck = 2,    // an option
  kMenuChecked = 4,  // checked at start
  kMenuHidden = 8,   // hidden at start
};
extern const TMenuRow MainMenuRows[];
extern const size_t MainMenuRowCount;

}  // namespace quorrel
