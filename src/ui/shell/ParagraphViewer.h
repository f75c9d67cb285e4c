#pragma once
// The paragraph viewer of the main window: above the documents, the message of a
// paragraph check in red 18-point type and the paragraph with the characters at
// fault in bold red. Esc clears it (through the key hooks' paragraph-panel slot).
#include <QTextEdit>

#include "shell/Page.h"

namespace quorrel {

inline constexpr char ClearParagraphHint[] = "      [Esc] to clear this message";

class TParagraphViewer : public QTextEdit {
 public:
  explicit TParagraphViewer(QWidget* parent);
  void Show(const TParagraphView& view);
  // Clears a shown viewer; false when it was not showing.
  bool Clear();
};

}  // namespace quorrel
