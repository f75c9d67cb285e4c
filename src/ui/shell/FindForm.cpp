#include "ui/shell/FindForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "commands/FindText.h"
#include "platform/CodePage.h"
#include "platform/Help.h"
#include "publish/SiteFileList.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/Hooks.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "ui/platform/Colours.h"
#include "ui/shell/HelpViewer.h"

namespace quorrel {

namespace {

// A ticked box (and the files panel while in use) shows pale yellow (0x00BBGGRR).
constexpr int CheckedColour = 0x8CFFFF;

QString Marked(char mark) {
  return AnsiToQString(std::string(1, mark));
}

QCheckBox* Box(const char* name, const char* caption, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setAutoFillBackground(true);
  return box;
}

QComboBox* TextBox(const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setEditable(true);
  box->setMaxVisibleItems(MaxHistory);
  box->setMaxCount(MaxHistory);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setContextMenuPolicy(Qt::CustomContextMenu);
  box->setMinimumWidth(360);
  return box;
}

}  // namespace

TFindForm::TFindForm(QWidget* parent) : QDialog(parent) {
  setObjectName("FindForm");
  setWindowTitle("Find");
  setModal(true);

  auto* findLabel = new QLabel("&Text to find", this);
  FText = TextBox("FText", this);
  findLabel->setBuddy(FText);
  RepLabel = new QLabel("&Replace by", this);
  RepLabel->setObjectName("RepLabel");
  RepText = TextBox("RepText", this);
  RepLabel->setBuddy(RepText);

  FindCase = Box("FindCase", "&Case-sensitive", this);
  FindWord = Box("FindWord", "&Whole words", this);
  Prompt = Box("Prompt", "&Prompt", this);
  Hex = Box("Hex", "&Hex", this);
  BlockRep = Box("BlockRep", "&Block replace", this);
  InSection = Box("InSection", "In &Section", this);

  FilePanel = new QFrame(this);
  FilePanel->setObjectName("FilePanel");
  FilePanel->setFrameShape(QFrame::StyledPanel);
  FilePanel->setAutoFillBackground(true);
  SF = Box("SF", "Search &Files in folder...", FilePanel);
  Root = new QLineEdit(FilePanel);
  Root->setObjectName("Root");
  FMLabel = new QLabel("File &Mask", FilePanel);
  FMLabel->setObjectName("FMLabel");
  FM = new QLineEdit(FilePanel);
  FM->setObjectName("FM");
  FMLabel->setBuddy(FM);
  SD = Box("SD", "&Include Sub-directories", FilePanel);
  SD->setChecked(true);

  OKBtn = new QPushButton("&OK", this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");
  HelpBtn = new QPushButton("&Help", this);
  HelpBtn->setObjectName("HelpBtn");
  HelpBtn->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
  Hint = new QLabel("To find the next occurrence, use [F3]", this);
  Hint->setObjectName("Hint");

  ListMenu = new QMenu(this);
  ListMenu->setObjectName("ListMenu");
  QAction* delItem = ListMenu->addAction("&Delete");
  delItem->setObjectName("DelItem");

  auto* texts = new QGridLayout;
  texts->addWidget(findLabel, 0, 0);
  texts->addWidget(FText, 0, 1);
  texts->addWidget(RepLabel, 1, 0);
  texts->addWidget(RepText, 1, 1);
  auto* options = new QGridLayout;
  options->addWidget(FindCase, 0, 0);
  options->addWidget(FindWord, 0, 1);
  options->addWidget(Prompt, 0, 2);
  options->addWidget(Hex, 1, 0);
  options->addWidget(BlockRep, 1, 1);
  options->addWidget(InSection, 1, 2);
  auto* files = new QGridLayout(FilePanel);
  files->addWidget(SF, 0, 0);
  files->addWidget(Root, 0, 1, 1, 3);
  files->addWidget(FMLabel, 1, 0);
  files->addWidget(FM, 1, 1);
  files->addWidget(SD, 1, 2, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Hint);
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  buttons->addWidget(HelpBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(texts);
  layout->addLayout(options);
  layout->addWidget(FilePanel);
  layout->addLayout(buttons);

  for (QCheckBox* box : {FindCase, FindWord, Prompt, Hex, BlockRep, InSection}) {
    connect(box, &QCheckBox::toggled, this, [this, box] { CheckBoxClick(box); });
  }
  connect(SF, &QCheckBox::toggled, this, [this] {
    CheckBoxClick(SF);
    SFClick();
  });
  connect(SD, &QCheckBox::toggled, this, [this] { CheckBoxClick(SD); });
  for (QComboBox* box : {FText, RepText}) {
    connect(box, &QComboBox::editTextChanged, this, [this, box] { TextChange(box); });
    connect(box, &QComboBox::customContextMenuRequested, this, [this, box](const QPoint& at) {
      menuBox_ = box;
      ListMenu->popup(box->mapToGlobal(at));
    });
    // Typed keys reach the box, which hands them to its line edit directly; pasted
    // and test keys may reach the line edit itself: both are watched.
    box->installEventFilter(this);
    box->lineEdit()->installEventFilter(this);
  }
  connect(delItem, &QAction::triggered, this, [this] { DelItemClick(); });
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    FTextExit();
    RepTextExit();
    accept();
  });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn, &QPushButton::clicked, this, [this] { HelpBtnClick(); });
}

