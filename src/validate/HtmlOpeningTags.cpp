// Opening tags in the HTML validator's walk: where each tag may stand, tables,
// lists, headings and forms, the parents it needs and how it is laid out.
#include <algorithm>

#include "platform/CodePage.h"
#include "shell/FastStrings.h"
#include "validate/EmailScramble.h"
#include "validate/HtmlRun.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

constexpr int NestedFormsHelp = 20776;

bool OneOf(std::string_view name, std::initializer_list<std::string_view> names) {
  for (std::string_view n : names) {
    if (name == n) return true;
  }
  return false;
}

bool IsHeading(std::string_view name) {
  return name.size() == 2 && name[0] == 'H' && name[1] >= '1' && name[1] <= '6';
}

// The next place of a pattern at or after an input index (npos when none), from
// what the last search of the same pattern found.
size_t NextNoCase(THtmlRun::TSearch& search, std::string_view pattern, const std::string& in,
                  size_t from) {
  if (!search.done || (search.at != std::string::npos && search.at < from)) {
    const size_t found = PosNoCase(pattern, in, from + 1);
    search.at = found == 0 ? std::string::npos : found - 1;
    search.done = true;
  }
  return search.at;
}

bool RemoveNoCase(std::string& text, std::string_view part) {
  const size_t at = PosNoCase(part, text);
  if (at == 0) return false;
  text.erase(at - 1, part.size());
  return true;
}

// Where a tag may stand in the frame of the page.
void PartRules(THtmlRun& run) {
  const std::string_view name = run.tag.name;
  if (run.part == PartHtml && !run.inConditional && name != "HEAD" && name != "BODY") {
    HtmlError("Only HEAD or BODY allowed under HTML - not " + std::string(name));
  } else if (name == "HEAD" && run.part != PartHtml) {
    HtmlError("Head in wrong place - must come after <HTML>.");
  } else if (name == "BODY" && run.part != PartHeadClosed) {
    HtmlError("<Body> in wrong place - must come after <Head>.");
  } else if (name == "FRAMESET" && run.part != PartHeadClosed && run.part != PartFrameset) {
    HtmlError("FrameSet in wrong place - must come after <Head> section");
  } else if ((name == "FRAME" || name == "NOFRAMES") && run.part != PartFrameset) {
    HtmlError(std::string(name) + " in wrong place - must come after <FrameSet>");
  } else if (name == "HTML" && run.tagSeen) {
    HtmlError("HTML in wrong place - must be first tag");
  } else if (name == "BASE" && run.part != PartHead) {
    HtmlError("Base tag must be in Head, not Body");
  }
}

// Headings rise by one level at most.
void HeadingLevel(THtmlRun& run) {
  const std::string_view name = run.tag.name;
  const char level = name[1];
  if (run.lastHeading == '0' && level != '1') {
    HtmlError(std::string(name) + " should not be first header.", HeadingsHelp);
  } else if (run.lastHeading != '0' && level > run.lastHeading + 1) {
    HtmlError(
        "Header level missing -\r" + std::string(name) + " tag preceded by H" + run.lastHeading,
        HeadingsHelp);
  }
  run.lastHeading = level;
}

// What a heading holds up to its end.
void HeadingText(THtmlRun& run) {
  const std::string& in = run.in;
  const size_t from = run.tag.end;
  size_t close = NextNoCase(run.headingEnd, "</H", in, from);
  if (close == std::string::npos) close = in.size();
  const size_t another = NextNoCase(run.headingStart, "<H", in, from);
  if (another < close) {
    HtmlError(in.substr(from, std::min<size_t>(40, close - from)) +
              " ...\r\rHeader is not closed before another header starts.");
    return;
  }
  if (NextNoCase(run.bold, "<B>", in, from) < close) {
    HtmlError("Don't use \"<B>\" in headers - do this in CSS.\r\r" + in.substr(from, close - from));
  }
}

// The tables' own parents, and a cell that misses its row.
void TableRules(THtmlRun& run, std::string_view& parent) {
  const std::string_view name = run.tag.name;
  if (name == "TD" && parent == "TABLE") {
    BreakAfterOpenTags(run);
    IndentAtLineStart(run);
    run.out += "<TR>";
    MarkHtmlChanged(run);
    if (run.stack.size() >= MaxOpenTags) {
      HtmlFatal("Nesting too deep at offset " + OffsetText(run.tag.start));
    }
    THtmlLevel row;
    row.name = "TR";
    row.inputOffset = run.tag.start;
    row.pendingBreak = static_cast<long>(run.out.size() - 1);
    run.stack.push_back(row);
    if (!run.tables.empty()) run.tables.back().rowSeen = true;
    parent = "TR";
    return;
  }
  if (run.serverPage) return;
  if (OneOf(parent, {"TABLE", "THEAD", "TBODY", "TFOOT"}) &&
      !OneOf(name, {"TR", "THEAD", "TBODY", "TFOOT", "CAPTION", "COL", "COLGROUP"})) {
    HtmlError(std::string(parent) + " can directly contain only " +
              "<TR>, <THead>, <TBody>, <TFoot>, <Caption>, <Col> or <ColGroup> tags, not <" +
              std::string(name) + ">.");
  } else if (parent == "TR" && !OneOf(name, {"TR", "TH", "TD"})) {
    HtmlError("<TR> can directly contain only <TH> or <TD> tags, not <" + std::string(name) +
              ">.\r\nThis may be caused by a missing \"</Table>\" tag.");
  } else if (name == "CAPTION" && parent != "TABLE") {
    HtmlError("<Caption> must come immediately after <Table>.");
  }
}

