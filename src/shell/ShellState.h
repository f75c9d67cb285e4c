#pragma once
// Unit-level state of the editor shell that every subsystem reads and writes
// for the duration of one command. Texts are Windows-1252 bytes.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quorrel {

class TIniFile;
class TMyRich;

// The application title: the caption of plain message boxes.
extern std::string ApplicationTitle;

// Component name of the menu item whose command is running; "" when none.
// Cleared by the error routines.
extern std::string CurrentCommand;

// The page a batch run is processing (shown under its messages).
extern std::string CurrentPageName;

// ---- the current document -------------------------------------------------
// At most this many tabs may be opened between start (or Close all) and exit.
constexpr int MaxTabs = 40;

// The editor of the active tab; nullptr when no document is open.
extern TMyRich* CurrentEditor;
// The working copy of the current document's text: CR LF line ends (LF only in an
// HTML working copy), ending with a line end unless empty.
extern std::string CurrentText;
// True when the editor's text may differ from CurrentText.
extern bool DocModified;
// Full path of the current document, and its extension upper-cased with the dot.
extern std::string CurrentFileName;
extern std::string CurrentExt;
// One path per tab opened since start or the last Close all (index = the editor's
// tag); a closed tab leaves its entry blank.
extern std::vector<std::string> OpenFiles;
// File time (seconds) of each slot when last loaded or saved; 0 = none.
extern std::array<int64_t, MaxTabs> FileAges;
// The folder of the current document (with "/") and the common top folder of the
// open documents.
extern std::string CurrentFolder;
extern std::string HighestFolder;

// The flags of the current document's kinds, set from them by ClassifyDocument.
extern bool IsHtml;
extern bool IsServerPage;
extern bool IsPhp;
extern bool IsAsp;
extern bool IsCss;
extern bool IsJs;
extern bool IsCSharp;
extern bool IsPascal;
extern bool IsXml;
extern bool IsTei;
extern bool IsRtf;
extern bool IsAbc;
extern bool IsLog;
extern bool IsScript;
extern bool IsContentDoc;
extern bool IsDotPage;
extern bool IsSlides;
extern bool IsOfficeHtml;
extern bool IsPlainText;
extern bool NotInSite;
extern bool HasBaseTag;

// ---- start-up and run state ---------------------------------------------------
// What the program as a whole is doing.
constexpr int PhaseStarting = 0;    // starting up, and again once it is on its way out
constexpr int PhaseRunning = 1;     // start-up complete
constexpr int PhaseClosingAll = 2;  // closing every document
extern int AppPhase;
// The idle pass may run (follows AppPhase; set again by the busy state).
extern bool IdleReady;
// A long operation holds the busy state.
extern bool Busy;
// Close all is closing every tab.
extern bool ClosingAll;
// The mode the command line started the program in, carried out at the first idle
// pass.
constexpr char StartNormal = ' ';
constexpr char StartReformat = 'X';      // "/R": validate, then close
constexpr char StartReformatting = 'R';  // the re-formatter's run has begun
constexpr char StartServer = 'S';        // "/S": the server window
constexpr char StartSet = 'E';           // "/E": a set, the window maximised
constexpr char StartPrint = 'P';         // "/P", asked of StartModeAvailable only
extern char StartMode;
// "/P": print the document and end the program.
extern bool PrintAndQuit;
// The text after "/F" on the command line, found in the first shown document.
extern std::string StartFindText;
// The program was started with parameters on the command line.
extern bool StartedWithParameters;
// The document information the status line shows (date, size, lines).
extern std::string StatusText;
// The current folder at start, with a trailing "/"; command-line names are relative to it.
extern std::string StartFolder;
// The open file set; "" when none.
extern std::string CurrentSetName;

// The standard settings file ("Quorrel.Ini" in the documents folder) and the
// current one (the set's file while a set is open, else the same file).
extern std::unique_ptr<TIniFile> MainIni;
extern std::unique_ptr<TIniFile> SettingsIni;

// Settings read at start-up.
inline constexpr int DefaultTabWidth = 9;
extern int TabWidth;                  // [System] "TabWidth": longest tab caption
extern std::string PdfViewerPath;     // [System] "Viewer"
extern std::string LocalServerRoot;   // [System] "Scripts" of MainIni
extern std::string OtherBrowserPath;  // [System] "OBrowser"
extern std::string WebParm;           // [System] "WebParm"
// The outside file optimiser: [System] "Optimiser" of MainIni, else our script
// beside the program; the script's place is kept even when nothing is there.
extern std::string OptimiserPath;
inline constexpr char OptimiserScriptName[] = "quorrel-optimise";
extern int64_t PlayStart;             // [System] "MStart": player section, ms
extern int64_t PlayEnd;               // [System] "MEnd"

// The template of a new tune and the files of the music tools in the documents folder.
extern std::string DefaultTuneText;
extern std::string DefaultTunePath;  // "Default.abc"
extern std::string AbcCodesPath;     // "ABCCodes.txt"

// Shared line lists owned by the main form.
extern std::vector<std::string> WorkList;
extern std::vector<std::string> ReadList;
// Start offsets (0-based, decimal texts) of the listed sections of CurrentText.
extern std::vector<std::string> SectionLines;

// One bookmark (0 to 9) of the current document: a CurrentText offset (-1 = not
// set) and the text at the marked place.
struct TMarkerState {
  long position = -1;
  std::string text;
};
extern std::array<TMarkerState, 10> Markers;

// Hides the start-up splash (when a main window is installed).
void HideSplash();

// Back to the state of a freshly started program (tests call this between cases).
void ResetShellState();

}  // namespace quorrel
