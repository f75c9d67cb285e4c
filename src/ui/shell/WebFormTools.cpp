// The main form's tool bar and the keys its editors leave to the menu.
#include <QAction>
#include <QKeyEvent>
#include <QToolBar>
#include <QToolButton>

#include "shell/MenuModel.h"
#include "ui/platform/RichEdit.h"
#include "ui/shell/WebForm.h"

namespace quorrel {

void TWebForm::BuildToolBar() {
  auto* bar = addToolBar(QStringLiteral("Tools"));
  bar->setObjectName("ToolBar");
  bar->setMovable(false);
  struct Button {
    const char* name;
    const char* item;
    const char* caption;
    const char* hint;
  };
  const Button buttons[] = {
      {"BoldBtn", "Bold", "B", "Bold"},
      {"ItalBtn", "Italic", "I", "Italic"},
      {"NormBtn", "Normal", "N", "Normal"},
  };
  for (const Button& b : buttons) {
    auto* button = new QToolButton(bar);
    button->setObjectName(b.name);
    button->setText(QString::fromLatin1(b.caption));
    button->setToolTip(QString::fromLatin1(b.hint));
    button->setFocusPolicy(Qt::NoFocus);
    QFont font = button->font();
    font.setBold(b.caption[0] == 'B');
    font.setItalic(b.caption[0] == 'I');
    button->setFont(font);
    const std::string item = b.item;
    connect(button, &QToolButton::clicked, this, [this, item] { Choose(item); });
    bar->addWidget(button);
  }
  TRichEdit::ProgramTakesKey = [this](const QKeyEvent& key) { return MenuTakesKey(key); };
  TRichEdit::ProgramRunsKey = [this](const QKeyEvent& key) {
    QAction* action = ActionOfKeyText(key);
    if (action) action->trigger();
    return action != nullptr;
  };
}

bool TWebForm::MenuTakesKey(const QKeyEvent& key) const {
  const QKeySequence pressed(key.keyCombination());
  for (const auto& [name, action] : actions_) {
    if (action->isEnabled() && action->shortcuts().contains(pressed)) {
      return true;
    }
  }
  return ActionOfKeyText(key) != nullptr;
}

QAction* TWebForm::ActionOfKeyText(const QKeyEvent& key) const {
  if ((key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != Qt::ControlModifier) {
    return nullptr;
  }
  const QString text = key.text();
  if (text != QStringLiteral("'") && text != QStringLiteral(".")) return nullptr;
  const QKeySequence wanted(QStringLiteral("Ctrl+") + text);
  for (const auto& [name, action] : actions_) {
    if (action->isEnabled() && action->shortcut() == wanted) return action;
  }
  return nullptr;
}

}  // namespace quorrel
