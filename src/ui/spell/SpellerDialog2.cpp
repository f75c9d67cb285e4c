#include "ui/spell/SpellerDialog2.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>

#include "platform/CodePage.h"
#include "shell/Commands.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "spell/Languages.h"
#include "spell/SpellChecker.h"
#include "ui/platform/Colours.h"
#include "ui/spell/MisspellingView.h"

namespace quorrel {

namespace {

// The dialog's client area and the suggestion list's rows, in pixels at 96 dpi.
constexpr int kWidth = 310;
constexpr int kHeight = 262;
constexpr int kVariantHeight = 15;

// The longest word the user dictionary takes.
constexpr size_t kLongestDictionaryWord = 64;

class TFixedRowHeight : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(kVariantHeight);
    return size;
  }
};

QPushButton* MakeButton(const char* name, const QRect& place, QWidget* parent) {
  auto* button = new QPushButton(parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setGeometry(place);
  return button;
}

QFont FontOf(const std::string& name, int size, bool bold, bool italic, bool underline) {
  QFont font(QString::fromStdString(name));
  font.setPointSize(size);
  font.setBold(bold);
  font.setItalic(italic);
  font.setUnderline(underline);
  return font;
}

}  // namespace

TSpellerDialog2::TSpellerDialog2(TSpellChecker& checker, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), checker_(checker) {
  setObjectName("SpellerDialog2");
  setWindowTitle("Spelling  %s");
  setFixedSize(kWidth, kHeight);
  setFont(QFont("Arial", 8));

  // The buttons stand in a column on the right; Delete and Start take Change's place.
  const int left = 218, width = 84, height = 23, step = 26;
  auto column = [&](int row) { return QRect(left, 100 + row * step, width, height); };

  InfoMsg = new QLabel("Unknown word", this);
  InfoMsg->setObjectName("InfoMsg");
  InfoMsg->setGeometry(8, 6, 204, 16);
  Misspelling = new TMisspellingView(this);
  Misspelling->setObjectName("Misspelling");
  Misspelling->setGeometry(8, 24, 294, 70);
  Label2 = new QLabel(this);
  Label2->setObjectName("Label2");
  Label2->setGeometry(8, 98, 104, 16);
  Variants = new QListWidget(this);
  Variants->setObjectName("Variants");
  Variants->setGeometry(8, 116, 204, 139);
  Variants->setItemDelegate(new TFixedRowHeight(Variants));
  Variants->setUniformItemSizes(true);
  Label2->setBuddy(Variants);

  ChangeButton = MakeButton("ChangeButton", column(0), this);
  ChangeButton->setDefault(true);
  DelButton = MakeButton("DelButton", column(0), this);
  StartButton = MakeButton("StartButton", column(0), this);
  ChangeAllButton = MakeButton("ChangeAllButton", column(1), this);
  SkipButton = MakeButton("SkipButton", column(2), this);
  SkipAllButton = MakeButton("SkipAllButton", column(3), this);
  AddButton = MakeButton("AddButton", column(4), this);
  CancelButton = MakeButton("CancelButton", QRect(left, kHeight - 6 - height, width, height), this);
  // Undo Edit shows under the view, beside the list's label, while the user edits.
  CancelEdit = MakeButton("CancelEdit", QRect(118, 96, 94, 19), this);
  CancelEdit->hide();
  DelButton->hide();
  StartButton->hide();
  ApplyTexts();

  connect(Misspelling, &TMisspellingView::FlaggedEdited, this, [this] { EditStarted(); });
  connect(Variants, &QListWidget::currentRowChanged, this, [this] { SuggestionStates(); });
  connect(Variants, &QListWidget::itemDoubleClicked, this, [this] {
    if (ChangeButton->isEnabled()) ChangeClick();
  });
  connect(ChangeButton, &QPushButton::clicked, this, [this] { ChangeClick(); });
  connect(ChangeAllButton, &QPushButton::clicked, this, [this] { ChangeAllClick(); });
  connect(SkipButton, &QPushButton::clicked, this,
          [this] { Answer([this] { checker_.Continue(); }); });
  connect(SkipAllButton, &QPushButton::clicked, this,
          [this] { Answer([this] { checker_.IgnoreAlways(); }); });
  connect(AddButton, &QPushButton::clicked, this, [this] { Answer([this] { checker_.Add(); }); });
  connect(DelButton, &QPushButton::clicked, this,
          [this] { Answer([this] { checker_.Delete(); }); });
  connect(CancelButton, &QPushButton::clicked, this, [this] { reject(); });
  connect(CancelEdit, &QPushButton::clicked, this, [this] { UndoEditClick(); });
  connect(StartButton, &QPushButton::clicked, this, [this] { StartClick(); });
}

