#include "sitebuild/Headings.h"

#include "platform/Abort.h"
#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "platform/Help.h"
#include "shell/ShellState.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/OhTable.h"
#include "sitebuild/SplitArguments.h"

namespace quorrel {

namespace {

constexpr char kNoSpace[] = "NoSpace";
constexpr char kNoBack[] = "NoBack";
constexpr char kHiddenHeading[] = "Hide";
constexpr char kLineImage[] = "<Img Src=\"images/Line.gif\" Alt=\"\" Class=Wide><Br>";
constexpr char kTopImage[] =
    "&nbsp; &nbsp;<Img Src=\"images/Top.gif\" Alt=\"Top of page\" OnClick=\"Top()\">";
constexpr char kBackButton[] =
    "<Span Class=Back><A Href=\"javascript:history.back()\"><Img Src=\"images/Pad.gif\" "
    "Width=34 Height=20 Alt=\"Back\" /></A></Span>";
// The skip link of a page with the site menu leads here.
constexpr char kContentId[] = " Id=Content";

// Whether the line after the command line starts with text (no case).
bool NextLineStarts(TBuildRun& run, std::string_view text) {
  if (PeekInput(run, 0) != '\r' || PeekInput(run, 1) != '\n') return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (AnsiUpperChar(static_cast<unsigned char>(PeekInput(run, i + 2))) !=
        AnsiUpperChar(static_cast<unsigned char>(text[i]))) {
      return false;
    }
  }
  return true;
}

std::string MainHeading(TBuildRun& run, std::string text, const std::string& id, bool noSpace,
                        bool noBack) {
  if (!IsSlides && NextLineStarts(run, ".PG")) {
    ReportBuildError(run, "Cannot have .T1 immediately followed by .PG");
  }
  if (text.empty()) text = run.PageTitle;
  if (run.SiteMenu.empty()) return "\n<H1" + id + ">" + text + "</H1>\r\n";
  std::string heading =
      "\n<H1" + std::string(kContentId) + ">" + (noBack ? "" : kBackButton) + text + "</H1><HR>";
  if (!NextLineStarts(run, "<H2")) heading += noSpace ? "<P>" : "<P><Br>";
  return heading;
}

}  // namespace

std::string AnchorFromText(const std::string& text) {
  std::string anchor;
  for (const char ch : text) {
    const char c = ch == ' ' ? '_' : ch;
    if (IsLetter(c) || IsDigit(c) || c == '_') anchor += c;
  }
  return anchor;
}

void RunHeadingCommand(TBuildRun& run, int level) {
  SplitArguments(run.CommandText);
  std::string text(TrimBlanks(SplitFields[0]));
  std::string anchor = SplitFields.size() > 1 ? std::string(TrimBlanks(SplitFields[1])) : "";
  if (text == "?") {
    ShowHelpContext(kHeadingHelp);
    Abort();
  }
  const bool noSpace = anchor == kNoSpace;
  const bool noBack = anchor == kNoBack;
  if (noSpace || noBack) {
    anchor.clear();
  } else if (anchor.find_first_of("'.|") != std::string::npos) {
    ReportBuildError(run, "Anchor must not contain \"'\" or \".\" or \"|\"\r" + anchor);
  }
  if (!anchor.empty() && anchor[0] == '*') anchor.erase(0, 1);
  const bool anchorGiven = !anchor.empty();
  // Pushed last, so read first: an open two-column table ends before the heading.
  const std::string tableEnd = CloseOhTable(run);
  const bool anchorsAsked = level == 2 ? run.T2Anchors : level == 3 && run.T3Anchors;
  if (anchorsAsked && !text.empty() && text[0] == '!') {
    if (!run.AllEntries) {
      // The link block leaves this section out: its heading and text are not shown.
      run.SuppressOutput = true;
      PushInput(run, tableEnd);
      return;
    }
    text.erase(0, 1);
  }
  if (!anchorGiven) anchor = AnchorFromText(text);
  std::string id = anchorGiven || anchorsAsked ? " Id=" + anchor : "";
  std::string heading;
  if (level == 1) {
    heading = MainHeading(run, text, anchorGiven ? id : "", noSpace, noBack);
  } else if (level == 2 && text == kHiddenHeading) {
    heading = "<H2 Class=Hidden></H2>";
  } else if (level == 2) {
    std::string extra = run.FirstT2Done ? kTopImage : "";
    if (run.PrintVersion) {
      extra += " &nbsp; <A Href=\"abc.aspx?PI=" + anchor +
               "\"><Img Src=\"images/Print.gif\" Alt=\"Print this section\"></A>";
    }
    heading = std::string(run.NoLineImage ? "" : kLineImage) + "<H2" + id + ">" + text + extra +
              "</H2>\r\n";
    run.FirstT2Done = true;
  } else {
    if (run.PrintVersion) id.clear();
    heading = "\r\n<H3" + id + ">" + text + "</H3>";
  }
  PushReadText(run, heading);
  PushInput(run, tableEnd);
}

}  // namespace quorrel