// Script and style blocks in the frame of the page.
void ScriptAndStyle(THtmlRun& run) {
  const std::string_view name = run.tag.name;
  if (name == "SCRIPT" && run.part != PartNone && run.part != PartHead && run.part != PartBody) {
    HtmlError("Script must be within Head or Body.");
  } else if (name == "STYLE" && run.part != PartHead) {
    // A style block just after the head joins it.
    std::string& out = run.out;
    for (std::string_view end :
         {std::string_view("</Head>\n"), std::string_view("</Head>\n<P />")}) {
      if (EndsWithNoCase(out, end)) {
        out.erase(out.size() - end.size());
        run.styleJoinedHead = true;
        return;
      }
    }
    HtmlError("Style must be within Head.");
  }
}

// The closing tags a new tag completes first. (A list nested in a definition is
// no reason to close it: only the next term or definition is.)
bool ClosesParentFirst(std::string_view name, std::string_view parent) {
  return (name == "TR" && OneOf(parent, {"TR", "TD", "TH"})) ||
         (name == "OPTION" && parent == "OPTION") ||
         (OneOf(name, {"TBODY", "TFOOT"}) && OneOf(parent, {"THEAD", "TBODY"})) ||
         (OneOf(name, {"TD", "TH", "LI"}) && parent == name) ||
         (OneOf(name, {"DT", "DD"}) && OneOf(parent, {"DT", "DD"}));
}

// The parents a tag needs, and what some parents may hold.
void ParentRules(THtmlRun& run, std::string_view parent) {
  const std::string_view name = run.tag.name;
  if (parent != "ASP" && parent != "ITEMTEMPLATE") {
    if ((name == "TD" || name == "TH") && parent != "TR") {
      HtmlError(std::string(parent) + " not preceded by TR but by " + std::string(name));
    } else if (name == "TR" && !OneOf(parent, {"TABLE", "THEAD", "TBODY", "TFOOT"})) {
      HtmlError(parent.empty() ? std::string("TR not preceded by Table")
                               : "TR not preceded by Table but by " + std::string(parent));
    } else if (name == "LI" && !OneOf(parent, {"OL", "UL", "MENU", "DIR", "DD"})) {
      HtmlError("LI not preceded by OL/UL/Menu/Dir/DD");
    } else if ((name == "DT" || name == "DD") && !OneOf(parent, {"DL", "DT", "DD"})) {
      HtmlError(std::string(name) + " not preceded by DL/DT/DD");
    } else if (OneOf(parent, {"OL", "UL", "MENU"}) && name != "LI") {
      HtmlError("<" + std::string(parent) + "> can directly contain only <LI> tags, not <" +
                std::string(name) + ">.");
    } else if (parent == "DL" && name != "DD" && name != "DT") {
      HtmlError("<DL> can directly contain only <DD> or <DT> tags, not <" + std::string(name) +
                ">.");
    } else if (name == "P" && OneOf(parent, {"B", "I", "U"})) {
      HtmlError("Cannot have <P> within <" + std::string(parent) + ">" +
                (run.dotPage ? "\nSee untitled.txt for exact position." : ""));
    }
    if (HtmlFailed()) return;
  }
  if (name.starts_with("HTTP")) {
    HtmlError("You cannot start an HTML tag with \"http\".");
  } else if (name.find('=') != std::string::npos) {
    HtmlError(std::string(name) + " cannot contain \"=\"");
  }
}

bool StackHolds(const THtmlRun& run, const char* name) {
  for (const THtmlLevel& level : run.stack) {
    if (level.name == name) return true;
  }
  return false;
}

// What the tag changes in the run once it is written.
void Written(THtmlRun& run) {
  const std::string_view name = run.tag.name;
  if (name == "HTML" && run.part == PartNone) run.part = PartHtml;
  if (name == "HEAD") run.part = PartHead;
  if (name == "FRAMESET") run.part = PartFrameset;
  if (name == "BODY") run.part = PartBody;
  if (name == "TABLE") run.tables.emplace_back();
  if (!run.tables.empty()) {
    if (name == "TR") run.tables.back().rowSeen = true;
    if (name == "TD" || name == "TH") run.tables.back().cellSeen = true;
  }
}

}  // namespace

