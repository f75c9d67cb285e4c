// Closing tags in the HTML validator's walk, and InsTag, which completes a closing
// tag that the page left out.
#include "platform/CodePage.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "validate/HtmlRun.h"
#include "validate/HtmlTagLists.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

constexpr int MissingEndTagHelp = 100700;
constexpr int TableNoRowsHelp = 100770;

// Asked once per validation; kept between the passes of one.
bool insTagAsked = false;

bool OneOf(std::string_view name, std::initializer_list<std::string_view> names) {
  for (std::string_view n : names) {
    if (name == n) return true;
  }
  return false;
}

std::string Before(const std::string& text, size_t at, size_t n) {
  const size_t from = at > n ? at - n : 0;
  return text.substr(from, at - from);
}

// The closing tags that first complete the parent's own closing tag.
bool ClosesParentFirst(std::string_view name, std::string_view parent) {
  return (name == "TABLE" &&
          OneOf(parent, {"TD", "TH", "TR", "THEAD", "TBODY", "TFOOT", "COLGROUP"})) ||
         (OneOf(name, {"SELECT", "DATALIST"}) && parent == "OPTION") ||
         (name == "TR" && OneOf(parent, {"TH", "TD"})) ||
         (OneOf(name, {"OL", "UL", "MENU", "DD"}) && parent == "LI") ||
         (name == "DL" && OneOf(parent, {"DD", "DT"}));
}

// SVG's path stands in the void list, yet SVG may close it at once: "<path
// d=...></path>". Its closing tag then stays with it: without it a browser would put
// what follows inside the path. True when the output ends with that start tag (and
// the line end after it, which then goes).
bool ClosesPathJustWritten(THtmlRun& run) {
  std::string& out = run.out;
  if (run.tag.name != "PATH") return false;
  size_t end = out.size();
  while (end > 0 && (out[end - 1] == ' ' || out[end - 1] == '\n')) --end;
  if (end == 0 || out[end - 1] != '>') return false;
  const size_t open = out.rfind('<', end - 1);
  if (open == std::string::npos || out.size() - open < 6 ||
      PosNoCase("<path", std::string_view(out).substr(open, 5)) != 1 ||
      std::string_view(" >\n").find(out[open + 5]) == std::string_view::npos) {
    return false;
  }
  out.erase(end);
  return true;
}

// The mismatch message, with the surroundings for a generated page.
std::string Mismatch(const THtmlRun& run, const THtmlLevel& level) {
  const THtmlTag& tag = run.tag;
  std::string message = "<" + level.name + "> tag (around offset " + OffsetText(level.inputOffset) +
                        ") cannot end with </" + tag.name + ">";
  if (run.dotPage) {
    message += "\r\rError detected at:\r" + RightChars(run.out, 100) + "\r" +
               Before(run.in, tag.start, 100) + run.in.substr(tag.start, tag.end - tag.start) +
               "\rfollowed by\r" +
               run.in.substr(tag.end < run.in.size() ? tag.end : run.in.size(), 100);
  }
  return message;
}

void TableChecks(THtmlRun& run) {
  if (run.tables.empty()) return;
  const THtmlTable table = run.tables.back();
  run.tables.pop_back();
  if (run.serverPage || !run.checkTab || run.viewState || run.download || run.validateAll ||
      !run.inSite) {
    return;
  }
  if (!table.rowSeen) {
    HtmlError("Table has no rows.", TableNoRowsHelp);
  } else if (!table.cellSeen) {
    if (table.rowText) {
      HtmlError("<TR> can contain only <TH> or <TD> tags, not plain text.\rLast tag was <" +
                table.textParent + ">");
    } else {
      HtmlError("Empty table row.");
    }
  }
}

}  // namespace

void ResetInsTagQuestion() {
  insTagAsked = false;
}

