#pragma once
// The state of one run of the HTML validator over a page, and the steps of its
// walk. The walk copies the page (LF line ends) into a new output text while it
// checks the structure with a stack of open tags; it stops at the first error,
// which it leaves in ErrMsg (ValUnit.h) with its help context. Indexes into the
// input and the output are 0-based; messages show offsets 1-based, as the
// validators' error routines count them.
#include <cstddef>
#include <string>
#include <vector>

namespace quorrel {

// At most this many tags are open at once.
constexpr size_t MaxOpenTags = 100;

// One open tag on the stack.
struct THtmlLevel {
  std::string name;        // upper case
  size_t inputOffset = 0;  // where its "<" stands in the input
  long pendingBreak = -1;  // output index of its ">" while a line break after it is pending
  bool broken = false;     // its content went onto lines of its own
  bool asp = false;        // a server block ran inside it: any closing tag is accepted
};

// The tag being read.
struct THtmlTag {
  size_t start = 0;  // input index of its "<"
  size_t end = 0;    // input index after its ">"
  std::string name;  // upper case, without "/"
  std::string text;  // between "<" and ">", as it will be written
  bool closing = false;
  bool selfClosed = false;  // ends with "/" in an ".ASPX" or ".ASCX" page
  bool serverCode = false;  // holds a server-script delimiter: written unchanged
  bool inlineTag = false;
  bool shortContent = false;
  bool voidTag = false;
};

// What a table has held so far.
struct THtmlTable {
  bool rowSeen = false;
  bool cellSeen = false;
  bool rowText = false;
  std::string textParent;  // the open tag when text was met in a row
};

// The part of the page the walk is in: after which of the page's frame tags.
constexpr int PartNone = 0;
constexpr int PartHtml = 1;        // <HTML>
constexpr int PartHead = 2;        // <HEAD>
constexpr int PartHeadClosed = 3;  // </HEAD>
constexpr int PartFrameset = 4;    // <FRAMESET>
constexpr int PartBody = 6;        // <BODY>
constexpr int PartBodyClosed = 7;  // </BODY>
constexpr int PartHtmlClosed = 8;  // </HTML>

struct THtmlRun {
  // ---- text --------------------------------------------------------------------------
  std::string original;  // the page as the validator took it
  std::string in;        // the page
  size_t pos = 0;        // the walk's place in it
  std::string out;       // the re-formatted page so far

  // ---- the page and the command ------------------------------------------------------
  bool serverPage = false;
  bool php = false;
  bool selfClosing = false;  // ".ASPX" and ".ASCX" pages keep "/>"
  bool dotPage = false;
  bool inSite = true;
  bool validateAll = false;  // the Validate-all command runs
  bool serverCheck = false;  // the server window checks the page
  bool download = false;     // the server window's download re-checks the page
  std::string serverStart = "<%";
  std::string serverEnd = "%>";
  std::string folder;  // where included files are looked for, with "/"

  // ---- options ------------------------------------------------------------------------
  bool delBlanks = false;
  bool indentAll = false;
  bool smartQuotes = false;
  bool checkH = false;
  bool checkTab = false;

  // ---- flags of the run ------------------------------------------------------------------
  bool xhtml = false;
  bool html5 = false;
  bool utf8 = false;  // the page declares UTF-8: its multi-byte characters are written as they are
  bool inConditional = false;  // inside "<!--[if ...]>" ... "-->"
  bool inForm = false;
  bool smartQuoteOpen = false;   // the next smart quote closes
  bool relaxed = false;          // "<!-- If you can read this": closing tags are not matched
  bool viewState = false;        // the page holds "__VIEWSTATE"
  bool errorReport = false;      // the page holds "Error Report": "-->" may stand anywhere
  bool importPage = false;       // the page holds "@Import": style blocks are copied as they are
  bool styleJoinedHead = false;  // a style block took the place before "</Head>"
  char lastHeading = '0';
  std::string lastATag;  // the last A tag opened, and where
  size_t lastAOffset = 0;
  int part = PartNone;
  bool tagSeen = false;
  bool walkStarted = false;
  long errorAt = -1;    // output index of an error found after the walk (-1: the output's end)
  bool marked = false;  // the document is marked changed

