#include "editor/Closing.h"

#include <algorithm>
#include <stdexcept>

#include "editor/Documents.h"
#include "editor/MainWindow.h"
#include "editor/MyRich.h"
#include "editor/ShellState.h"
#include "platform/Paths.h"

namespace quorrel {

namespace {

// A document whose changes the close would have to ask about.
bool HoldsUnsavedChanges(const std::string& path) {
  if (!CurrentEditor || !CurrentEditor->Modified()) return false;
  if (path.compare(0, 8, "Untitled") == 0 || path == "Content") return false;
  try {
    const std::string temp = TempFolder();
    if (path.compare(0, temp.size(), temp) == 0) return false;
  } catch (const std::runtime_error&) {
  }
  return true;
}

}  // namespace

bool CloseClick(const std::string& sender) {
  TMainWindow* w = MainWindow();
  if (!w || !CurrentEditor) return true;
  const int tab = w->ActiveTab();
  if (tab < 0) return true;
  const std::string path = TabPath(tab);
  if (HoldsUnsavedChanges(path)) return false;
  const int slot = CurrentEditor->Tag();
  if (slot >= 0 && static_cast<size_t>(slot) < OpenFiles.size()) OpenFiles[slot].clear();
  if (sender.empty()) {
    CurrentEditor->SetText("");
    CurrentEditor->SetModified(false);
    DocModified = true;
    return true;
  }
  w->CloseTab(tab);
  CurrentEditor = nullptr;
  if (w->TabCount() > 0) w->ActivateTab(std::max(tab - 1, 0));
  PCChange();
  FocusEditor();
  return true;
}

bool CloseAllClick(const std::string& sender) {
  (void)sender;
  TMainWindow* w = MainWindow();
  if (!w) {
    OpenFiles.clear();
    return true;
  }
  for (int tab = w->TabCount() - 1; tab >= 0; --tab) {
    w->ActivateTab(tab);
    CurrentEditor = w->TabEditor(tab);
    CurrentFileName = TabPath(tab);
    if (!CloseClick("CloseTab")) return false;
  }
  OpenFiles.clear();
  return true;
}

}  // namespace quorrel
