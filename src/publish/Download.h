#pragma once
// Fetching the server copy of a local file: the previous local version kept as its
// ".Bak", a condensed page laid out again, and the file given the server copy's
// date. Paths are Windows-1252 bytes.
#include <string>

namespace quorrel {

// DownloadFile: fetches the server copy of a local file of the site into the file,
// or into saveAsPath when given (which is then not re-dated). The file is replaced
// only once the whole copy has arrived, and only then does its previous version
// become its ".Bak" (not in the work folder, nor during On-line validate all). A
// file missing on the server, a failed or stopped transfer, or a place outside the
// site ends the command and leaves the file and its back-up as they were; with
// several rows chosen in the server window a missing file is passed over, and
// the result is then false.
bool DownloadFile(const std::string& localPath, const std::string& saveAsPath = "");

// Fetches a file named by its server path (not one of the site's own, such as the
// server's error log) over the local file, which keeps its previous version as its
// ".Bak" and takes the server copy's date. Failures end the command as above.
void DownloadServerFile(const std::string& serverPath, const std::string& localPath);

// Whether a downloaded page or style sheet is condensed: a page without a line that
// begins with its head, a sheet without " {".
bool LooksCondensed(const std::string& text, bool styleSheet);

}  // namespace quorrel
