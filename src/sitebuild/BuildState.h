#pragma once
// The state of one page-building run. Every field is reset when a run starts and
// lives until it ends; nothing of a run survives into the next.
#include <cstddef>
#include <string>

namespace quorrel {

// A page holds at most this many bytes; one more stops the build.
inline constexpr size_t kMaxPageBytes = 999'998;
// Characters the push-back stack holds at most.
inline constexpr size_t kPushBackCapacity = 12'000;
// Characters the main loop reads at most in one run.
inline constexpr long kMaxBuildRounds = 100'000'000;
// Characters of the source line kept for messages.
inline constexpr size_t kCurrentLineLength = 100;

// Block modes of the text being read.
inline constexpr int kBlockNormal = 0;
inline constexpr int kBlockLines = 1;      // line ends kept
inline constexpr int kBlockMonospace = 2;  // line ends kept, in a monospace division
inline constexpr int kBlockCode = 3;
inline constexpr int kBlockScript = 9;

struct TBuildRun {
  bool BuildRunning = false;
  bool OneSection = false;
  std::string PageName;
  std::string PageTitle;
  std::string PageExt = ".htm";
  std::string TopMenu;
  bool PrintVersion = false;  // T2 headings get print links
  int BlockMode = kBlockNormal;
  bool RawMode = false;    // script and style blocks: no tag checks, no translation
  char ScriptOpener = 0;   // the command that opened the script or style block: 'S' or 'Y'
  bool QuoteMode = false;  // code blocks: quotes as "&quot;", no tag checks
  bool NotesMode = false;  // slide notes: no curly quotes
  bool OpenQuote = false;  // an opening curly quote awaits its closing one
  bool PageOpen = false;
  bool BodySeen = false;  // curly quotes start once the page has a body
  bool RedOpen = false;
  bool OhTableOpen = false;
  bool OhRowCellPending = false;  // the row's first tab still has to split it
  bool OhRowSpans = false;        // the row is one cell across both columns
  bool VideoUsed = false;
  int VideoCounter = 0;         // the page's next video number
  bool FirstT2Done = false;     // later T2 headings get the "Top of page" image
  bool T2Anchors = false;       // a link block asked for T2 anchors
  bool T3Anchors = false;       // ... and for T3 anchors
  bool AllEntries = false;      // ... with every entry, hidden ones too
  bool NoLineImage = false;     // ... of .DT markers: T2 headings without the line image
  std::string SlideNotes;       // the notes of a slide show, for its notes file
  bool LineStartFlag = false;   // the next line end emits nothing
  bool SuppressOutput = false;  // a hidden heading swallows its text
  std::string StyleStack;       // open b, i and u runs, innermost last
  std::string SupSubStack;      // open "Sup" / "Sub" runs as 'p' / 'b', innermost last
  int UnknownRtfCount = 0;
  bool TabWarned = false;
  std::string ArchiveList;
  std::string CurrentLine;
  std::string CommandText;
  std::string PossibleErrors;
  std::string SiteMenu;
  int LayoutCounterA = 120;
  int LayoutCounterB = 70;

  // Reader state.
  std::string RtfSource;      // the collected source of the run
  size_t SourcePos = 0;       // index of the next source character
  bool LineStartDot = false;  // the reader just took a "." that starts a source line
  bool InMarkup = false;      // between a tag's "<" and its ">"
};

// Rounds the main loop reads at most (kMaxBuildRounds; tests lower it).
extern long BuildRoundLimit;

// Back to a run that has not started.
void ResetBuildState(TBuildRun& run);

}  // namespace quorrel
