#pragma once
// Keys sent to a widget as the platform delivers them: the shortcuts get their
// chance first (through the widget's shortcut override), then the key press.
#include <QApplication>
#include <QKeyEvent>
#include <QString>

// Qt's own way of offering a key to the shortcuts first (what the platform does).
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text,
                                               bool autorep, ushort count);

namespace quorrel::test {

// text: the character the key types, as the keyboard layout gives it.
inline void PressKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     const QString& text = QString()) {
  if (qt_sendShortcutOverrideEvent(target, 0, key, modifiers, text, false, 1)) return;
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(target, &release);
}

}  // namespace quorrel::test
