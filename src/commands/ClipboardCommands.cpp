#include "commands/ClipboardCommands.h"

#include <algorithm>

#include "edit/PasteRtf.h"
#include "edit/PasteSteps.h"
#include "edit/EditControl.h"
#include "edit/Reparagraph.h"
#include "edit/Sections.h"
#include "edit/TextRepairs.h"
#include "edit/TwoSpaces.h"
#include "music/MidiRatio.h"
#include "platform/Abort.h"
#include "platform/Desktop.h"
#include "platform/Paths.h"
#include "platform/RtfCompose.h"
#include "platform/RtfParse.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/InsertFile.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Recolour.h"
#include "shell/RtfView.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

// The characters before the caret that tell what the paste lands in (an Href, a
// url(), a mailto:).
constexpr size_t kLookBack = 20;
// Addresses longer than this are worth a link text of their own.
constexpr size_t kShortAddress = 11;
constexpr size_t kMailtoBelow = 80;
constexpr size_t kReparagraphAbove = 60;
// How RTF codes begin, and the same with the "r" masked while they are pasted.
constexpr char kRtfCodesStart[] = "{\\rtf1";
constexpr char kRtfCodesMasked[] = "{\\?tf1";

class TBusyCursor {
 public:
  TBusyCursor() {
    if (TMainWindow* w = MainWindow()) w->SetBusyCursor(true);
  }
  ~TBusyCursor() {
    if (TMainWindow* w = MainWindow()) w->SetBusyCursor(false);
  }
};

