#pragma once
// What the program knows about the current site: its folders, the server details
// read from its "Data.FTP", and the page the page builder is generating. Every
// subsystem reads these; the site details, the builder and the transfers set
// them. Texts are Windows-1252 bytes; local folders end with "/".
#include <set>
#include <string>

namespace quorrel {

// ---- the server details in use (see publish/SiteDetails.h) --------------------
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

// ---- folders of the site that the site tools work on --------------------------
// The folder of the page a site tool hands to the validators (a generated page,
// a page whose menu is being updated): its relative references are resolved
// against it. "" when no such page is being handled.
extern std::string SiteBaseFolder;

// The top folder of the current site, where site-wide runs start: the folder of
// the site's server details when known, else the current document's folder.
std::string SiteRootFolder();

// ---- the page being built -------------------------------------------------------
// The bytes of the page the page builder is generating from a dot-command master
// ("" while no page is being built); the validators read it while the master is
// the current document.
extern std::string PageBuffer;

// Back to the state of a freshly started program.
void ResetSiteState();

}  // namespace quorrel
