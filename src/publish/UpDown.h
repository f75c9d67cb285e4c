#pragma once
// Upload, Download, Download to and Unarchive of the server files window, on the
// selected rows or on a whole folder chosen in the tree; Synchronise runs through
// the same routine. Texts are Windows-1252 bytes; tree folders are given as the
// names below "[Root]".
#include <optional>
#include <string>
#include <vector>

#include "publish/ServerPaths.h"

namespace quorrel {

// Component names of the window's transfer commands (DownloadToCommand is in
// ServerPaths.h); the main menu's Synchronise item hands its own name on.
inline constexpr char ServerUploadCommand[] = "ServUpload";
inline constexpr char ServerDownloadCommand[] = "ServDownload";
inline constexpr char UnarchiveCommand[] = "Unarchive";
inline constexpr char SynchroniseCommand[] = "Synchronise";

// Set by "Stop after this one": the run ends once the file under way is done.
extern bool StopAfterThis;

// The long-transfer time-out handed to the connection: the layer reads the low
// four bytes of this eight-byte number, 2,808,348,671 ms.
constexpr uint64_t LongTransferTimeout = 999999999999999999ULL;

// Where an archived copy is fetched to before it goes back up.
inline constexpr char ArchivedWorkFile[] = "Archived";

// What a run moved.
struct TUpDownResult {
  int uploads = 0;
  int downloads = 0;
};

// TServForm.UpDownClick: runs the command over the selected rows of the window,
// or, with treeNode, over every row of that folder of the tree (an Upload goes on
// into each of its sub-folders). Rows are deselected as they are done; icons show
// what was done.
TUpDownResult UpDownClick(const std::string& command,
                          const std::optional<std::vector<std::string>>& treeNode = std::nullopt);

// "Stop after this one": the button goes and the run stops after the current file.
void StopAfterThisClick();

// The tree was clicked: the pop-up menu works on the folder chosen there.
void TreeClick();
// The list was clicked: the pop-up menu works on its rows again.
void ListViewClick();

// Back to a fresh program.
void ResetUpDown();

}  // namespace quorrel
