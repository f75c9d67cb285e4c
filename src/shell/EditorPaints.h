#pragma once
// A box shown in the middle of a command (a build's warning, a validator's
// question) leaves the editor behind it painting, whatever redraw state the
// command set; the state comes back when the box is gone.
namespace quorrel {

class TMyRich;

class TEditorPaints {
 public:
  TEditorPaints();
  ~TEditorPaints();
  TEditorPaints(const TEditorPaints&) = delete;
  TEditorPaints& operator=(const TEditorPaints&) = delete;

 private:
  TMyRich* editor_;
  bool redraw_ = true;
};

}  // namespace quorrel