void TSpellerDialog2::ApplyTexts() {
  const struct {
    QWidget* widget;
    TSpellString text;
  } texts[] = {
      {Label2, ssVariants},     {DelButton, ssDelete},
      {ChangeButton, ssChange}, {ChangeAllButton, ssChangeAll},
      {SkipButton, ssSkip},     {SkipAllButton, ssSkipAll},
      {AddButton, ssAdd},       {CancelButton, ssCancel},
      {CancelEdit, ssUndoEdit}, {StartButton, ssStart},
  };
  for (const auto& entry : texts) {
    const QString text = AnsiToQString(checker_.UiString(entry.text));
    if (auto* label = qobject_cast<QLabel*>(entry.widget)) {
      label->setText(text);
    } else if (auto* button = qobject_cast<QPushButton*>(entry.widget)) {
      button->setText(text);
    }
  }
}

void TSpellerDialog2::showEvent(QShowEvent* event) {
  ApplyTexts();
  QDialog::showEvent(event);
  if (QScreen* screen = this->screen())
    move(screen->availableGeometry().center() - rect().center());
}

void TSpellerDialog2::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isVisible()) return;
  if (isActiveWindow()) {
    Activation();
  } else {
    Deactivation();
  }
}

void TSpellerDialog2::Activation() {
  InfoMsg->setEnabled(true);
}

void TSpellerDialog2::Deactivation() {
  // The user went back to the text: what the dialog shows may be out of date, so
  // it offers to start again from there.
  StartButton->show();
  StartButton->raise();
  for (QWidget* widget : std::initializer_list<QWidget*>{DelButton, ChangeButton, ChangeAllButton,
                                                         SkipButton, SkipAllButton, AddButton,
                                                         Misspelling, Variants, InfoMsg, Label2}) {
    widget->setEnabled(false);
  }
  Variants->clear();
  Misspelling->ClearLine();
}

// ---- a finding ------------------------------------------------------------------

void TSpellerDialog2::ShowFinding(const TSpellFinding& finding) {
  finding_ = finding;
  editorIsWidget_ = false;
  if (auto* editor = dynamic_cast<QWidget*>(checker_.Editor())) {
    editorIsWidget_ = true;
    editor_ = editor;
    editorName_ = editor->objectName();
    editorForm_ = editor->window();
  }
  setWindowTitle(AnsiToQString(finding.caption));
  FillView();
  if (finding.view == TSpellView::Unchanged) {
    // Buttons and message stay, but suggestions for another word never do.
    Variants->clear();
    editing_ = false;
    CancelEdit->hide();
    SuggestionStates();
  } else {
    InfoMsg->setText(AnsiToQString(finding.message));
    FillVariants();
    ShowStates();
  }
  if (isVisible()) return;
  if (finding.modal) {
    modal_ = true;
    exec();
    modal_ = false;
  } else {
    show();
    raise();
    activateWindow();
  }
}

void TSpellerDialog2::Hide() {
  hide();
}

void TSpellerDialog2::FillView() {
  const TSpellFont& font = checker_.Font;
  const TMisspellFont& flagged = checker_.MisspellFont;
  Misspelling->setFont(FontOf(font.name, font.size, font.bold, font.italic, font.underline));
  Variants->setFont(Misspelling->font());
  QTextCharFormat lineFormat;
  lineFormat.setFont(Misspelling->font());
  lineFormat.setForeground(palette().color(QPalette::WindowText));
  QTextCharFormat flaggedFormat;
  flaggedFormat.setFont(
      FontOf(flagged.MspName, font.size, flagged.MspBold, flagged.MspItalic, flagged.MspUnderline));
  flaggedFormat.setForeground(ColourFromBgr(flagged.MspColor));

  // A language of another code page is shown through its own characters; every
  // part is converted on its own, so the flagged range stays where it is.
  const TLanguage language = checker_.Language;
  const int codePage = CodePageOfLanguage(language);
  auto shown = [&](const std::string& ansi) {
    if (codePage == 1252) {
      QString text = AnsiToQString(ansi);
      text.replace(QChar('\v'), QChar(QChar::LineSeparator));
      return text;
    }
    const std::string inLanguage = AnsiToLanguage(ansi, language);
    QString text = QString::fromStdString(WideToUtf8(AnsiToWide(inLanguage, codePage)));
    // A character the language's code page lacks stays the document's own, so
    // that editing the word never writes a "?" over it.
    if (inLanguage.size() == ansi.size() && text.size() == static_cast<qsizetype>(ansi.size())) {
      for (size_t i = 0; i < ansi.size(); ++i) {
        if (inLanguage[i] == '?' && ansi[i] != '?')
          text[static_cast<qsizetype>(i)] =
              QChar(AnsiToUnicode(static_cast<unsigned char>(ansi[i])));
      }
    }
    text.replace(QChar('\v'), QChar(QChar::LineSeparator));
    return text;
  };
  const std::string& line = finding_.line;
  const size_t at = std::min(finding_.lineOffset, line.size());
  const size_t length = std::min(finding_.word.size(), line.size() - at);
  Misspelling->setEnabled(true);
  InfoMsg->setEnabled(true);
  Misspelling->ShowLine(shown(line.substr(0, at)), shown(line.substr(at, length)),
                        shown(line.substr(at + length)), lineFormat, flaggedFormat);
}

