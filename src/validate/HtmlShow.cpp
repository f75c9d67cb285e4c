#include "validate/HtmlShow.h"

#include "shell/Documents.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "validate/ValUnit.h"

namespace quorrel {

void ShowInTextTab(const std::string& text, bool backToPage) {
  TMainWindow* window = MainWindow();
  const int page = window ? window->ActiveTab() : -1;
  UseUntitledTab();
  if (!CurrentEditor) return;
  CurrentEditor->SetText(text);
  DocModified = true;
  GetEditorText();
  if (backToPage && window && page >= 0 && page != window->ActiveTab()) {
    window->ActivateTab(page);
    PCChange();
  }
}

}  // namespace quorrel
