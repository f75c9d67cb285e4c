#pragma once
// Making this program the one that opens chosen file types, for the current user,
// the way the desktop keeps it: the desktop entry quorrel.desktop in the user's
// applications folder (its command is the program that is running), the type's
// default and added application in the user's mimeapps.list, and, for an
// extension the shared MIME database has no type for, a MIME package of our own
// followed by a rebuild of the user's MIME database.
// Extensions and descriptions are Windows-1252 bytes.
#include <functional>
#include <string>
#include <vector>

namespace quorrel {

inline constexpr int AssHelpContext = 101700;
inline constexpr char AssociatedMark[] = "    Already associated";
inline constexpr char DesktopFileName[] = "quorrel.desktop";

// The file types offered, in the dialog's order: extension and description.
struct TAssType {
  const char* extension;
  const char* description;
};
inline constexpr TAssType AssTypes[] = {
    {".TXT", "Text file"},   {".RTF", "Rich Text file"}, {".ABC", "ABC music file"},
    {".INI", "Ini file"},    {".HTM", "Web page"},       {".HTML", "Web page"},
    {".JS", "JavaScript"},
};

// The extension a box's caption stands for: cut before its first blank (which
// drops the associated mark), upper-cased, with a dot in front. "" when what is
// left is not an extension: only letters, digits, "_", "+" and "-" are allowed.
std::string AssExtension(const std::string& caption);

// The MIME type of files with the extension: the shared MIME database's type, or
// our own "application/x-quorrel-<ext>" when it has none.
std::string AssMimeType(const std::string& extension);

// Whether the type's effective default application is quorrel.desktop, as the
// desktop resolves it from the mimeapps.list files in their order of precedence.
// Reads only.
bool IsAssociated(const std::string& extension);

// Makes the program the default for the extension's type: the desktop entry, the
// MIME package when the type is our own (with the description as its comment),
// and mimeapps.list. A file that cannot be written stops the command with
// "Could not create " and its path (ShowErrorAndAbort); types done before keep
// their entries.
void Associate(const std::string& extension, const std::string& description);

// Tells the desktop that associations changed: rebuilds the user's MIME database
// when a package of ours was written (a message says so when that fails), and the
// desktop-entry cache when the tool for it is installed. Both are waited for.
void AssociationsChanged();

// The "Associate Quorrel with file types" dialog, shown modally by "File
// associations" of the Options menu. The ui sets it; unset, nothing shows.
void SetAssForm(std::function<void()> show);
void InstallFileAssCommand();

// The files this unit writes, for those who look (tests, the help page).
std::string UserApplicationsFolder();
std::string UserMimeFolder();
std::string MimeAppsListPath();

}  // namespace quorrel
