#pragma once
// The buttons of a form's button row.
#include <QHBoxLayout>
#include <QPushButton>

namespace quorrel {

// A named button at the end of the row. Return never presses it for having the
// focus: Return belongs to the form's default button.
inline QPushButton* AddButton(QHBoxLayout* row, const char* caption, const char* name,
                              QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  row->addWidget(button);
  return button;
}

}  // namespace quorrel
