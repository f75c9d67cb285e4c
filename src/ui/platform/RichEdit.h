#pragma once
// The editor control of a tab on QTextEdit, with the rich-edit semantics core
// expects (see editor/MyRich.h). QTextDocument already counts one position per
// block boundary; text crosses the boundary through CodePage only.
#include <QHash>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextEdit>
#include <functional>

#include "shell/MyRich.h"

class QTimer;

namespace quorrel {

class TRichEdit : public QTextEdit, public TMyRich {
  Q_OBJECT

 public:
  explicit TRichEdit(QWidget* parent = nullptr);

  std::string GetText() const override;
  void SetText(const std::string& text) override;
  size_t TextLength() const override;
  std::string TextRange(size_t start, size_t length) const override;

  size_t SelStart() const override;
  size_t SelLength() const override;
  void Select(size_t start, size_t length) override;
  std::string SelText() const override;
  void SetSelText(const std::string& text) override;
  void ReplaceKeepingFormats(size_t start, const std::string& text) override;
  void ReplaceRanges(const std::vector<TReplacement>& replacements) override;

  size_t LineCount() const override;
  size_t LineFromChar(size_t pos) const override;
  size_t LineIndex(size_t line) const override;
  size_t LineLength(size_t line) const override;

  size_t FirstVisibleLine() const override;
  size_t VisibleLineCount() const override;
  void ScrollLines(long lines) override;
  void ScrollCaret() override;
  void ScrollToBottom() override;
  size_t FirstVisiblePos() const override;
  size_t BottomLeftPos() const override;
  size_t DisplayLinesFrom(size_t pos) const override;

  bool Modified() const override;
  void SetModified(bool modified) override;
  bool PlainText() const override { return plain_; }
  void SetPlainText(bool plain) override;
  void SetRedraw(bool on) override;
  bool Redraw() const override { return redraw_; }
  int Zoom() const override { return zoom_; }
  void SetZoom(int percent) override;
  bool WordWrap() const override;
  void SetWordWrap(bool wrap) override;
  void SetEditorFont(const std::string& name, int size, bool bold) override;
  std::string EditorFontName() const override;
  bool Overwrite() const override { return overwriteMode(); }
  void SetOverwrite(bool on) override { setOverwriteMode(on); }

  bool CanFocus() const override;
  void SetFocus() override;

  // RTF source in and out, through the RTF reader and writer.
  void SetRtfSource(const std::string& rtf) override;
  std::string GetRtfSource() const override;

  // Character and paragraph formats (RichEditFormats.cpp).
  TRtfCharFormat CharFormatAt(size_t pos) const override;
  void ChangeCharFormat(size_t start, size_t length, const TRtfFormatChange& change) override;
  void AlignParagraphs(size_t start, size_t length, TRtfAlign align) override;

  // Syntax colours as layout formats of the text's blocks: no edit of the document.
  void SetColourRuns(std::vector<TColourRun> runs) override;
  void SetEditorColour(int colour) override;
  void SetTextColour(int colour) override;
  int CharColour(size_t pos) const override;
  // One undo step for a command's edits, each shown as it is made.
  void BeginEditGroup() override;
  void EndEditGroup() override;
  // The passing highlight as an extra selection: no edit of the document.
  void CopySelection() override;
  void CutSelection() override;

  void ShowHighlight(const TColourRun& run) override;
  void ClearHighlight() override;
  // Whether a key with Ctrl or Alt belongs to one of the program's commands; the
  // control then leaves it to that command (Ctrl+X is Strike-through, not Cut).
  // Set by the main window.
  static inline std::function<bool(const QKeyEvent& key)> ProgramTakesKey;
  // Runs the command of a Ctrl key that no shortcut took, when the program
  // matches it on the character it types; true when one ran (the key is then
  // used up). Set by the main window.
  static inline std::function<bool(const QKeyEvent& key)> ProgramRunsKey;

  // Whether some blocks still wait for their colours.
  bool ColoursWaiting() const { return waitingBlocks_ > 0; }

 Q_SIGNALS:
  // A double click, after the control has selected the word under the mouse.
  void DoubleClicked();

 protected:
  bool event(QEvent* event) override;
  // A plain document hands out plain text only, with LF line ends for the
  // desktop's other programs, however the copy is made (keys, drag).
  QMimeData* createMimeDataFromSelection() const override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  // A left-button press on an editor without the focus gives it the focus first,
  // however the press arrives.
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void ApplyFont();
  // Opens the cursor's edit block, or joins the group's first one (BeginEditGroup).
  void OpenEditBlock(QTextCursor& cursor);
  int LineHeight() const;
  double BlockTop(int number) const;
  int BlockAtY(double y) const;
  size_t PosAtY(double y) const;
  void ScrollTo(double value);
  // Lines of plain text longer than a limit, in the blocks of [from, to], are
  // shown unwrapped (one line, scrolled sideways).
  void UnwrapLongLines(int from, int to);
  // Colour runs (RichEditColours.cpp). The runs follow an edit, and the blocks it
  // touched get their formats again.
  void ColoursFollowEdit(int from, int removed, int added);
  // Lays the runs over the blocks that hold the ranges (sorted [from, to]); when
  // much changed, blocks away from the view wait for the event loop.
  void FormatBlocks(const std::vector<std::pair<size_t, size_t>>& ranges);
  void FormatWaitingBlocks();
  // Whether the block's formats changed.
  bool FormatBlock(QTextBlock block);
  const QTextCharFormat& RunFormat(int colour, int background);

  bool plain_ = true;
  bool redraw_ = true;
  bool editGroup_ = false;     // edits join one undo step
  bool groupStarted_ = false;  // the group's first edit is made
  bool runsMoved_ = false;     // an edit moves the colour runs itself
  int zoom_ = 100;
  QString fontFamily_;
  int fontSize_ = 10;
  bool fontBold_ = false;
  QHash<qint64, QTextCharFormat> runFormats_;
  QTimer* colourTimer_ = nullptr;
  int waitingBlocks_ = 0;  // blocks whose formats wait
  int waitingFrom_ = 0;    // the block number where the next slice begins
};

}  // namespace quorrel