bool TFindForm::Execute(const TFindRequest& request) {
  LoadFindHistories();
  setWindowTitle(AnsiToQString(request.caption));
  helpContext_ = request.helpContext;
  SetHelpContext(this, helpContext_);
  PrepareFindAnswers(request);
  FormShow(request);
  if (exec() != QDialog::Accepted) return false;
  TakeAnswers();
  return true;
}

void TFindForm::FillHistory(QComboBox* box, const std::vector<std::string>& history) {
  const QString text = box->currentText();
  changing_ = true;
  box->clear();
  for (const std::string& entry : history) box->addItem(AnsiToQString(entry));
  box->setEditText(text);
  changing_ = false;
}

void TFindForm::FormShow(const TFindRequest& request) {
  const TFindAnswers& a = FindAnswers;
  FillHistory(FText, FindHistory);
  FillHistory(RepText, ReplaceHistory);
  FText->setEditText(AnsiToQString(a.findText));
  RepText->setEditText(AnsiToQString(a.replaceText));
  FindCase->setChecked(a.caseSensitive);
  FindWord->setChecked(a.wholeWords);
  Prompt->setChecked(a.prompt);
  Hex->setChecked(a.hex);
  SF->setChecked(a.searchFiles);
  Root->setText(AnsiToQString(a.root));
  // The mask of the site file list, which the file-list form may have changed.
  FM->setText(AnsiToQString(SiteFileList.fileMask.empty() ? a.fileMask : SiteFileList.fileMask));
  SD->setChecked(a.subFolders);
  RepLabel->setVisible(request.replaceMode);
  RepText->setVisible(request.replaceMode);
  Prompt->setVisible(request.replaceMode);
  SFClick();
  BlockRep->setEnabled(a.blockRepEnabled);
  BlockRep->setChecked(a.blockRep);
  InSection->setVisible(a.inSectionVisible);
  InSection->setChecked(a.inSection);
  for (QCheckBox* box : {FindCase, FindWord, Prompt, Hex, BlockRep, InSection, SF, SD}) {
    Paint(box, box->isChecked());
  }
  FText->setFocus();
  FText->lineEdit()->selectAll();
}

void TFindForm::Paint(QWidget* widget, bool on) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window,
                   on ? ColourFromBgr(CheckedColour) : QWidget::palette().color(QPalette::Button));
  widget->setPalette(palette);
}

void TFindForm::CheckBoxClick(QCheckBox* box) {
  Paint(box, box->isChecked());
  if ((box == BlockRep || box == InSection) && box->isChecked()) SF->setChecked(false);
}

void TFindForm::SFClick() {
  const bool files = SF->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{Root, FMLabel, FM, SD}) w->setEnabled(files);
  BlockRep->setEnabled(!files && FindAnswers.blockRepEnabled);
  Paint(FilePanel, files);
  if (files) {
    BlockRep->setChecked(false);
    InSection->setChecked(false);
  }
  // The folder and mask go to the site file list; no folder means the top folder
  // of the open documents.
  const std::string root = QStringToAnsi(Root->text());
  SiteFileList.root = root.empty() ? std::string() : AddBackslash(root);
  if (SiteFileList.root.empty()) {
    GetHighest();
    SiteFileList.root = HighestFolder;
  }
  Root->setText(AnsiToQString(SiteFileList.root));
  SiteFileList.fileMask = QStringToAnsi(FM->text());
}