void HandleOpeningTag(THtmlRun& run) {
  THtmlTag& tag = run.tag;
  // Names are compared by length first: most comparisons end there.
  const std::string nameKept = tag.name;  // the tag may be replaced by a completed one
  const std::string_view name = nameKept;
  const std::string parentKept = ParentName(run);
  std::string_view parent = parentKept;
  const bool checks = !run.serverPage;

  if (checks) {
    PartRules(run);
    if (HtmlFailed()) return;
    if (IsHeading(name) && run.checkH && run.inSite) {
      HeadingLevel(run);
      if (HtmlFailed()) return;
    }
  }
  const size_t slash = tag.text.find("</");
  if (slash != std::string::npos && name.rfind("TELERIK", 0) != 0) {
    HtmlError("\"</ found within tag body at offset " + OffsetText(tag.start + 1 + slash) + ":\r<" +
              tag.text + ">");
    return;
  }
  if (parent != "ASP" && parent != "ITEMTEMPLATE") {
    TableRules(run, parent);
    if (HtmlFailed()) return;
  }
  if (checks) {
    if (name == "A" && StackHolds(run, "A")) {
      HtmlError("Cannot have A within A.  Previous A tag:" + run.lastATag + "\rwas around offset " +
                OffsetText(run.lastAOffset));
      return;
    }
    ScriptAndStyle(run);
    if (HtmlFailed()) return;
    if (IsHeading(name)) {
      HeadingText(run);
      if (HtmlFailed()) return;
    }
  }
  if (name == "A") {
    run.lastATag = "<" + tag.text + ">";
    run.lastAOffset = tag.start;
  }
  if (name == "FORM") {
    if (checks && run.inForm) {
      HtmlError("Nested Form tags.", NestedFormsHelp);
      return;
    }
    run.inForm = true;
    if (PosNoCase("ACTION", tag.text) == 0 && !tag.serverCode) {
      tag.text += " action=\"#\"";
      MarkHtmlChanged(run);
    }
  }
  if (name == "A" && ScrambleMailtoTag(run)) {
    run.inTag = false;
    return;
  }
  if (ClosesParentFirst(name, parent)) {
    InsTag(run);
    return;
  }

  // The layout: a block tag starts a line, indented by the open levels.
  if (!tag.inlineTag && (run.serverEnd.empty() || !run.out.ends_with(run.serverEnd)))
    BreakAfterOpenTags(run);
  if (name == "BR") DropTrailingBlank(run);
  if (name == "STYLE") {
    if (!run.out.empty() && AtLineStart(run)) run.out += "  ";
  } else {
    IndentAtLineStart(run);
  }
  CleanTagText(run);
  if (checks) {
    ParentRules(run, parent);
    if (HtmlFailed()) return;
  }

  if (OneOf(name, {"SCRIPT", "STYLE", "PRE", "TEXTAREA"})) {
    if (name == "SCRIPT") {
      if (!run.html5 && !run.serverPage && PosNoCase("runat=\"server\"", tag.text) == 0 &&
          PosNoCase("TYPE", tag.text) == 0) {
        while (!tag.text.empty() && tag.text.back() == ' ') tag.text.pop_back();
        tag.text += " Type=\"text/javascript\"";
        MarkHtmlChanged(run);
      }
      if (run.html5 && RemoveNoCase(tag.text, " Type=\"text/javascript\"")) MarkHtmlChanged(run);
    }
    if (name == "STYLE" && run.html5 && RemoveNoCase(tag.text, " Type=\"text/css\"")) {
      MarkHtmlChanged(run);
    }
    run.tagSeen = true;
    HandleRawContent(run);
    return;
  }

  EmitTag(run);
  run.tagSeen = true;
  if ((name == "HTML" || name == "BODY") && run.stack.empty()) {
    run.topTag = name;
  } else if (!tag.voidTag && !tag.selfClosed) {
    PushTag(run, tag.shortContent && !tag.inlineTag);
  }
  if (!tag.shortContent && name != "BR" && name != "P") BreakAfterOpenTags(run);
  Written(run);
  run.pos = tag.end;
  // The text of an item starts right after its tag; skipping every blank (not
  // just one) leaves nothing for the next pass to take.
  if (OneOf(name, {"LI", "BR", "P", "DT", "DD"})) {
    while (run.pos < run.in.size() && (run.in[run.pos] == ' ' || run.in[run.pos] == '\t' ||
                                       run.in[run.pos] == '\xA0' || run.in[run.pos] == '\r')) {
      ++run.pos;
    }
  }
}

}  // namespace quorrel
