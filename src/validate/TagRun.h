#pragma once
// One run of the tag checker over a page: the text it corrects in place, the
// walk's place and state, and what it reads of the page, the command and the
// options once at the start. Indexes are 0-based.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace quorrel {

struct TTagRun {
  explicit TTagRun(std::string page) : text(std::move(page)) {}

  // The walk reads the page as the HTML validator put it out (LF line ends) and
  // writes the corrected page as it goes: everything before `copied` is in `out`,
  // corrected, so that an edit costs what it changes, not what follows it. A page
  // with nothing to correct is never copied. The walk only reads `text`.
  std::string text;
  std::string out;
  size_t copied = 0;
  bool edited = false;
  size_t pos = 0;  // the walk's place in `text`

  // ---- the walk's state ---------------------------------------------------------------
  bool inServer = false;    // inside a server-script block
  bool serverSeen = false;  // a server-script block was met
  bool inScript = false;    // inside a SCRIPT element
  bool inStyle = false;     // inside a STYLE element: style sheet text, taken like a script's
  bool inString = false;    // a text string is open
  char quote = '?';         // the quote that opened it
  size_t stringAt = 0;      // and where that quote stands in `text`
  long stringShift = 0;     // how far `out` stood ahead of `text` there
  bool inPre = false;       // inside a PRE element

  // ---- how the walk ended -------------------------------------------------------------
  bool stopped = false;     // at an error (shown, answered, or passed over in silence)
  size_t errorAt = 0;       // where the caret goes after an error
  size_t skipFrom = 0;      // where the current skip began
  std::string fatal;        // an error that ends the command once the page is shown
  bool endCommand = false;  // the message was shown: the command ends once the page is shown

  // ---- the page ------------------------------------------------------------------------
  bool xhtml = false;
  bool utf8 = false;       // the page declares UTF-8: its characters stand as multi-byte sequences
  bool htmlTag = false;    // the page has an <HTML> tag
  bool viewState = false;  // the page holds "__VIEWSTATE"
  bool serverPage = false;
  bool php = false;
  bool dotPage = false;
  bool inSite = true;
  bool asax = false;    // an ".ASAX" document
  bool noRefs = false;  // "NoRefs": the link and image checks leave local files alone
  std::string serverStart = "<%";
  std::string serverEnd = "%>";

  // ---- the command and the options ----------------------------------------------------------
  bool validateAll = false;
  bool serverCheck = false;  // the server window checks the page
  bool download = false;     // the server window's download re-checks the page
  bool buildAll = false;
  bool checkAmp = true;
  bool leaveAlone = false;
  bool toNDash = false;
};

// The walk from run.pos to the end of the text, or to the first error. At the end of
// the text it sets TagsPassed unless something is left open. Afterwards `out` holds
// the whole page, corrected as far as the walk went.
void TagWalk(TTagRun& run);

// Copies the page into `out` up to the index of `text` (nothing when it is there).
void CopyUpTo(TTagRun& run, size_t at);
// Replaces `length` characters of `text` at the index (not before `copied`) in `out`.
void Edit(TTagRun& run, size_t at, size_t length, std::string_view by);
// Where the index of `text` stands in `out`.
size_t OutPlace(TTagRun& run, size_t at);

// Moves the walk on by one character while it skips; false (with the run stopped at
// the skip's start) when the text ends first. A PHP page may end anywhere: there the
// run is not stopped, and the walk meets the end of the text.
bool AdvanceScan(TTagRun& run);

// Where nobody is there to read a message (the server window's check, start-up), an
// error passes the page: then true, with the run ended as passed.
bool PassInSilence(TTagRun& run);
// Shows an error of the page (in silence, and passing it, where nobody is there to
// read it); the caller decides whether the walk goes on.
void CheckerError(TTagRun& run, const std::string& message);
// The walk ends at an error at the index, with its message (none when the user's
// answer ended it, or its box was shown already).
void StopAt(TTagRun& run, size_t at, const std::string& message = "");

}  // namespace quorrel