void TSpellerDialog2::FillVariants() {
  Variants->clear();
  for (const std::string& suggestion : finding_.suggestions)
    Variants->addItem(AnsiToQString(suggestion));
  if (Variants->count() > 0) Variants->setCurrentRow(0);
}

void TSpellerDialog2::ShowStates() {
  editing_ = false;
  StartButton->hide();
  CancelEdit->hide();
  const bool repeated = finding_.view == TSpellView::Repeated;
  ChangeButton->setVisible(!repeated);
  DelButton->setVisible(repeated);
  DelButton->setEnabled(repeated);
  SkipButton->show();
  SkipButton->setEnabled(true);
  // Only an unknown word goes into the dictionary or the ignore list, and only
  // one the user dictionary can hold.
  const bool dictionaryWord = finding_.view == TSpellView::Unknown &&
                              finding_.code == srUnknownInputWord &&
                              finding_.word.size() <= kLongestDictionaryWord;
  SkipAllButton->setEnabled(dictionaryWord);
  AddButton->setEnabled(dictionaryWord);
  SuggestionStates();
}

void TSpellerDialog2::SuggestionStates() {
  if (editing_) return;
  const bool selected = Variants->currentRow() >= 0;
  const TSpellView view = finding_.view;
  ChangeButton->setEnabled(selected);
  ChangeAllButton->setEnabled(
      selected && view == TSpellView::Unknown &&
      (finding_.code == srUnknownInputWord || finding_.code == srReturningChangeOnce));
  Variants->setEnabled(selected);
  Label2->setEnabled(selected);
}

void TSpellerDialog2::EditStarted() {
  editing_ = true;
  CancelEdit->show();
  ChangeButton->show();
  ChangeButton->setEnabled(true);
  ChangeAllButton->setEnabled(false);
  SkipAllButton->setEnabled(false);
  AddButton->setEnabled(false);
  DelButton->hide();
  Variants->setEnabled(false);
}

bool TSpellerDialog2::Suggestion(std::string& text) const {
  const int row = Variants->currentRow();
  if (row < 0 || row >= static_cast<int>(finding_.suggestions.size())) return false;
  text = finding_.suggestions[row];
  return true;
}

// ---- buttons ----------------------------------------------------------------------

void TSpellerDialog2::Answer(const std::function<void()>& body) {
  if (!editorIsWidget_ || editor_) {
    RunGuarded(body);
  } else {
    RunGuarded([this] { checker_.Cancel(); });
  }
  if (modal_ && isVisible()) accept();
}

void TSpellerDialog2::ChangeClick() {
  std::string replacement;
  if (editing_) {
    replacement = QStringToAnsi(Misspelling->FlaggedText());
    Answer([&] { checker_.Replace(replacement); });
  } else if (Suggestion(replacement)) {
    const bool record = finding_.code == srUnknownInputWord;
    Answer([&] { record ? checker_.ChangeOnce(replacement) : checker_.Replace(replacement); });
  }
}

void TSpellerDialog2::ChangeAllClick() {
  std::string replacement;
  if (Suggestion(replacement)) Answer([&] { checker_.ChangeAlways(replacement); });
}

void TSpellerDialog2::UndoEditClick() {
  FillView();
  FillVariants();
  ShowStates();
}

void TSpellerDialog2::StartClick() {
  StartButton->hide();
  if (!editorForm_ || editorName_.isEmpty()) return;
  auto* editor = dynamic_cast<TMyRich*>(editorForm_->findChild<QWidget*>(editorName_));
  if (!editor) return;
  RunGuarded([&] { checker_.Check(*editor); });
}

void TSpellerDialog2::reject() {
  if (checker_.Checking()) RunGuarded([this] { checker_.Cancel(); });
  // Closed by the window's close box with no check running: just goes.
  if (isVisible()) QDialog::reject();
}

namespace {

// The checker holds its dialog through this: the dialog belongs to the main window
// and goes with it, and the checker may outlive it.
class TSpellerDialogHandle : public TSpellDialog {
 public:
  explicit TSpellerDialogHandle(TSpellChecker& checker)
      : dialog_(new TSpellerDialog2(checker, dynamic_cast<QWidget*>(MainWindow()))) {}
  ~TSpellerDialogHandle() override { delete dialog_.data(); }
  void ShowFinding(const TSpellFinding& finding) override {
    if (dialog_) dialog_->ShowFinding(finding);
  }
  void Hide() override {
    if (dialog_) dialog_->Hide();
  }

 private:
  QPointer<TSpellerDialog2> dialog_;
};

}  // namespace

void InstallSpellerDialog() {
  SetSpellDialogFactory([](TSpellChecker& checker) -> std::unique_ptr<TSpellDialog> {
    return std::make_unique<TSpellerDialogHandle>(checker);
  });
}

}  // namespace quorrel
