#include "shell/MenuModel.h"

#include <algorithm>
#include <stdexcept>

#include "platform/ResetRegistry.h"
#include "shell/Commands.h"

namespace quorrel {

TMenuModel::TMenuModel() {
  Reset();
}

void TMenuModel::Reset() {
  root_ = TMenuItem();
  root_.subMenu = true;
  handlers_.clear();
  optionHandler_ = nullptr;
  // Each row hangs under the nearest row above it with a smaller depth.
  std::vector<TMenuItem*> parents{&root_};
  for (size_t i = 0; i < MainMenuRowCount; ++i) {
    const TMenuRow& row = MainMenuRows[i];
    parents.resize(row.depth + 1);
    TMenuItem* parent = parents.back();
    auto item = std::make_unique<TMenuItem>();
    item->name = row.name;
    item->caption = row.caption;
    item->shortcut = row.shortcut;
    item->helpContext = row.helpContext;
    item->tag = row.tag;
    item->subMenu = (row.flags & kMenuSub) != 0;
    item->checkable = (row.flags & kMenuCheck) != 0;
    item->checked = (row.flags & kMenuChecked) != 0;
    item->visible = (row.flags & kMenuHidden) == 0;
    item->radioGroup = row.radioGroup;
    item->parent = parent;
    parents.push_back(item.get());
    parent->items.push_back(std::move(item));
  }
  index_.clear();
  Index(root_);
  std::sort(index_.begin(), index_.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
}

void TMenuModel::Index(TMenuItem& item) {
  for (auto& child : item.items) {
    if (!child->name.empty()) index_.emplace_back(child->name, child.get());
    Index(*child);
  }
}

TMenuItem* TMenuModel::Find(const std::string& name) {
  auto it =
      std::lower_bound(index_.begin(), index_.end(), name,
                       [](const auto& entry, const std::string& n) { return entry.first < n; });
  return it != index_.end() && it->first == name ? it->second : nullptr;
}

TMenuItem& TMenuModel::Item(const std::string& name) {
  TMenuItem* item = Find(name);
  if (!item) throw std::logic_error("No menu item named " + name);
  return *item;
}

void TMenuModel::Notify(TMenuItem& item) {
  if (listener_) listener_->ItemChanged(item);
}

void TMenuModel::SetChecked(const std::string& name, bool checked) {
  TMenuItem& item = Item(name);
  if (checked && item.radioGroup != 0 && item.parent) {
    for (auto& other : item.parent->items) {
      if (other.get() != &item && other->radioGroup == item.radioGroup && other->checked) {
        other->checked = false;
        Notify(*other);
      }
    }
  }
  if (item.checked == checked) return;
  item.checked = checked;
  Notify(item);
}

void TMenuModel::SetVisible(const std::string& name, bool visible) {
  TMenuItem& item = Item(name);
  if (item.visible == visible) return;
  item.visible = visible;
  Notify(item);
}

void TMenuModel::SetEnabled(const std::string& name, bool enabled) {
  TMenuItem& item = Item(name);
  if (item.enabled == enabled) return;
  item.enabled = enabled;
  Notify(item);
}

void TMenuModel::SetCaption(const std::string& name, const std::string& caption) {
  TMenuItem& item = Item(name);
  if (item.caption == caption) return;
  item.caption = caption;
  Notify(item);
}

void TMenuModel::SetShortcut(const std::string& name, const std::string& shortcut) {
  TMenuItem& item = Item(name);
  if (item.shortcut == shortcut) return;
  item.shortcut = shortcut;
  Notify(item);
}

void TMenuModel::SetHint(const std::string& name, const std::string& hint) {
  TMenuItem& item = Item(name);
  if (item.hint == hint) return;
  item.hint = hint;
  Notify(item);
}

TMenuItem& TMenuModel::AddItem(const std::string& subMenu, TMenuItem item) {
  TMenuItem& parent = Item(subMenu);
  auto child = std::make_unique<TMenuItem>(std::move(item));
  child->parent = &parent;
  TMenuItem& added = *child;
  parent.items.push_back(std::move(child));
  if (!added.name.empty()) {
    if (Find(added.name)) throw std::logic_error("Duplicate menu item " + added.name);
    auto at =
        std::lower_bound(index_.begin(), index_.end(), added.name,
                         [](const auto& entry, const std::string& n) { return entry.first < n; });
    index_.insert(at, {added.name, &added});
  }
  if (listener_) listener_->ItemsChanged(parent);
  return added;
}

void TMenuModel::ClearItems(const std::string& subMenu) {
  TMenuItem& parent = Item(subMenu);
  for (auto& child : parent.items) {
    // Dynamic items hold no sub-menus of their own.
    index_.erase(std::remove_if(index_.begin(), index_.end(),
                                [&](const auto& entry) { return entry.second == child.get(); }),
                 index_.end());
  }
  parent.items.clear();
  if (listener_) listener_->ItemsChanged(parent);
}

void TMenuModel::SetHandler(const std::string& name, TMenuHandler handler) {
  TMenuItem& item = Item(name);
  auto it = std::find_if(handlers_.begin(), handlers_.end(),
                         [&](const auto& entry) { return entry.first == name; });
  if (it != handlers_.end()) {
    it->second = std::move(handler);
  } else {
    handlers_.emplace_back(name, std::move(handler));
  }
  Notify(item);
}

bool TMenuModel::HasHandler(const std::string& name) const {
  return std::any_of(handlers_.begin(), handlers_.end(),
                     [&](const auto& entry) { return entry.first == name && entry.second; });
}

bool TMenuModel::Available(const TMenuItem& item) const {
  return item.subMenu || item.checkable || item.IsSeparator() || HasHandler(item.name);
}

bool TMenuModel::Click(const std::string& name) {
  TMenuItem* item = Find(name);
  if (!item || !item->enabled || !item->visible || item->subMenu) return false;
  if (item->checkable) SetChecked(name, item->radioGroup != 0 ? true : !item->checked);
  TMenuHandler handler = HandlerOf(name);
  if (!handler && item->checkable) handler = optionHandler_;
  if (!handler) return false;
  TMenuItem chosen;
  chosen.name = item->name;
  chosen.caption = item->caption;
  chosen.shortcut = item->shortcut;
  chosen.hint = item->hint;
  chosen.helpContext = item->helpContext;
  chosen.tag = item->tag;
  chosen.checkable = item->checkable;
  chosen.checked = item->checked;
  chosen.radioGroup = item->radioGroup;
  return RunCommand(name, [&] { handler(chosen); });
}

TMenuHandler TMenuModel::HandlerOf(const std::string& name) const {
  // The last registration counts.
  TMenuHandler handler;
  for (const auto& entry : handlers_) {
    if (entry.first == name) handler = entry.second;
  }
  return handler;
}

bool TMenuModel::Open(const std::string& name) {
  TMenuItem* item = Find(name);
  if (!item || !item->subMenu || !item->enabled || !item->visible) return false;
  TMenuHandler handler = HandlerOf(name);
  if (!handler) return false;
  TMenuItem opened;
  opened.name = item->name;
  opened.caption = item->caption;
  opened.helpContext = item->helpContext;
  opened.tag = item->tag;
  opened.subMenu = true;
  return RunCommand(name, [&] { handler(opened); });
}

std::vector<std::string> TMenuModel::HandlerNames() const {
  std::vector<std::string> names;
  for (const auto& entry : handlers_) {
    if (entry.second) names.push_back(entry.first);
  }
  return names;
}

TMenuModel& MainMenu() {
  static TMenuModel menu;
  return menu;
}

namespace {
const TResetEntry resetMainMenu([] { MainMenu().Reset(); });
}  // namespace

}  // namespace quorrel
