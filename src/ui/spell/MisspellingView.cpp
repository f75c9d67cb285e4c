#include "ui/spell/MisspellingView.h"

#include <QContextMenuEvent>
#include <QDragLeaveEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <memory>

namespace quorrel {

TMisspellingView::TMisspellingView(QWidget* parent) : QTextEdit(parent) {
  setAcceptRichText(false);
  setUndoRedoEnabled(false);  // Undo Edit is the dialog's own button
  setTabChangesFocus(true);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(document(), &QTextDocument::contentsChange, this, [this] { ContentsChange(); });
}

void TMisspellingView::ShowLine(const QString& before, const QString& flagged, const QString& after,
                                const QTextCharFormat& lineFormat,
                                const QTextCharFormat& flaggedFormat) {
  updating_ = true;
  clear();
  setUndoRedoEnabled(false);
  flaggedFormat_ = flaggedFormat;
  QTextCursor cursor(document());
  cursor.insertText(before, lineFormat);
  start_ = cursor.position();
  cursor.insertText(flagged, flaggedFormat);
  end_ = cursor.position();
  cursor.insertText(after, lineFormat);
  cursor.setPosition(start_);
  setTextCursor(cursor);
  length_ = document()->characterCount();
  updating_ = false;
  ensureCursorVisible();
}

void TMisspellingView::ClearLine() {
  updating_ = true;
  clear();
  setUndoRedoEnabled(false);
  start_ = end_ = 0;
  length_ = document()->characterCount();
  updating_ = false;
}

QString TMisspellingView::FlaggedText() const {
  QTextCursor cursor(document());
  cursor.setPosition(start_);
  cursor.setPosition(end_, QTextCursor::KeepAnchor);
  return cursor.selectedText();
}

bool TMisspellingView::SelectionInside() const {
  const QTextCursor cursor = textCursor();
  return Inside(cursor.selectionStart(), cursor.selectionEnd());
}

void TMisspellingView::ContentsChange() {
  const int length = document()->characterCount();
  const int grown = length - length_;
  length_ = length;
  if (updating_) return;
  // The filter lets only changes inside the flagged range through, so the range
  // grows or shrinks by what the document did. (The position a change reports
  // can take in more than the change, so it is not relied on.)
  end_ = std::max(start_, end_ + grown);
  Q_EMIT FlaggedEdited();
}

void TMisspellingView::InsertFlagged(QTextCursor cursor, QString text) {
  // The flagged text is part of one line: line breaks become blanks, and one
  // that ends the text (a copied line) goes.
  const bool endsInBreak = text.endsWith('\n') || text.endsWith('\r');
  text.replace("\r\n", " ");
  for (QChar brk : {QChar('\r'), QChar('\n'), QChar(QChar::LineSeparator),
                    QChar(QChar::ParagraphSeparator), QChar('\v')}) {
    text.replace(brk, ' ');
  }
  if (endsInBreak) text.chop(1);
  cursor.insertText(text, flaggedFormat_);
  setTextCursor(cursor);
}

bool TMisspellingView::RemoveClamped(QTextCursor cursor, int caret) {
  if (!Inside(caret, caret)) return false;
  const int from = std::max(cursor.selectionStart(), start_);
  const int to = std::min(cursor.selectionEnd(), end_);
  if (from >= to) return true;
  cursor.setPosition(from);
  cursor.setPosition(to, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  setTextCursor(cursor);
  return true;
}

void TMisspellingView::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  // Return, Enter and Esc belong to the dialog's buttons.
  if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
    event->ignore();
    return;
  }
  QTextCursor cursor = textCursor();
  const int caret = cursor.position();
  const bool selection = cursor.hasSelection();

  // Deleting by words and lines: the part inside the flagged text goes.
  struct Stretch {
    QKeySequence::StandardKey key;
    QTextCursor::MoveOperation move;
  };
  const Stretch stretches[] = {
      {QKeySequence::DeleteStartOfWord, QTextCursor::PreviousWord},
      {QKeySequence::DeleteEndOfWord, QTextCursor::NextWord},
      {QKeySequence::DeleteEndOfLine, QTextCursor::EndOfBlock},
      {QKeySequence::DeleteCompleteLine, QTextCursor::EndOfBlock},
  };
  for (const Stretch& stretch : stretches) {
    if (!event->matches(stretch.key)) continue;
    if (!selection) {
      if (stretch.key == QKeySequence::DeleteCompleteLine)
        cursor.movePosition(QTextCursor::StartOfBlock);
      cursor.movePosition(stretch.move, QTextCursor::KeepAnchor);
    }
    RemoveClamped(cursor, selection ? cursor.selectionStart() : caret);
    event->accept();
    return;
  }

  bool allowed = true;
  bool inserts = false;
  if (event->matches(QKeySequence::Cut)) {
    allowed = selection && SelectionInside();
  } else if (event->matches(QKeySequence::Paste)) {
    allowed = true;  // insertFromMimeData decides
  } else if (key == Qt::Key_Backspace) {
    allowed = selection ? SelectionInside() : caret > start_ && caret <= end_;
  } else if (key == Qt::Key_Delete) {
    allowed = selection ? SelectionInside() : caret >= start_ && caret < end_;
  } else if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
    inserts = true;
    allowed = SelectionInside();
  }
  if (!allowed) {
    event->accept();
    return;
  }
  // What is typed takes the flagged text's format, even at its start.
  if (inserts) setCurrentCharFormat(flaggedFormat_);
  QTextEdit::keyPressEvent(event);
}

void TMisspellingView::inputMethodEvent(QInputMethodEvent* event) {
  const bool edits = !event->commitString().isEmpty() || !event->preeditString().isEmpty() ||
                     event->replacementLength() != 0;
  if (edits && !SelectionInside()) {
    event->ignore();
    return;
  }
  if (edits) setCurrentCharFormat(flaggedFormat_);
  QTextEdit::inputMethodEvent(event);
}

bool TMisspellingView::canInsertFromMimeData(const QMimeData* source) const {
  return source->hasText();
}

void TMisspellingView::insertFromMimeData(const QMimeData* source) {
  if (!source->hasText() || !SelectionInside()) return;
  InsertFlagged(textCursor(), source->text());
}

void TMisspellingView::dragMoveEvent(QDragMoveEvent* event) {
  QTextEdit::dragMoveEvent(event);
  const int at = cursorForPosition(event->position().toPoint()).position();
  if (!event->mimeData()->hasText() || !Inside(at, at)) {
    event->ignore();
    return;
  }
  // A copy: text dragged from the view itself stays where it was.
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void TMisspellingView::dropEvent(QDropEvent* event) {
  const int at = cursorForPosition(event->position().toPoint()).position();
  // The drop caret goes either way.
  QDragLeaveEvent leave;
  QTextEdit::dragLeaveEvent(&leave);
  if (!event->mimeData()->hasText() || !Inside(at, at)) {
    event->ignore();
    return;
  }
  QTextCursor cursor(document());
  cursor.setPosition(at);
  InsertFlagged(cursor, event->mimeData()->text());
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void TMisspellingView::contextMenuEvent(QContextMenuEvent* event) {
  std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
  const bool inside = SelectionInside();
  const bool selection = textCursor().hasSelection();
  for (QAction* action : menu->actions()) {
    const QString name = action->objectName();
    if (name == "edit-cut" || name == "edit-delete") {
      action->setEnabled(action->isEnabled() && selection && inside);
    } else if (name == "edit-paste") {
      action->setEnabled(action->isEnabled() && inside);
    }
  }
  menu->exec(event->globalPos());
}

}  // namespace quorrel
