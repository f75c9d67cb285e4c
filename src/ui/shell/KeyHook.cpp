#include "ui/shell/KeyHook.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWidget>

#include "commands/KeyHooks.h"
#include "platform/CodePage.h"
#include "shell/BlinkJob.h"
#include "shell/Commands.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "ui/platform/Colours.h"
#include "ui/platform/RichEdit.h"
#include "ui/shell/RepForm.h"

namespace quorrel {

namespace {

bool ModifierOnly(int key) {
  return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
         key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_unknown;
}

TKeyCode CodeOf(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return TKeyCode::Enter;
    case Qt::Key_Tab:
      return TKeyCode::Tab;
    case Qt::Key_Escape:
      return TKeyCode::Escape;
    case Qt::Key_Space:
      return TKeyCode::Space;
    case Qt::Key_Backspace:
      return TKeyCode::Backspace;
    case Qt::Key_Left:
      return TKeyCode::Left;
    case Qt::Key_Right:
      return TKeyCode::Right;
    case Qt::Key_Up:
      return TKeyCode::Up;
    case Qt::Key_Down:
      return TKeyCode::Down;
    case Qt::Key_PageUp:
      return TKeyCode::PageUp;
    case Qt::Key_PageDown:
      return TKeyCode::PageDown;
    case Qt::Key_Home:
      return TKeyCode::Home;
    case Qt::Key_End:
      return TKeyCode::End;
    case Qt::Key_Insert:
      return TKeyCode::Insert;
    case Qt::Key_Delete:
      return TKeyCode::Delete;
    case Qt::Key_CapsLock:
      return TKeyCode::CapsLock;
    case Qt::Key_NumLock:
      return TKeyCode::NumLock;
    case Qt::Key_F5:
      return TKeyCode::F5;
    case Qt::Key_C:
      return TKeyCode::C;
    case Qt::Key_V:
      return TKeyCode::V;
    default:
      return TKeyCode::Other;
  }
}

// The editor of the current document, when the event is for it.
TRichEdit* CurrentRich(QObject* watched) {
  auto* rich = qobject_cast<TRichEdit*>(watched);
  return rich && static_cast<TMyRich*>(rich) == CurrentEditor ? rich : nullptr;
}

// A scroll bar of the current editor (inside the editor's scroll-bar container).
bool IsEditorScrollBar(QObject* watched) {
  if (!qobject_cast<QScrollBar*>(watched)) return false;
  for (QObject* up = watched->parent(); up; up = up->parent()) {
    if (CurrentRich(up)) return true;
    if (up->isWidgetType() && static_cast<QWidget*>(up)->isWindow()) break;
  }
  return false;
}

// The current editor's text area.
bool IsEditorViewport(QObject* watched) {
  return watched->parent() && CurrentRich(watched->parent()) &&
         static_cast<QWidget*>(watched) == CurrentRich(watched->parent())->viewport();
}

}  // namespace

TKeyHook::TKeyHook(QWidget* form) : QObject(form), form_(form) {
  qApp->installEventFilter(this);
}

TKeyHook::~TKeyHook() {
  if (qApp) qApp->removeEventFilter(this);
}

TKey TKeyHook::KeyOf(const QKeyEvent& event) {
  TKey key;
  key.code = CodeOf(event.key());
  key.shift = event.modifiers().testFlag(Qt::ShiftModifier);
  key.ctrl = event.modifiers().testFlag(Qt::ControlModifier);
  key.alt = event.modifiers().testFlag(Qt::AltModifier);
  if (key.code == TKeyCode::Enter) {
    key.ch = '\r';
  } else if (key.code == TKeyCode::Tab) {
    key.ch = '\t';
  } else if (event.text().size() == 1) {
    const std::string ansi = QStringToAnsi(event.text());
    if (ansi.size() == 1) key.ch = ansi[0];
  }
  return key;
}

