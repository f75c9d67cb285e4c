#pragma once
// The server details of the current site: which "Data.FTP" holds them, which set
// of details is in use, the server, user, password, web address and web root.
// One instance for the whole program, replaced whenever LoadServerDetails reads a
// "Data.FTP". Texts are Windows-1252 bytes; local folders end with "/".
#include <functional>
#include <set>
#include <string>

namespace quorrel {

// The details file in the top-level folder of a site, and its INI names.
inline constexpr char ServerDetailsFile[] = "Data.FTP";
// Component name of the Server Details command: while it runs, a "Data.FTP"
// without an FTP address is no error, so that the details can be entered.
inline constexpr char ServerDetailsCommand[] = "SDets";
// Help topics of the details dialog and of the hosting control panel.
constexpr int ServerDetailsHelp = 31700;
constexpr int ControlPanelHelp = 31600;

extern std::string ServerName;      // host of the FTP address; "None" = the site has no server
extern std::string ServerStartDir;  // the rest of the FTP address, no trailing "/"
extern std::string ServerUser;
extern std::string ServerPassword;  // plain text
extern std::string SiteWebAddress;  // "WWWAddr"
extern std::string SiteWebRoot;     // the published sub-folder of the site folder ("public_html/")
extern std::string WebRootPath;     // SiteWebRoot in server form with "/"; "" when none
extern std::string ServerSet;       // the set of details in use, "1" to "9"
extern std::string DataFtpPath;     // the "Data.FTP" in use; "" when none was found
extern std::string DataFtpFolder;   // its folder
// The local site folder: the folder of "Data.FTP", else of the examined file.
// "?" makes the next lookup read the file again.
extern std::string SiteFolder;
// Result of the last lookup: a "Data.FTP" was found.
extern bool SiteHasServer;
// The current document's file exists and the user cannot write it.
extern bool CurrentFileReadOnly;

// A whole-site download is under way.
extern bool EntireRun;
// Server paths already compared with the server in this site (cleared when the
// site changes).
extern std::set<std::string> ServerCheckedFiles;

// The page a page-building run generates. While the builder runs, or while the
// current document is a page-building master, the details are looked up for this
// page (output folder, page name and extension) instead of the document.
struct TBuildTarget {
  bool running = false;
  std::string path;
};
// Installed by the page builder; without it no build target is known.
void SetBuildTargetQuery(std::function<TBuildTarget()> query);

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