std::string WithLfLineEnds(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

std::string TrimmedEnd(const std::string& text) {
  size_t n = text.size();
  while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ')) --n;
  return text.substr(0, n);
}

bool HasLineFeedBeforeEnd(const std::string& text) {
  const size_t lf = text.find('\n');
  return lf != std::string::npos && lf + 1 < text.size();
}

size_t CountOf(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

void CutOrCopy(bool cut) {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  if (editor->SelLength() == 0) SelSectClick();
  if (editor->SelLength() == 0) return;
  if (editor->PlainText()) {
    Desktop().SetClipboardText(WithLfLineEnds(editor->SelText()));
    if (cut) editor->SetSelText("");
  } else if (cut) {
    editor->CutSelection();
  } else {
    editor->CopySelection();
  }
  if (!cut && IsScript) {
    Desktop().SetClipboardText(
        WithLfLineEnds(TidyScriptCopy(PastedLineEnds(Desktop().ClipboardText()))));
  }
  if (cut) GetEditorText();
}

// A web address pasted into a page: a link, with the user's link text. Returns
// false when the address goes in as it is.
bool MakeWebLink(TMyRich& editor, std::string& text) {
  const std::string pasted = TrimmedEnd(text);
  const std::string address = LinkAddress(pasted);
  if (address.size() <= kShortAddress) return false;
  std::string linkText;
  if (editor.SelLength() > 0 && AskYesNo("Use this as link text?")) {
    linkText = editor.SelText();
  } else {
    linkText = DefaultLinkText(address);
    if (!UserDialogs().InputQuery("Quorrel", "Enter link text (blank out to do straight paste)",
                                  linkText, false)) {
      Abort();
    }
  }
  if (linkText.find_first_not_of(" \t\r\n") == std::string::npos) return false;
  // In a dot-command page an address as link text is shown as a section sign.
  const std::string shown =
      IsDotPage && LooksLikeDomain(linkText) ? std::string(1, '\xA7') : linkText;
  const bool newWindow = CurrentFileName.find("/html/") != std::string::npos;
  text = WebLink(address, shown, newWindow);
  return true;
}

// The rich clipboard as RTF source in the program's own layout: rendered in a
// hidden rich editor and written out again. "" when the clipboard holds no
// formatted text.
std::string RichClipboardSource() {
  const std::string offered = Desktop().ClipboardRtf();
  if (offered.empty()) return {};
  TMainWindow* w = MainWindow();
  std::unique_ptr<TMyRich> work = w ? w->NewHiddenEditor() : nullptr;
  if (!work) return ComposeRtf(ParseRtf(offered));
  work->SetRtfSource(offered);
  return work->GetRtfSource();
}

// Puts a formatted document in place of the editor's selection and selects it.
void PasteFormatted(TMyRich& editor, const TRtfDocument& pasted) {
  const size_t start = editor.SelStart();
  InsertRtfDocument(editor, pasted);
  editor.Select(start, RtfLength(pasted));
}

// Formatted text pasted into an RTF document's formatted view: kept formatted when
// it holds formatting and the user says so. Returns whether it was pasted.
bool PasteIntoRtf(TMyRich& editor, const std::string& rtf, const std::string& source) {
  std::string body = WithoutLeadingPard(rtf);
  std::string pasted = source;
  if (IsDotPage) {
    body = DotPageBody(body);
    pasted = DotPageRtf(GetRtfSource(editor), body);
  }
  if (!HoldsFormatting(body) || !AskYesNo("Keep formatted text?")) return false;
  PasteFormatted(editor, ParseRtf(pasted));
  return true;
}

void OfferRatioForTune(const std::string& text) {
  if (!IsAbc || RatioOffered || PosNoCase("MIDI RATIO", CurrentText) != 0) return;
  if (PosNoCase("<none>", text) != 0) return;
  const bool hasKey = text.compare(0, 2, "K:") == 0 || text.find("\nK:") != std::string::npos;
  if (hasKey && text.find_first_of("<>") != std::string::npos) OfferMidiRatio();
}

// What follows every paste: the document's text taken, a base tag noticed, a tune
// offered its rhythm directive, a page recoloured, the caret shown.
void AfterPaste(const std::string& text) {
  GetEditorText();
  if (PosNoCase("<Base ", text) != 0) HasBaseTag = true;
  OfferRatioForTune(text);
  if (IsHtml && !IsServerPage) RequestRecolour(RecolourText);
  ScheduleTimerRefresh();
}

}  // namespace

void EditClick() {
  TMenuModel& menu = MainMenu();
  const bool open = CurrentEditor != nullptr;
  const bool selected = open && CurrentEditor->SelLength() > 0;
  menu.SetEnabled("Cut", selected);
  menu.SetEnabled("Copy", selected);
  menu.SetEnabled("DelSel", selected);
  menu.SetEnabled("Paste", open && !Desktop().ClipboardText().empty());
  menu.SetEnabled("RePara", open);
}

void CutClick() {
  CutOrCopy(true);
}

void CopyClick() {
  CutOrCopy(false);
}

std::string PastedLineEnds(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

void PasteClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  TBusyCursor busy;
  std::string text = PastedLineEnds(Desktop().ClipboardText());
  if (text.empty()) return;
  const bool rich = Desktop().ClipboardRich();
  const size_t caret = editor->SelStart();
  const size_t lookFrom = caret > kLookBack ? caret - kLookBack : 0;
  const std::string before = editor->TextRange(lookFrom, caret - lookFrom);

  // Mail text: soft line breaks and codes.
  if (IsHtml && text.find("=\r\n") != std::string::npos &&
      AskYesNo("Reformat to remove line continuations?")) {
    text = DecodeQuotedPrintable(text);
  }
  text = ReplaceAll(PlainPunctuation(text), "&amp;", "&", true);
  if (IsHtml || ExtractFileName(CurrentFileName).rfind("Untitled", 0) == 0) {
    if (CurrentExt != ".TXT") text = ReplaceAll(text, "\r\n", "\n", true);
    text = ReplaceAll(text, "\t", "  ", true);
  }

  // RTF codes go in as text: the "?" keeps the steps below from taking them for
  // RTF, and the "r" comes back as they go in. Formatted text is taken as RTF
  // source in the program's own layout.
  const bool rtfCodes = text.compare(0, 6, kRtfCodesStart) == 0;
  std::string source;
  std::string rtf;
  if (rtfCodes) {
    text[2] = '?';
  } else if (IsHtml || !editor->PlainText()) {
    FixPseudoBlanks(text);
    if (rich) source = RichClipboardSource();
    if (!source.empty()) {
      rtf = TidyPastedRtf(source);
      const std::string code = UnicodeCodeIn(rtf);
      if (!code.empty()) ShowErrorAndAbort(UnicodeMessage(code));
    }
  }

  // A word processor's text made HTML.
  if (!rtf.empty() && IsHtml && !IsContentDoc && HasLineFeedBeforeEnd(text) &&
      AskYesNo("Convert the pasted text to HTML, keeping any bold, italic and line breaks?")) {
    text = RtfToHtml(rtf);
  }

  // Addresses become links.
  const bool pastedIntoLink = PosNoCase("Href", before) != 0 || PosNoCase("url", before) != 0;
  if ((IsHtml || IsDotPage) && !IsContentDoc && CurrentExt != ".ASCX" && !pastedIntoLink &&
      LooksLikeWebAddress(TrimmedEnd(text))) {
    MakeWebLink(*editor, text);
  }
  if (text.find('@') != std::string::npos && text.find('.') != std::string::npos &&
      PosNoCase("mailto", before) == 0 && text.size() < kMailtoBelow && text[0] != '<' &&
      AskYesNo(text + "\rGenerate mailto link?")) {
    text = MailtoLink(TrimmedEnd(text));
  }

  // Plain paragraphs marked up.
  if (!IsHtml && !IsDotPage && !rich && HasLineFeedBeforeEnd(text) &&
      text.find_first_of("<>") == std::string::npos && AskYesNo("Reformat the pasted text?")) {
    text = ReformatPastedText(text);
    if (CountOf(text, "&bull;") >= 2 && AskYesNo("Convert List to <UL>?")) {
      text = ConvertListToUl(text);
    }
  }

  // Into an RTF document's formatted view: no codes, formatting kept on request.
  if (IsRtf && !editor->PlainText()) {
    if (rtfCodes) ShowErrorAndAbort("You must switch to Raw RTF view before pasting raw RTF.");
    if (!rtf.empty() && PasteIntoRtf(*editor, rtf, source)) {
      AfterPaste(text);
      return;
    }
  }

  if (text.find("\r\n\r\n") != std::string::npos &&
      text.size() > kReparagraphAbove && !IsAbc && CurrentExt != ".VBA" && CurrentExt != ".CS" &&
      CurrentExt != ".CSS" && AskYesNo("Reparagraph?")) {
    text = ReplaceAll(text, "wrote: >", "wrote:\n>", true);
    TMainWindow* w = MainWindow();
    if (std::unique_ptr<TMyRich> work = w ? w->NewHiddenEditor() : nullptr) {
      work->SetText(text);
      Reparagraph(*work);
      text = work->GetText();
    } else {
      TTextBox box(text);
      Reparagraph(box);
      text = box.Text();
    }
  }

  if (rtfCodes) {
    const size_t masked = text.find(kRtfCodesMasked);
    if (masked != std::string::npos) text[masked + 2] = 'r';
  }
  const size_t start = editor->SelStart();
  editor->SetSelText(text);
  const size_t length = editor->SelStart() - start;
  editor->Select(start, length);
  if (!IsHtml) TwoSpacesClick();
  AfterPaste(text);
}

void InstallClipboardCommands() {
  TMenuModel& menu = MainMenu();
  menu.SetHandler("EditMenu", [](const TMenuItem&) { EditClick(); });
  menu.SetHandler("Cut", [](const TMenuItem&) { CutClick(); });
  menu.SetHandler("Copy", [](const TMenuItem&) { CopyClick(); });
  menu.SetHandler("Paste", [](const TMenuItem&) { PasteClick(); });
}

}  // namespace quorrel