void TFindForm::TextChange(QComboBox* box) {
  if (changing_) return;
  // Pasted line ends and tabs show as their marks.
  const std::string text = QStringToAnsi(box->currentText());
  const std::string marked = MultiReplace(text, "\r\n|\n|\t", "\xB6|\xB6|\xBB", false);
  if (marked == text) return;
  QLineEdit* edit = box->lineEdit();
  const int cursor = edit->cursorPosition();
  const int grown = static_cast<int>(marked.size()) - static_cast<int>(text.size());
  changing_ = true;
  box->setEditText(AnsiToQString(marked));
  edit->setCursorPosition(std::max(0, cursor + grown));
  changing_ = false;
}

void TFindForm::FTextExit() {
  SFClick();
  AnyExit(FindHistory, QStringToAnsi(FText->currentText()));
  FillHistory(FText, FindHistory);
}

void TFindForm::RepTextExit() {
  if (RepText->isHidden()) return;
  AnyExit(ReplaceHistory, QStringToAnsi(RepText->currentText()));
  FillHistory(RepText, ReplaceHistory);
}

void TFindForm::DelItemClick() {
  QComboBox* box = menuBox_ ? menuBox_ : FText;
  std::vector<std::string>& history = box == FText ? FindHistory : ReplaceHistory;
  std::erase(history, QStringToAnsi(box->currentText()));
  FillHistory(box, history);
  box->setEditText(QString());
}

bool TFindForm::AnyKeyDown(QComboBox* box, int key, Qt::KeyboardModifiers modifiers) {
  if (!(modifiers & Qt::ControlModifier)) return false;
  QLineEdit* edit = box->lineEdit();
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    if (CurrentExt.find("HTM") != std::string::npos) {
      ShowMsg("Quorrel doesn't accept tabs in HTML files.\rIt converts them to spaces.");
    } else {
      edit->insert(Marked(TabMark));
    }
    return true;
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    edit->insert(Marked(LineEndMark));
    return true;
  }
  if (key == Qt::Key_S) {
    SpecialClickHook(true);
    return true;
  }
  return false;
}

bool TFindForm::eventFilter(QObject* watched, QEvent* event) {
  QComboBox* box = nullptr;
  if (watched == FText || watched == FText->lineEdit()) box = FText;
  if (watched == RepText || watched == RepText->lineEdit()) box = RepText;
  if (box && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool ours = (key->modifiers() & Qt::ControlModifier) &&
                      (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
                       key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                       key->key() == Qt::Key_S);
    if (ours && event->type() == QEvent::ShortcutOverride) {
      // Caught before the focus chain and the shortcuts take the key.
      event->accept();
      return true;
    }
    if (ours) return AnyKeyDown(box, key->key(), key->modifiers());
  }
  return QDialog::eventFilter(watched, event);
}

void TFindForm::HelpBtnClick() {
  ShowHelpContext(helpContext_);
}

void TFindForm::TakeAnswers() {
  TFindAnswers& a = FindAnswers;
  a.findText = QStringToAnsi(FText->currentText());
  a.replaceText = QStringToAnsi(RepText->currentText());
  a.caseSensitive = FindCase->isChecked();
  a.wholeWords = FindWord->isChecked();
  a.prompt = Prompt->isChecked();
  a.hex = Hex->isChecked();
  a.blockRep = BlockRep->isEnabled() && BlockRep->isChecked();
  a.inSection = !InSection->isHidden() && InSection->isChecked();
  a.searchFiles = SF->isChecked();
  a.root = QStringToAnsi(Root->text());
  a.fileMask = QStringToAnsi(FM->text());
  a.subFolders = SD->isChecked();
}

TFindForm* CreateFindForm(QWidget* owner) {
  auto* form = new TFindForm(owner);
  SetFindDialog(form);
  return form;
}

}  // namespace quorrel