bool TKeyHook::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Shortcut:
      // A menu's shortcut took the key: no key press follows.
      pending_.valid = false;
      return false;
    case QEvent::MouseButtonPress:
      if (IsEditorScrollBar(watched)) RunGuarded(EditorScrollBarClicked);
      [[fallthrough]];
    case QEvent::Wheel:
      // The mouse in the editor ends a blink: the caret stays where the user puts it.
      if (IsEditorViewport(watched)) BlinkHold = true;
      return false;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
      // Each key once: at the widget that has the focus, not again as it travels
      // to the widget's parents.
      auto& key = static_cast<QKeyEvent&>(*event);
      // The press of a key the program acted on is dropped wherever it arrives: a
      // command's dialog may have moved the focus away meanwhile, and the editor
      // must not act on the key a second time (Ctrl+V pasting over the link that
      // Paste made).
      if (event->type() == QEvent::KeyPress && pending_.valid && pending_.handled &&
          pending_.key == key.key() && pending_.modifiers == static_cast<int>(key.modifiers()) &&
          pending_.timestamp == key.timestamp()) {
        pending_ = {};
        return true;
      }
      if (watched != QApplication::focusObject()) return false;
      if (ModifierOnly(key.key())) return false;
      // A menu, pop-up or the replace prompt that has the keyboard takes Escape for
      // itself (it closes, or answers Cancel), and nothing else acts on it.
      if (key.key() == Qt::Key_Escape &&
          (QApplication::activePopupWidget() || qobject_cast<TRepForm*>(watched))) {
        return false;
      }
      return event->type() == QEvent::ShortcutOverride ? ShortcutOverride(key)
                                                       : KeyPress(watched, key);
    }
    default:
      return false;
  }
}

bool TKeyHook::ShortcutOverride(QKeyEvent& event) {
  // The same key asked about again (Qt asks twice for some shifted keys): it was
  // acted on once already.
  if (pending_.valid && pending_.handled && pending_.key == event.key() &&
      pending_.modifiers == static_cast<int>(event.modifiers()) &&
      pending_.timestamp == event.timestamp()) {
    event.accept();
    return true;
  }
  pending_ = {};
  bool handled = false;
  const TKey key = KeyOf(event);
  RunGuarded([&] { handled = AppEvKey(key); });
  if (!handled) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != form_) return false;
    RunGuarded([&] { handled = RunShortcutHandler(key); });
  }
  pending_.valid = true;
  pending_.key = event.key();
  pending_.modifiers = static_cast<int>(event.modifiers());
  pending_.timestamp = event.timestamp();
  pending_.handled = handled;
  if (!handled) return false;
  // Accepted: no menu takes the key; its key press comes and is dropped.
  event.accept();
  return true;
}

bool TKeyHook::KeyPress(QObject* watched, QKeyEvent& event) {
  const bool seen = pending_.valid && pending_.key == event.key() &&
                    pending_.modifiers == static_cast<int>(event.modifiers()) &&
                    pending_.timestamp == event.timestamp();
  const bool handledBefore = pending_.handled;
  pending_ = {};
  if (seen) {
    if (handledBefore) return true;
  } else {
    // Sent without a shortcut override first: the hooks see it now.
    bool handled = false;
    const TKey key = KeyOf(event);
    RunGuarded([&] { handled = AppEvKey(key); });
    QWidget* focus = QApplication::focusWidget();
    if (!handled && focus && focus->window() == form_) {
      RunGuarded([&] { handled = RunShortcutHandler(key); });
    }
    if (handled) return true;
  }
  TRichEdit* rich = CurrentRich(watched);
  if (!rich) return false;
  const TKey key = KeyOf(event);
  if (key.ch == 0 || key.ctrl || key.alt) return false;
  bool handled = false;
  RunGuarded([&] { handled = MyKeyPress(key.ch); });
  if (!handled && TypingInCorrectionColour()) {
    rich->setTextColor(ColourFromBgr(CorrectionColour));
  }
  return handled;
}

}  // namespace quorrel
