#pragma once
// The server details of the current site: which "Data.FTP" holds them, which set
// of details is in use, the server, user, password, web address and web root.
// One instance for the whole program, replaced whenever LoadServerDetails reads a
// "Data.FTP". Texts are Windows-1252 bytes; local folders end with "/".
#include <functional>
#include <string>

#include "shell/SiteState.h"

namespace quorrel {

// The details file in the top-level folder of a site, and its INI names.
inline constexpr char ServerDetailsFile[] = "Data.FTP";
// Component name of the Server Details command: while it runs, a "Data.FTP"
// without an FTP address is no error, so that the details can be entered.
inline constexpr char ServerDetailsCommand[] = "SDets";
// Help topics of the details dialog and of the hosting control panel.
constexpr int ServerDetailsHelp = 31700;
constexpr int ControlPanelHelp = 31600;

// The details themselves (ServerName, SiteFolder ...) are in shell/SiteState.h.

// The page a page-building run generates. While the builder runs, or while the
// current document is a page-building master, the details are looked up for this
// page (output folder, page name and extension) instead of the document.
struct TBuildTarget {
  bool running = false;
  std::string path;
};
// Installed by the page builder; without it no build target is known.
void SetBuildTargetQuery(std::function<TBuildTarget()> query);

// The details for a file path as its site's "Data.FTP" gives them, or those of a
// site without one. Reading writes nothing and connects to nothing; what the
// reading found to write is said, for the caller to do.
struct TSiteDetails {
  bool found = false;          // a "Data.FTP" was found
  std::string DataFtpPath;     // the file, "" when none
  std::string DataFtpFolder;   // its folder, "" when none
  std::string ServerSet = "1";  // the set of details read
  std::string FtpAddress;      // "host" or "host/start/dir"; "None" = no server; "" = none given
  std::string ServerUser;
  std::string ServerPassword;  // plain text
  std::string SiteWebAddress;
  std::string SiteWebRoot;
  std::string SiteFolder;  // the folder of "Data.FTP", else of the path
  // The file named a set it does not hold and the user chose set 1, which the file
  // is to name from now on.
  bool switchedToSetOne = false;
  // The file gave no web root and SiteWebRoot is a guess, to be kept in the file.
  bool webRootGuessed = false;
};
// Reads the details for a file path: the "Data.FTP" of its folder or the nearest
// folder above it. A set the file names but does not hold is asked about.
TSiteDetails ReadDetails(const std::string& path);

// Finds and reads the details for a file path, connecting when on-line; true when
// a "Data.FTP" was found. The cached details stand while the path stays in
// SiteFolder.
bool LoadServerDetails(const std::string& path);

// Writes the details into a "Data.FTP" as the set ServerSet and reads them back.
// A file the program did not write (no [System] Section) is replaced.
void DoSave(const std::string& path);

// Deletes a details file; one that cannot be deleted is reported and the command
// ends. A missing file is no error.
void DeleteDetailsFile(const std::string& path);

// Opens the site's "CPanel.htm" with the default program (useShell) or in the
// preview browser; help topic 31600 when the site has none.
void OpenControlPanel(bool useShell);

// Back to a fresh program.
void ResetSiteDetails();

}  // namespace quorrel
