#include "ui/shell/ParagraphViewer.h"

#include <QTextCursor>
#include <algorithm>

#include "platform/CodePage.h"

namespace quorrel {

namespace {

constexpr int kMessagePoints = 18;
// At most this share of the window's height, so the paragraph's document stays in view.
constexpr int kMaxHeightDivisor = 3;

}  // namespace

TParagraphViewer::TParagraphViewer(QWidget* parent) : QTextEdit(parent) {
  setObjectName("ParaView");
  setReadOnly(true);
  setFocusPolicy(Qt::NoFocus);
  hide();
}

void TParagraphViewer::Show(const TParagraphView& view) {
  clear();
  QTextCursor cursor(document());
  QTextCharFormat normal;
  QTextCharFormat message;
  message.setForeground(Qt::red);
  message.setFontPointSize(kMessagePoints);
  cursor.insertText(AnsiToQString(view.message), message);
  cursor.insertText(QString::fromLatin1(ClearParagraphHint), normal);
  cursor.insertBlock();
  QTextCharFormat fault;
  fault.setForeground(Qt::red);
  fault.setFontWeight(QFont::Bold);
  std::vector<size_t> marks = view.marks;
  std::sort(marks.begin(), marks.end());
  size_t from = 0;
  for (size_t at : marks) {
    if (at < from || at >= view.paragraph.size()) continue;
    cursor.insertText(AnsiToQString(view.paragraph.substr(from, at - from)), normal);
    cursor.insertText(AnsiToQString(view.paragraph.substr(at, 1)), fault);
    from = at + 1;
  }
  cursor.insertText(AnsiToQString(view.paragraph.substr(std::min(from, view.paragraph.size()))),
                    normal);
  const int wanted = static_cast<int>(document()->size().height()) + 2 * frameWidth() + 8;
  const QWidget* window = parentWidget() ? parentWidget()->window() : nullptr;
  const int most = window ? window->height() / kMaxHeightDivisor : wanted;
  setFixedHeight(std::max(1, std::min(wanted, most)));
  show();
}

bool TParagraphViewer::Clear() {
  if (isHidden()) return false;
  clear();
  hide();
  return true;
}

}  // namespace quorrel
