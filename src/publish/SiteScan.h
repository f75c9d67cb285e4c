#pragma once
// The scan of a site's folder tree behind the file-list form (DoScan): every file
// that matches the mask, as a line of the list with the page's title, or, in find
// mode, only the files that hold a text. Paths and texts are Windows-1252 bytes with
// "/" separators.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorrel {

// The marks of the list: " » " before a page's title, "·" before a line that
// reports a file the scan could not read.
inline constexpr char TitleMark[] = " \xBB ";
inline constexpr char ErrorLineMark = '\xB7';

// Find mode: the files are read and listed when they hold the text.
struct TScanFind {
  std::string text;       // as it is searched (line ends CR LF or LF)
  std::string shownText;  // as the user typed it, for the messages
  bool caseSensitive = false;
  bool wholeWords = false;
};

struct TScanRequest {
  std::string root;  // ends with "/"
  std::string mask;  // as the mask box holds it; "" lists every file
  bool subFolders = true;
  bool showTitles = false;  // the "Show titles" option
  bool regenerate = false;  // listing for "Regenerate HTML": four levels, no ".Bak"
  std::optional<TScanFind> find;
  // Session mode: every file is read and handed to sessionFile (by its full path);
  // sub-folders are always entered, no titles read; sessionDone runs at the end.
  bool session = false;
  std::function<void(const std::string& path, const std::string& text)> sessionFile;
  std::function<void()> sessionDone;
};

// What the scan shows while it runs. The form draws it and answers Cancel.
class TScanObserver {
 public:
  virtual ~TScanObserver() = default;
  // The counter line after each file; green on every other file, so that progress
  // shows.
  virtual void Counter(const std::string& /*text*/, bool /*green*/) {}
  // The list so far, every 50 files (sorted).
  virtual void Entries(const std::vector<std::string>& /*entries*/) {}
  // Whether Cancel was pressed since the last call.
  virtual bool TakeCancel() { return false; }
};

struct TScanResult {
  std::vector<std::string> entries;  // the list's lines, sorted
  int scanned = 0;
  int found = 0;             // find mode: files holding the text
  bool interrupted = false;  // Cancel ended the scan
  bool tooDeep = false;      // folders below the deepest level were left out
  std::string counter;       // the counter line as the scan left it
};

// Scans the tree. Read failures in find mode become lines of the list; a folder that
// cannot be read is passed over.
TScanResult DoScan(const TScanRequest& request, TScanObserver* observer = nullptr);

// A list line: the path relative to the root with a blank after its last "/" (a
// file of the root itself begins with the blank), then " » " and the title when
// there is one.
std::string ScanEntry(const std::string& relative, const std::string& title);

// The title a page shows in the list, read from the first 270 bytes of the file,
// else from its first 540; "" for a file that is no page.
std::string ListedTitle(const std::string& path);

// The forms of a search text as find mode looks for it in a file: a text with line
// ends matches CR LF files and LF files alike; in an RTF file each line end stands
// as CR LF and "\par ".
std::vector<std::string> SearchForms(const std::string& text, bool rtfFile);

}  // namespace quorrel
