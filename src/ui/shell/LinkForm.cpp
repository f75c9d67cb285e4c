#include "ui/shell/LinkForm.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "platform/CodePage.h"
#include "shell/DBoxUnit.h"
#include "shell/LinkPick.h"
#include "shell/MainWindow.h"
#include "ui/platform/Colours.h"
#include "ui/platform/QtDialogs.h"
#include "ui/shell/HelpViewer.h"

namespace quorrel {

namespace {
constexpr int FormWidth = 400;
constexpr int EntryHeight = 15;
constexpr int EntryStep = 17;
constexpr int GroupLetterColour = 56320;  // green, as 0x00BBGGRR
}  // namespace

TLinkForm::TLinkForm(QWidget* parent) : QDialog(parent) {
  setObjectName("LinkForm");
  setModal(true);
  scroll_ = new QScrollArea(this);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_ = new QWidget;
  list_->setFixedWidth(FormWidth);
  scroll_->setWidget(list_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll_);
  // The hidden Cancel button of the list is Esc, which closes a dialog anyway.
}

void TLinkForm::AddEntry(const std::string& text) {
  auto* entry = new QPushButton(AnsiToQString(EscapeAmpersands(text)), list_);
  entry->setObjectName("LinkEntry");
  entry->setFlat(true);
  entry->setAutoDefault(false);
  entry->setFocusPolicy(Qt::NoFocus);
  entry->setGeometry(4, nextLinkTop_, FormWidth - 40, EntryHeight);
  QString style = "QPushButton { text-align: left; border: none; padding: 0px; }";
  if (text.size() == 1) {
    style = QString("QPushButton { text-align: left; border: none; padding: 0px; "
                    "background-color: %1; font-weight: bold; }")
                .arg(ColourFromBgr(GroupLetterColour).name());
    QFont bold = entry->font();
    bold.setBold(true);
    entry->setFont(bold);
  }
  entry->setStyleSheet(style);
  connect(entry, &QPushButton::clicked, this, [this, text] { BtnClick(text); });
  nextLinkTop_ += EntryStep;
  list_->setFixedHeight(nextLinkTop_);
}

void TLinkForm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TLinkForm::FormShow() {
  int height = nextLinkTop_;
  if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    height = std::min(height, screen->availableGeometry().height() - 60);
  }
  const int width = FormWidth + (height < nextLinkTop_ ? scroll_->verticalScrollBar()->sizeHint().width() : 0);
  setFixedSize(width, height);
  scroll_->verticalScrollBar()->setValue(0);
}

void TLinkForm::BtnClick(const std::string& text) {
  ChosenLink = text;
  accept();
}

namespace {

// The list shown modally over the main window; true when an entry was clicked.
bool ShowLinkForm(const std::string& caption, const std::vector<std::string>& entries,
                  int helpContext) {
  TLinkForm form(dynamic_cast<QWidget*>(MainWindow()));
  form.setWindowTitle(AnsiToQString(caption));
  if (helpContext != 0) SetHelpContext(&form, helpContext);
  for (const std::string& entry : entries) form.AddEntry(entry);
  return form.exec() == QDialog::Accepted;
}

}  // namespace

void InstallLinkForm() {
  SetLinkForm(ShowLinkForm);
}

bool TQtDialogs::PickList(const std::string& caption, const std::vector<std::string>& entries,
                          int helpContext, std::string& chosen) {
  if (!ShowLinkForm(caption, entries, helpContext)) return false;
  chosen = ChosenLink;
  return true;
}

}  // namespace quorrel
