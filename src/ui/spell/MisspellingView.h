#pragma once
// The line that holds a finding, in the spelling dialog. Only the flagged text
// can be changed: every way of editing (keys, paste, drop, the input method)
// goes through a filter that lets a change through only inside it, and the
// flagged range follows what the user types there.
#include <QTextCharFormat>
#include <QTextEdit>

namespace quorrel {

class TMisspellingView : public QTextEdit {
  Q_OBJECT

 public:
  explicit TMisspellingView(QWidget* parent = nullptr);

  // Shows before + flagged + after, the flagged part in its own format, the caret
  // at its start and nothing selected. Not an edit: FlaggedEdited stays quiet.
  void ShowLine(const QString& before, const QString& flagged, const QString& after,
                const QTextCharFormat& lineFormat, const QTextCharFormat& flaggedFormat);
  void ClearLine();

  // The flagged range as it stands, in the view's positions.
  int FlaggedStart() const { return start_; }
  int FlaggedEnd() const { return end_; }
  QString FlaggedText() const;

 Q_SIGNALS:
  // The user changed the flagged text.
  void FlaggedEdited();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // Whether [from, to) lies inside the flagged range.
  bool Inside(int from, int to) const { return from >= start_ && to <= end_ && from <= to; }
  bool SelectionInside() const;
  // Inserts text at the cursor in the flagged format, on one line.
  void InsertFlagged(QTextCursor cursor, QString text);
  // Removes the cursor's selection after clamping it to the flagged range; false
  // when the caret is outside the range.
  bool RemoveClamped(QTextCursor cursor, int caret);
  void ContentsChange();

  int start_ = 0;
  int end_ = 0;
  int length_ = 1;  // the document's characters, as last seen
  bool updating_ = false;
  QTextCharFormat flaggedFormat_;
};

}  // namespace quorrel
