#pragma once
// The server files window as data: the folder tree, one row per file with the icon
// of its comparison with the local copy, and the state of a listing. Core fills
// them; the window only draws them. Texts are Windows-1252 bytes; server folders
// are relative to the start folder and end with "/" ("" is the root).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "publish/Transfers.h"

namespace quorrel {

// Help topics of the window, its pop-up menu and the name checks.
constexpr int ServerFilesHelp = 70000;
constexpr int ServerPopupHelp = 70200;
constexpr int NameCaseHelp = 150130;

// A row without an icon ("[NO FILES]").
constexpr int NoIcon = -1;

// What a folder node stands for.
enum TNodeState {
  RootNodeState = 0,
  FolderOnBoth = 1,      // on the server and local
  FolderServerOnly = 2,  // on the server, no local folder
  FolderLocalOnly = 3,   // local, not on the server
};

inline constexpr char RootNodeName[] = "[Root]";
inline constexpr char NoFilesRow[] = "[NO FILES]";
// Rows of files outside the web root begin with this mark (Windows-1252 167).
inline constexpr char OutsideWebRootMark = '\xA7';

struct TServerRow {
  std::string name;
  int icon = NoIcon;
  bool header = false;  // the first row and the folder rows of a flat listing
  bool condenseMismatch = false;
  bool selected = false;  // as the window's list shows it
};

struct TServerNode {
  std::string name;
  int state = RootNodeState;
  std::vector<TServerNode> children;
};

struct TServerListing {
  TServerNode tree{RootNodeName, RootNodeState, {}};
  // The node listed last, as the names below "[Root]"; empty for the root.
  std::vector<std::string> chosenNode;
  std::vector<TServerRow> rows;
  std::string folder;         // the window's current server folder
  std::string listingFolder;  // the folder of the row being added
  int fileCount = 0;
  std::string nameFilter;  // lower case; "" = none
  // Whether local pages are condensed: 0 not looked at yet, 1 condensed, 2 laid out.
  int condenseProbe = 0;
  // Flat mode: the row of the header of the folder being listed, and the folder
  // the listing started in (the folder of the rows under the first header).
  size_t headerRow = 0;
  std::string flatStart;
  std::string caption;
  std::string counterText;  // DispLab
  bool listVisible = true;
  bool treeVisible = true;
  bool topVisible = true;
  // Names from the server that cannot be local names, left out of this listing.
  std::vector<std::string> rejectedNames;
  // The list's first column: the width it should have after a listing (0: leave
  // it), the width remembered for middling lists, and whether "Wider" is ticked.
  int columnWidth = 0;
  int rememberedWidth = 120;
  bool wider = false;
  // The pop-up menu works on the folder chosen in the tree (the tree was clicked
  // last), not on the list's rows.
  bool treeChosen = false;
  // A transfer works through a whole folder of the tree: its listings ask nothing
  // about missing local folders.
  bool treeFolderRun = false;
  // "Stop after this one" shows.
  bool stopButton = false;
};
extern TServerListing ServerList;

// What core asks of the window. The ui installs it; without one (core tests) the
// listing only fills ServerList.
class TServerView {
 public:
  virtual ~TServerView() = default;
  // ServerList changed: draw it again (rows, tree, captions, what is visible).
  virtual void ListingChanged() = 0;
  // The same rows as drawn last, with new icons or selections; the caption and
  // "Stop after this one" may have changed too.
  virtual void RowsChanged() {}
  // Shows the counter text at once.
  virtual void ShowCounter(const std::string& text) = 0;
  // Whether the window is the program's active window.
  virtual bool IsActive() const = 0;
  // Shows the window modally; returns when it closes.
  virtual void ShowModal() = 0;
  virtual void Close() = 0;
  // Whether the "Flat" box is ticked: unticking it stops a flat listing.
  virtual bool FlatTicked() const { return true; }
  // Ticks or unticks the box, as a run over the whole site does.
  virtual void TickFlat(bool ticked) { (void)ticked; }
  // Shows the window and returns at once: a run goes on while it shows.
  virtual void ShowWithoutWaiting() {}
};
void SetServerView(TServerView* view);
TServerView* ServerView();

// A listing under way, for its length: the busy cursor shows, DateSize keeps
// quiet about empty files, and ListingRunning() is true.
class TListingRun {
 public:
  TListingRun();
  ~TListingRun();
  TListingRun(const TListingRun&) = delete;
  TListingRun& operator=(const TListingRun&) = delete;

 private:
  bool quiet_;
};
bool ListingRunning();

// Adds one server file as a row, from the search record just found (its date is
// read from the record, not asked for again). Compares it with the local copy in
// the modes that compare dates.
void AddServerListItem(const std::string& name);

// True when `other` ends with exactly `name`; otherwise says that the case differs
// (`name` is the server's spelling, `other` the local one).
bool CheckNameCase(const std::string& name, const std::string& other);

// The local files of the folder being listed that the server lacks, as rows with
// icon 0; "[NO FILES]" when there are no rows at all.
void ListLocalFiles(const std::string& localFolder);

// Whether a name passes the name filter.
bool PassesNameFilter(const std::string& name);

// Names in the order the window shows them: letter case aside, then by case.
bool ServerNameLess(const std::string& a, const std::string& b);
// The real sub-folders of a local folder, sorted; links to folders are not the
// site's own.
std::vector<std::string> LocalSubFolders(const std::string& folder);

// The local folder of a server folder of the site (SiteFolder + local form), as it
// is spelled on disk when it exists; "" when the site has no folder.
std::string LocalFolderOf(const std::string& serverFolder);

// Lists a folder of the tree: the node's names below "[Root]", or the root when
// there is none (the tree starts again).
void ShowDir(const std::optional<std::vector<std::string>>& node);

// Lists the whole site in one list, folder by folder, each folder under a header
// row (the run's mode decides what is compared and what is kept).
void ListFlat();
// Lists again what the window shows: the whole site flat, or the chosen folder.
void ListServerWindow();
// The refresh the error box asks for: runs the listing again, but never from
// inside itself, so a listing that fails again cannot start another.
void RefreshAfterError(const std::function<void()>& refresh);

// The width of the list's first column for a listing of so many rows; whether
// "Wider" is then ticked and the width remembered.
struct TColumnWidth {
  int width;
  bool remember;
};
TColumnWidth FirstColumnWidth(size_t rows, int rememberedWidth);

// "Files for " ... in normal use.
std::string ServerWindowCaption();

// The one message for the names of this listing that the server sent but that
// cannot be local names; nothing when there were none.
void ReportRejectedNames();

// Back to a fresh program.
void ResetServerListing();

}  // namespace quorrel
