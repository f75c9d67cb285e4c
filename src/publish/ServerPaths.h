#pragma once
// Paths between the local site folder and the server. Local paths are "/"-separated
// file-system paths in Windows-1252; server paths are "/"-separated and relative to
// the FTP user's home. A path built from outside data (a link, a listing, a typed
// name) never leaves the site: climbing above the root, or out of SiteFolder, stops
// the command with a message.
#include <string>

#include "shell/SitePaths.h"

namespace quorrel {

// Component names of the commands that convert paths as they stand.
inline constexpr char UpdateCoursesCommand[] = "UpCourses";
inline constexpr char DownloadToCommand[] = "DownloadTo";

// The page builder's output folder (with "/"), set by SetBuildOutputFolder.
extern std::string OutputFolder;

// ServerName and ServerStartDir from an FTP address "host" or "host/start/dir".
void SplitFtpAddress(const std::string& address);
// The FTP address of ServerName and ServerStartDir.
std::string JoinFtpAddress();

// The server path of a local file of the site; "" when off-line, for documents
// that are not part of a site, and for untitled documents outside any site.
// A path outside SiteFolder stops the command ("is not within site").
std::string ServerPathOf(const std::string& localPath);
// The same for a file known to be the site's own, whatever command runs: the file
// a "Download to" fetches lies in the site even though its copy goes elsewhere.
std::string SiteServerPathOf(const std::string& localPath);

// The builder writes into the current document's folder, inside the web root.
void SetBuildOutputFolder();
// The folder SetBuildOutputFolder would choose, leaving OutputFolder alone.
std::string BuildOutputFolder();

// Back to a fresh program.
void ResetServerPaths();

}  // namespace quorrel