  // ---- the tag stack -----------------------------------------------------------------------
  std::vector<THtmlLevel> stack;  // empty: level 0
  std::string topTag;             // the last of HTML and BODY opened at level 0
  std::vector<THtmlTable> tables;

  // ---- the editor as the validator found it ----------------------------------------------
  bool wasModified = false;

  // ---- the tag being handled ---------------------------------------------------------------
  THtmlTag tag;
  bool inTag = false;

  // Where the searches inside headings found their pattern last: positions only
  // grow, so each search goes over the text once.
  struct TSearch {
    bool done = false;
    size_t at = 0;  // std::string::npos: none from there on
  };
  TSearch headingEnd, headingStart, bold;
};

// Sets the page's flags, options and command state from the current document, the
// menu and the running command; run.in must hold the page.
void InitHtmlRun(THtmlRun& run);

// The walk over run.in from run.pos to the end of the input or the first error.
void HtmlWalk(THtmlRun& run);

// Where the text that the walk has not yet taken over begins: the current tag's "<"
// when the walk stopped inside a tag.
size_t HtmlRestStart(const THtmlRun& run);

// ---- steps of the walk, shared between its files ----------------------------------------------
// The help topic on heading levels, which the title check shares.
inline constexpr int HeadingsHelp = 100710;
// The first error of the run (a later one does not replace it).
void HtmlError(const std::string& message, int helpContext = 0);
bool HtmlFailed();
// Ends the command with the message (the errors that stop the validator at once).
[[noreturn]] void HtmlFatal(const std::string& message);
// 1-based offset of an input index, for messages.
std::string OffsetText(size_t index);

// Marks the document changed (once per run).
void MarkHtmlChanged(THtmlRun& run);
// Appends one character of text (text = true) or of a tag to the output.
void EmitCharEntity(THtmlRun& run, unsigned char c, bool text);
// How many characters a tag text takes once tidied and written with its entities
// (slash: it ends " /"; utf8: the page declares UTF-8).
size_t WrittenTagSize(const std::string& text, bool slash, bool utf8);
// Appends the current tag: "<", its text, ">".
void EmitTag(THtmlRun& run);
// Starts a new output line (unless the output is empty or already at a line start)
// and gives every open tag whose line break is pending its break.
void BreakAfterOpenTags(THtmlRun& run);
// Two blanks per open level, when the output is at a line start.
void IndentAtLineStart(THtmlRun& run);
// Tidies the current tag's text before it is written: line ends become blanks,
// doubled blanks outside quotes go, XHTML void tags and self-closed tags end " /".
void CleanTagText(THtmlRun& run);
// Pushes the current tag (after EmitTag); with pendingBreak its ">" waits for a break.
void PushTag(THtmlRun& run, bool pendingBreak);
bool AtLineStart(const THtmlRun& run);
void DropTrailingBlank(THtmlRun& run);
// The name of the parent (the top of the stack): "" at level 0, "ASP" once a server
// block ran inside it.
std::string ParentName(const THtmlRun& run);

// Reads the tag at run.pos into run.tag; false after an error.
bool ReadHtmlTag(THtmlRun& run);
void HandleClosingTag(THtmlRun& run);
void HandleOpeningTag(THtmlRun& run);
// The content of SCRIPT, STYLE, PRE and TEXTAREA, after their start tag.
void HandleRawContent(THtmlRun& run);
// Completes the parent's missing closing tag before the current tag, with the user's
// consent the first time; the walk then reads the current tag again.
void InsTag(THtmlRun& run);

// Forgets that the missing-closing-tag question was answered (each validation).
void ResetInsTagQuestion();

}  // namespace quorrel
