#include "commands/ValidateCurrentFile.h"

#include <algorithm>

#include "commands/ValidateProject.h"
#include "edit/Sections.h"
#include "platform/Abort.h"
#include "platform/Paths.h"
#include "shell/ClassifyDocument.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Recolour.h"
#include "shell/RtfView.h"
#include "shell/ShellState.h"
#include "shell/Saving.h"
#include "shell/SiteState.h"
#include "shell/StatusBar.h"
#include "validate/TextMarkers.h"
#include "validate/ValUnit.h"
#include "validate/Validators.h"

namespace quorrel {

namespace {

// The re-check of a page the server window has just downloaded.
constexpr char kAfterDownload[] = "N0";

std::string BaseFolder() {
  std::string folder;
  if (CheckOnly && !SiteBaseFolder.empty()) {
    folder = SiteBaseFolder;
  } else if (EntireRun) {
    folder = CurrentFolder;
  } else if (const TDocument* document = DocumentAt(CurrentEditor ? CurrentEditor->Tag() : -1)) {
    folder = ExtractFilePath(document->FileName);
  } else {
    folder = CurrentFolder;
  }
  return ReplaceNoCase(folder, "%20", " ");
}

bool StatusSaysNoReformat() {
  TMainWindow* window = MainWindow();
  return window && window->StatusText(MessagePanel).find(NoReformatMarker) != std::string::npos;
}

bool FirstPassOfCall(const std::string& sender) {
  return ValidationPass == (sender == kAfterDownload ? 1 : 0);
}

// The editor as a pass found it: where its caret was, whether it was modified, and
// which tab was active.
struct TEditorBefore {
  TCaretToKeep caret;
  bool modified = false;
  int tab = -1;
};

TEditorBefore EditorBefore() {
  TEditorBefore before;
  if (TMainWindow* window = MainWindow()) before.tab = window->ActiveTab();
  if (!CurrentEditor) return before;
  TMyRich& editor = *CurrentEditor;
  const size_t caret = editor.SelStart();
  before.caret.line = editor.LineFromChar(caret);
  before.caret.column = caret - editor.LineIndex(before.caret.line);
  before.caret.firstVisibleLine = editor.FirstVisibleLine();
  before.modified = editor.Modified();
  return before;
}

// The same line and column, with the same first line in view, as far as the new
// text has them.
void KeepCaret(TMyRich& editor, const TCaretToKeep& caret) {
  editor.ScrollLines(static_cast<long>(caret.firstVisibleLine) -
                     static_cast<long>(editor.FirstVisibleLine()));
  const size_t line = caret.line < editor.LineCount() ? caret.line : editor.LineCount() - 1;
  const size_t column =
      caret.column < editor.LineLength(line) ? caret.column : editor.LineLength(line);
  editor.Select(editor.LineIndex(line) + column, 0);
}

[[noreturn]] void ShowValidationError(const TValidationError& error) {
  if (!error.atOffset) ShowErrorAndAbort(error.message);
  if (!error.offsetInMessage) {
    if (CurrentEditor) ScrollToPos(EditorPosOf(error.offset), false);
    if (error.helpTopic == 0) ShowErrorAndAbort(error.message);
    AskOkHelpCancel(error.message, error.helpTopic);
    Abort();
  }
  const long offset = static_cast<long>(error.offset);
  if (error.offsetFirst) RaiseAtOffset(error.message, offset + 1);
  if (error.helpTopic == 0) RaiseErrorAt(error.message, offset);
  AskOkHelpCancel(error.message + "\rat offset " + std::to_string(offset), error.helpTopic);
  RaiseErrorAt("", offset);
}

// The paragraph viewer shows the paragraph at fault, the caret goes into it and the
// command ends.
[[noreturn]] void ShowParagraph(const TParagraphView& view) {
  if (TMainWindow* window = MainWindow()) window->ShowParagraphView(view);
  if (CurrentEditor) ScrollToPos(EditorPosOf(view.offset), true);
  Abort();
}

// RTF comes back as source. Masters are only checked otherwise, but their mends
// are meant for them, so the source is written back whatever CheckOnly says.
void ApplyRtf(const std::string& source, const TPage& page, const TEditorBefore& before) {
  if (!CurrentEditor || source == page.text) return;
  TMyRich& editor = *CurrentEditor;
  SetRtfSource(source, editor);
  editor.SetModified(true);
  DocModified = true;
  GetEditorText();
  KeepCaret(editor, before.caret);
}

// Writes a pass's verdict into the editor. The document counts as modified when it
// was before or when the text changed, so that no unsaved edit is forgotten.
void Apply(const TValidation& result, const TPage& page, const TEditorBefore& before,
           TValidatorKind validator) {
  if (result.paragraph) ShowParagraph(*result.paragraph);
  if (result.text && validator == TValidatorKind::Rtf) {
    ApplyRtf(*result.text, page, before);
  } else if (result.text && CurrentEditor) {
    TMainWindow* window = MainWindow();
    // A validator that showed a report in another tab has left its page.
    if (before.tab >= 0 && window && window->ActiveTab() != before.tab) {
      window->ActivateTab(before.tab);
      PCChange();
    }
    if (*result.text != CurrentText && !CheckOnly) {
      TMyRich& editor = *CurrentEditor;
      editor.SetText(*result.text);
      editor.SetModified(!CheckOnly && (before.modified || *result.text != page.text));
      DocModified = true;
      GetEditorText();
      KeepCaret(editor, before.caret);
    }
    // A page handed on is marked only by a change of its text.
    if (result.again && result.againAs == TDocumentKind::Other) MarkDocumentChanged();
  }
  if (result.recolour) RequestRecolour(RecolourFull);
  if (result.error) ShowValidationError(*result.error);
  if (result.saveAndEnd && !CheckOnly) {
    SaveClick(NoValidateCommand);
    Abort();
  }
}

}  // namespace

// The Classic ASP checker works from the section at the caret to the next one;
// Validate all checks every file whole.
void SpanSections(TPage& page) {
  page.caret = 0;
  page.selectionLength = 0;
  if (!CurrentEditor || CurrentCommand == ValidateAllCommand) return;
  if (!SectionsBoxShowing()) SectionsClick("");
  const TSectionAt at = SectionAt(TextOffsetOf(CurrentEditor->SelStart()));
  const size_t start = at.index < 0 ? 0 : at.start;
  const size_t end = std::min(at.next, page.text.size());
  if (end <= start) return;
  page.caret = start;
  page.selectionLength = end - start;
}

TPage PageOfCurrentDocument(TValidatorKind validator, const std::string& sender) {
  TPage page;
  page.path = CurrentFileName;
  page.kind = CurrentKind();
  page.baseFolder = ValidationBaseFolder;
  page.checkOnly = CheckOnly;
  page.pass = ValidationPass;
  page.sender = sender;
  const bool rtf = validator == TValidatorKind::Rtf && CurrentEditor && !CurrentEditor->PlainText();
  if (rtf) {
    // The paragraphs checked are those of the section at the caret, selected as
    // Highlight section selects it.
    GetEditorText();
    SelSectClick();
  }
  if (CurrentEditor) {
    page.caret = TextOffsetOf(CurrentEditor->SelStart());
    page.selectionLength =
        TextOffsetOf(CurrentEditor->SelStart() + CurrentEditor->SelLength()) - page.caret;
  }
  if (rtf) {
    page.text = GetRtfSource(*CurrentEditor);
  } else if (validator == TValidatorKind::Asp) {
    // Later passes check what the HTML validator made of the page.
    page.text = FirstPassOfCall(sender) || HandOverText.empty() ? CurrentText : HandOverText;
    SpanSections(page);
  } else if (validator != TValidatorKind::Html) {
    page.text = CurrentText;
  } else if (IsContentDoc || CurrentCommand == UpdateMenuCommand || IsAsp || IsPhp ||
             !FirstPassOfCall(sender)) {
    // The re-check after a download starts at its second pass: its first pass has no
    // handed-over text of its own to read.
    page.text = HandOverText;
  } else if (IsDotPage) {
    page.text = ReplaceAll(PageBuffer, "\r\n", "\n", true);
  } else {
    page.text = CurrentText;
  }
  return page;
}

TValidation ValidateCurrentFile(const std::string& sender) {
  // A project takes its units with it.
  if (ChooseValidator() == TValidatorKind::Project && !ProjectRunning()) {
    return ValidateProject(sender);
  }
  const bool wasModified = CurrentEditor && CurrentEditor->Modified();
  ValidationPass = sender == kAfterDownload ? 1 : 0;
  CheckOnly =
      IsDotPage || IsContentDoc || CurrentCommand == UpdateMenuCommand || sender == kAfterDownload;
  BeginBusy();
  ValidationBaseFolder = BaseFolder();

  TValidation result;
  do {
    TValidatorKind validator = ChooseValidator();
    TPage page = PageOfCurrentDocument(validator, sender);
    if (result.again && result.text) page.text = *result.text;
    TEditorBefore before = EditorBefore();
    result = RunValidator(validator, page);
    if (result.passCounter) ValidationPass = *result.passCounter;
    // A validator that hands its page on (the Classic ASP checker to the HTML
    // validator) is followed by the next one within the same pass.
    if (result.again && result.againAs != TDocumentKind::Other && !result.error) {
      Apply(result, page, before, validator);
      validator = KindRow(result.againAs).validator;
      TPage next = PageOfCurrentDocument(validator, sender);
      next.kind = result.againAs;
      if (result.text) next.text = *result.text;
      page = next;
      before = EditorBefore();
      result = RunValidator(validator, page);
    }
    ++ValidationPass;
    if (IsServerPage && ValidationPass == 2) {
      // A server page gets one more pass at most, and its re-formatting alone does
      // not make it a changed document.
      result.again = false;
      Apply(result, page, before, validator);
      if (CurrentEditor) CurrentEditor->SetModified(wasModified);
    } else {
      Apply(result, page, before, validator);
    }
    ValidateAgain = result.again;
  } while (result.again && ValidationPass < MaxValidationPasses);

  if (ValidationPass >= MaxValidationPasses) {
    // Outside a site (a page in the browser cache, say) the loop is only reported.
    if (NotInSite) {
      ShowMsg(ValidationLoopMessage);
      return result;
    }
    ShowErrorAndAbort(ValidationLoopMessage);
  }
  if (result.saveWhenReformatting && StartMode == StartReformatting && CurrentEditor &&
      CurrentEditor->Modified()) {
    SaveClick(ValidateCommand);
  }
  if (StatusSaysNoReformat() || !result.status) return result;
  if (*result.status == ValidatedStatus && MainMenu().Checked("IndentPHP")) {
    ShowStatusMessage("Indenting corrected if necessary");
  } else {
    ShowStatusMessage(*result.status);
  }
  return result;
}

}  // namespace quorrel
