// What ValidateHtml does before its walk: the page it takes, the edits and
// questions that come first, and the pages it refuses.
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "validate/HtmlPageSteps.h"
#include "validate/HtmlSteps.h"
#include "validate/ScriptDelimiters.h"
#include "validate/TextMarkers.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

constexpr int AnchorIdHelp = 20774;
constexpr int DeleteBlankLinesHelp = 101500;

// The blank-line question is asked once per program run.
bool blankLinesAsked = false;

bool FirstPassOfCall(const TPage& page) {
  return page.pass == (page.sender == "N0" ? 1 : 0);
}

std::string Around(const std::string& text, size_t at, size_t before, size_t after) {
  const size_t from = at > before ? at - before : 0;
  return text.substr(from, at - from) + "[Blank line]" +
         text.substr(at < text.size() ? at : text.size(), after);
}

// Where the first empty line outside the scripts ends (npos when there is none).
size_t FirstEmptyLine(const std::string& text) {
  size_t from = 0;
  while (true) {
    const size_t empty = text.find("\n\n", from);
    if (empty == std::string::npos) return empty;
    const size_t script = PosNoCase("<script", text, from + 1);
    if (script == 0 || script - 1 > empty) return empty + 1;
    const size_t end = PosNoCase("</script", text, script);
    if (end == 0) {
      ShowErrorAndAbort("No end of script starting at offset " + std::to_string(script - 1));
    }
    from = end;
  }
}

// "<a name=" becomes "<a id=", also where the page breaks the line (or puts more
// blanks) between the two words, as the walk will write them with one blank.
std::string AnchorNamesToIds(const std::string& text) {
  std::string result;
  size_t from = 0;
  for (size_t at = PosNoCase("<a", text); at != 0; at = PosNoCase("<a", text, at + 2)) {
    size_t name = at - 1 + 2;
    while (name < text.size() && (text[name] == ' ' || text[name] == '\n' || text[name] == '\r' ||
                                  text[name] == '\t' || text[name] == '\xA0')) {
      ++name;
    }
    if (name == at + 1 || PosNoCase("name=", std::string_view(text).substr(name, 5)) != 1) continue;
    result.append(text, from, at - 1 - from);
    result += "<a id=";
    from = name + 5;
  }
  if (from == 0) return text;
  result.append(text, from, std::string::npos);
  return result;
}

}  // namespace

bool TakeHtmlInput(THtmlRun& run, const TPage& page) {
  if (page.kind == TDocumentKind::VbScript || !CurrentEditor) return false;
  run.wasModified = CurrentEditor->Modified();
  if (FirstPassOfCall(page)) ResetInsTagQuestion();
  ScriptDelimiters();

  std::string input = page.text;
  if (IsDotPage && PosNoCase("src=\"//", input) != 0) {
    ShowErrorAndAbort("Replace src=\"// by src=\"https://");
  }
  if (input.empty()) return false;
  // A master's built page is HTML whatever the master is.
  if (!IsHtml && !IsDotPage &&
      !AskYesNo("This is not HTML or ASP.  Do you really want to reformat it as such?")) {
    return false;
  }
  run.in = input;
  run.original = std::move(input);
  return true;
}

bool LeaveNoReformatPage(const THtmlRun& run) {
  if (!HasTextMarker(TTextMarker::HtmlNoReformat, run.in)) return false;
  if (TMainWindow* window = MainWindow()) {
    window->SetStatusText(MessagePanel, std::string("  ") + NoReformatStatus);
  }
  return true;
}

void HtmlPreEdits(THtmlRun& run) {
  std::string& text = run.in;
  auto edit = [&](const std::string& edited) {
    if (edited == text) return false;
    text = edited;
    MarkHtmlChanged(run);
    return true;
  };
  // Most pages have none of these: the page is copied only when one is there.
  auto replace = [&](std::string_view find, std::string_view by) {
    if (PosNoCase(find, text) != 0) edit(ReplaceNoCase(text, find, by));
  };
  if (text.find('\t') != std::string::npos) edit(ReplaceAll(text, "\t", " ", true));
  replace("<br/>", "<br>");
  replace("<p/>", "<p>");
  // A protocol-relative source keeps the page's own security: a page served over
  // https would refuse the script or frame of an http address.
  replace("src=\"//", "src=\"https://");
  if (edit(AnchorNamesToIds(text))) {
    AskOkHelpCancel("\"<A Name=...\" replaced by \"<A Id=...\".", AnchorIdHelp);
  }
}

void AskAboutBlankLines(THtmlRun& run) {
  const std::string& text = run.in;
  if (blankLinesAsked || !run.delBlanks || IsServerPage || PosNoCase("<TextArea", text) != 0 ||
      text.find("\n\n") == std::string::npos) {
    return;
  }
  const size_t empty = FirstEmptyLine(text);
  if (empty == std::string::npos) return;
  blankLinesAsked = true;
  if (NotInSite || IsDotPage || PosNoCase("<!--", text) != 0) return;
  const std::string question =
      "Blank line at offset " + OffsetText(empty) + ":\r\r" + Around(text, empty, 200, 200) +
      "\r\rDo you want to keep blank lines?\rIf so I will change the option.";
  if (AskYesNoHelp(question, DeleteBlankLinesHelp)) {
    MainMenu().SetChecked("DelBlanks", false);
    run.delBlanks = false;
  }
}

bool AcceptHtmlPage(const THtmlRun& run) {
  std::string refusal;
  if (IsOfficeHtml) {
    refusal = "Quorrel does not handle HTML produced by Microsoft Office!";
  } else if (PosNoCase("<?php", run.in) != 0 && PosNoCase("<?xml", run.in) != 0) {
    refusal = "Quorrel does not validate or reformat PHP containing XML!";
  }
  if (refusal.empty()) return true;
  if (run.validateAll) return false;
  ShowErrorAndAbort(refusal);
}

void ResetHtmlValidator() {
  blankLinesAsked = false;
  ResetInsTagQuestion();
  ResetHtmlPageSteps();
}

namespace {
const TResetEntry resetHtmlValidator(ResetHtmlValidator);
}  // namespace

}  // namespace quorrel
