#include "ui/shell/ViewForm.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "music/ReportView.h"
#include "platform/CodePage.h"
#include "platform/Help.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "ui/platform/FormButtons.h"

namespace quorrel {

TViewForm* ViewForm = nullptr;

namespace {

constexpr int PixelsPerLine = 16;
constexpr int MinClientWidth = 233;
constexpr int MaxClientWidth = 600;

// The height of a message laid out as the memo lays out its lines: wrapped at the
// given width, leading included.
qreal TextHeight(const QString& text, const QFont& font, const QTextOption& option,
                 qreal lineWidth) {
  QTextLayout layout(text, font);
  layout.setTextOption(option);
  qreal height = 0;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLeadingIncluded(true);
    line.setLineWidth(lineWidth);
    line.setPosition(QPointF(0, height));
    height += line.height();
  }
  layout.endLayout();
  return height;
}

class TViewFormViewer : public TReportViewer {
 public:
  void Show() override { ShowViewForm(mainForm); }
  void Close() override {
    if (ViewForm) ViewForm->close();
  }
  bool Showing() const override { return ViewForm && ViewForm->isVisible(); }

  QPointer<QWidget> mainForm;
};

}  // namespace

// Owned by the main form, so that it stays above it when a jump hands the focus
// back to the editor.
TViewForm::TViewForm(QWidget* mainForm) : QDialog(mainForm) {
  setObjectName("ViewForm");
  setWindowTitle(ReportViewerCaption);
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  // The editor keeps the focus; the list is only looked at and clicked.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setProperty("helpContext", ReportViewerHelp);
  QApplication::beep();

  ViewText = new QPlainTextEdit(this);
  ViewText->setObjectName("ViewText");
  ViewText->setReadOnly(true);
  QFont font = ViewText->font();
  font.setPixelSize(12);
  ViewText->setFont(font);
  ViewText->document()->setDocumentMargin(2);
  ViewText->viewport()->installEventFilter(this);

  BPanel = new QWidget(this);
  BPanel->setObjectName("BPanel");
  auto* buttons = new QHBoxLayout(BPanel);
  buttons->setContentsMargins(4, 4, 4, 4);
  OKBtn = AddButton(buttons, "Close", "OKBtn", BPanel);
  CopyBtn = AddButton(buttons, "&Copy", "CopyBtn", BPanel);
  HelpBtn = AddButton(buttons, "&Help", "HelpBtn", BPanel);
  HelpBtn->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
  buttons->addStretch(1);
  connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
  connect(CopyBtn, &QPushButton::clicked, this, [this] { CopyBtnClick(); });
  connect(HelpBtn, &QPushButton::clicked, this, [this] { HelpBtnClick(); });

  auto* layout = new QVBoxLayout(this);
  // The size is worked out from the messages; the buttons may be cut off rather
  // than the window grow.
  layout->setSizeConstraint(QLayout::SetNoConstraint);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ViewText, 1);
  layout->addWidget(BPanel);

  QStringList lines;
  for (const std::string& line : ReadList) lines << AnsiToQString(line);
  ViewText->setPlainText(lines.join('\n'));
  SizeAndPlace(mainForm, static_cast<int>(lines.size()));
}

TViewForm::~TViewForm() {
  if (ViewForm == this) ViewForm = nullptr;
}

void TViewForm::SizeAndPlace(QWidget* mainForm, int lineCount) {
  QScreen* screen = mainForm ? mainForm->screen() : QGuiApplication::primaryScreen();
  const QRect workArea = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const int top = std::max(0, mainForm ? mainForm->frameGeometry().top() : workArea.top());
  const int mainHeight = mainForm ? mainForm->height() : workArea.height();

  // What the memo takes round its text: its frame, the document's margins, the
  // caret at a line's end, and room for the scroll bar. The memo may show its
  // scroll bar while it is filled, before it has its size; without the room, the
  // bar would wrap a line and then stay for the line it wrapped.
  const int frame = 2 * ViewText->frameWidth();
  const int margins = 2 * static_cast<int>(std::ceil(ViewText->document()->documentMargin()));
  const int scrollBar = ViewText->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                       ViewText->verticalScrollBar());
  const int chrome = frame + margins + ViewText->cursorWidth() + scrollBar;
  const QFontMetrics metrics(ViewText->font());
  int widest = 0;
  for (QTextBlock block = ViewText->document()->begin(); block.isValid(); block = block.next()) {
    widest = std::max(widest, metrics.horizontalAdvance(block.text()));
  }
  const int width = std::clamp(widest + std::max(16, chrome), MinClientWidth, MaxClientWidth);

  // The height the messages take on screen at that width, beside the scroll bar: a
  // message wider than the widest window wraps, and its second line must show too.
  // The memo shows its last line whole only with a pixel to spare under the margins.
  const qreal lineWidth = width - frame - scrollBar - margins;
  qreal laidOut = frame + margins + 1;
  for (QTextBlock block = ViewText->document()->begin(); block.isValid(); block = block.next()) {
    laidOut += TextHeight(block.text(), ViewText->font(), ViewText->document()->defaultTextOption(),
                          lineWidth);
  }
  const int wanted = std::max(PixelsPerLine * lineCount + 6, static_cast<int>(std::ceil(laidOut))) +
                     BPanel->sizeHint().height();
  int height = mainHeight;
  if (wanted < mainHeight) {
    height = wanted;
    ViewText->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  } else {
    ViewText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  }

  resize(width, height);
  workArea_ = workArea;
  top_ = top;
  PlaceAtRightEdge();
}

void TViewForm::PlaceAtRightEdge() {
  // The frame's width is known once the window is shown.
  move(workArea_.right() + 1 - frameGeometry().width(), top_);
}

void TViewForm::ViewTextClick(int line) {
  QTextBlock block = ViewText->document()->findBlockByNumber(line);
  if (!block.isValid()) return;
  if (!ReportLineClicked(QStringToAnsi(block.text()))) return;
  // The click made this window the active one; the editor's window must take that
  // back, or its caret neither shows nor blinks and the status bar does not follow.
  auto* editor = dynamic_cast<QWidget*>(CurrentEditor);
  if (!editor || !editor->isVisible()) return;
  editor->window()->activateWindow();
  editor->setFocus(Qt::OtherFocusReason);
}

void TViewForm::OKBtnClick() {
  close();
}

void TViewForm::CopyBtnClick() {
  QApplication::clipboard()->setText(ViewText->toPlainText());
  if (TMainWindow* window = MainWindow()) {
    window->SetStatusText(MessagePanel, "  Messages copied to clipboard");
  }
}

void TViewForm::HelpBtnClick() {
  ShowHelpContext(ReportViewerHelp);
}

void TViewForm::reject() {
  close();
}

bool TViewForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ViewText->viewport() && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
      ViewTextClick(ViewText->cursorForPosition(mouse->position().toPoint()).blockNumber());
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TViewForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    HelpBtnClick();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TViewForm::closeEvent(QCloseEvent* event) {
  // Not the dialog's own handler: that would ask reject() to close it again.
  if (ViewForm == this) ViewForm = nullptr;
  event->accept();
}

TViewForm* ShowViewForm(QWidget* mainForm) {
  if (ViewForm) {
    TViewForm* old = ViewForm;
    ViewForm = nullptr;
    old->close();
  }
  ViewForm = new TViewForm(mainForm);
  ViewForm->show();
  ViewForm->PlaceAtRightEdge();
  return ViewForm;
}

void InstallViewForm(QWidget* mainForm) {
  static TViewFormViewer viewer;
  viewer.mainForm = mainForm;
  SetReportViewer(&viewer);
}

}  // namespace quorrel
