#include "shell/EditorPaints.h"

#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

TEditorPaints::TEditorPaints() : editor_(CurrentEditor) {
  if (!editor_) return;
  redraw_ = editor_->Redraw();
  if (!redraw_) editor_->SetRedraw(true);
}

TEditorPaints::~TEditorPaints() {
  // The box may have closed the editor's tab: only the editor still current is touched.
  if (editor_ && editor_ == CurrentEditor && !redraw_) editor_->SetRedraw(false);
}

}  // namespace quorrel
