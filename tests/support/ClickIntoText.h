#pragma once
// A click of the user's into the top left of an editor's text, as on screen: it
// ends the caret's blink, which otherwise moves the caret the test puts.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QMouseEvent>

namespace quorrel::test {

inline void ClickIntoText(QAbstractScrollArea* editor) {
  QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(editor->viewport(), &click);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(editor->viewport(), &release);
}

}  // namespace quorrel::test