void HandleClosingTag(THtmlRun& run) {
  THtmlTag& tag = run.tag;
  // Names are compared by length first: most comparisons end there.
  const std::string_view name = tag.name;
  run.tagSeen = true;

  if (ClosesParentFirst(name, ParentName(run))) {
    InsTag(run);
    return;
  }
  if (tag.voidTag && ClosesPathJustWritten(run)) {
    CleanTagText(run);
    EmitTag(run);
    BreakAfterOpenTags(run);
    run.pos = tag.end;
    return;
  }
  if (tag.voidTag) {
    if (name == "P" || (run.viewState && (name == "PARAM" || name == "INPUT")) || !run.inSite) {
      // Dropped from the page. A "<" of the text before it must not meet the text
      // after it as a tag.
      MarkHtmlChanged(run);
      if (!run.out.empty() && run.out.back() == '<') run.out.replace(run.out.size() - 1, 1, "&lt;");
      run.pos = tag.end;
      return;
    }
    HtmlError(std::string(name) + " should not have a closing tag.");
    return;
  }

  if (run.stack.empty()) {
    if (name == "HTML" || name == "BODY") {
      if (!run.serverPage && !run.relaxed) {
        if (run.topTag.empty()) {
          if (run.part != PartNone) {
            HtmlError("<" + tag.text + "> has not been opened.");
            return;
          }
        } else if (run.topTag != name) {
          HtmlError("<" + run.topTag + "> tag cannot end with </" + std::string(name) + ">");
          return;
        }
      }
      if (name == "BODY") run.topTag = "HTML";
    } else if (!run.serverPage && run.part != PartNone) {
      HtmlError("<" + tag.text + "> has not been opened.");
      return;
    }
    // A block tag closes on a line of its own, whether or not it was on the stack.
    if (!tag.shortContent) BreakAfterOpenTags(run);
  } else {
    const THtmlLevel level = run.stack.back();
    run.stack.pop_back();
    const THtmlTagClass cls = ClassifyHtmlTag(level.name, run.indentAll, false);
    if (!cls.shortContent || level.broken) BreakAfterOpenTags(run);
    if (name == "LI" || name == "DD" || name == "DT" || name == "TD") DropTrailingBlank(run);
    if (name == "TR" && run.checkTab) {
      size_t end = run.out.size();
      while (end > 0 && (run.out[end - 1] == ' ' || run.out[end - 1] == '\n')) --end;
      if (EndsWithNoCase(std::string_view(run.out).substr(0, end), "<TR>")) {
        HtmlError("Nothing between <TR> and </TR>");
        return;
      }
    }
    if (!level.asp && !run.relaxed && level.name != name) {
      if ((level.name == "B" && name == "U") || (level.name == "U" && name == "B")) {
        MarkHtmlChanged(run);
        tag.text = "/" + level.name;
        tag.name = level.name;
      } else {
        HtmlError(Mismatch(run, level));
        return;
      }
    }
  }

  IndentAtLineStart(run);
  CleanTagText(run);
  EmitTag(run);
  if (!tag.inlineTag) BreakAfterOpenTags(run);

  if (name == "TABLE") TableChecks(run);
  if (name == "FORM") run.inForm = false;
  if (name == "HEAD") run.part = PartHeadClosed;
  if (name == "BODY") run.part = PartBodyClosed;
  if (name == "HTML") run.part = PartHtmlClosed;
  run.pos = tag.end;
}

void InsTag(THtmlRun& run) {
  if (!ErrMsg.empty()) ShowMsg("ERROR: ErrMsg is " + ErrMsg + " on entry to InsTag.");
  const THtmlTag current = run.tag;
  const std::string parent = ParentName(run);
  if (!insTagAsked) {
    insTagAsked = true;
    const std::string message = "</" + parent + ">" + " missing after\r" +
                                Before(run.in, current.start, 100) + "\rat offset " +
                                OffsetText(current.start);
    if (run.dotPage) {
      HtmlError(message);
      return;
    }
    if (!AskYesNoHelp(
            message + "\rDid you really mean this?\r\nClick the Help button for more information",
            MissingEndTagHelp)) {
      HtmlError("Validation terminated.");
      return;
    }
  }
  std::string& out = run.out;
  while (!out.empty() && (out.back() == ' ' || out.back() == '\n')) out.pop_back();
  MarkHtmlChanged(run);

  // The parent's closing tag, as if the page held it just before the current tag.
  THtmlTag closing;
  closing.start = closing.end = current.start;
  closing.name = parent;
  closing.text = "/" + parent;
  closing.closing = true;
  const THtmlTagClass cls = ClassifyHtmlTag(parent, run.indentAll, false);
  closing.inlineTag = cls.inlineTag;
  closing.shortContent = cls.shortContent;
  closing.voidTag = cls.voidTag;
  run.tag = closing;
  HandleClosingTag(run);
  if (HtmlFailed()) return;
  run.pos = current.start;
}

}  // namespace quorrel
