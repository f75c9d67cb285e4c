#pragma once
// Keys as the user types them into a widget: a press and a release each, sent
// through the application as the window system would deliver them.
#include <QApplication>
#include <QKeyEvent>
#include <QString>

namespace quorrel::test {

inline void PressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(widget, &release);
}

// Printable text, one key per character.
inline void TypeText(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    const int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode();
    PressKey(widget, key, c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, QString(c));
  }
}

}  // namespace quorrel::test
