#pragma once
// Local file names and folders. The program spells paths in Windows-1252 like all
// its text; the file system spells them in UTF-8, and every call here converts.
// Folders handed out by this unit end with "/".
#include <string>
#include <vector>

namespace quorrel {

// A program path as the file system spells it (for POSIX calls; Qt calls take
// AnsiToQString(path)), and back.
std::string NativePath(const std::string& path);
std::string PathFromNative(const std::string& native);

// The name as it is on disk of an existing file or folder, each component matched
// without regard to case (an exact match preferred); "" when there is none.
std::string ResolveNoCase(const std::string& path);

// Gives the file in folder whose name matches name without regard to case exactly
// the letter cases of name. Only a single match is renamed, and never over another
// file: with no match, or two names that differ only in case, nothing changes.
// Returns the file's former name when it was renamed, "" otherwise.
std::string FixNameCase(const std::string& folder, const std::string& name);

// Whether a file name matches one of the masks, separated by "|" or ";". "*" and "?"
// are wildcards, letters match without regard to case, a three-letter extension
// mask also matches longer extensions ("*.htm" matches "a.html") and "*.*" matches
// every name, with or without a dot.
bool MatchesMask(const std::string& name, const std::string& masks);

// Names (not paths) of the files in a folder that match the masks, sorted without
// regard to case; folders are left out, and so are names Windows-1252 cannot spell.
// Empty when the folder cannot be read.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& masks);

// The user's documents folder, created when missing.
std::string DocumentsFolder();
// A private work folder of this user ($XDG_RUNTIME_DIR/Quorrel/, else
// /tmp/Quorrel-UID/), mode 0700. Throws std::runtime_error when the folder is a
// symbolic link, is owned by another user or cannot be made.
std::string TempFolder();
// Whether the path lies in TempFolder; false when there is no such folder.
bool InTempFolder(const std::string& path);
// The folder of the running program.
std::string ExecutableDir();

bool FileExists(const std::string& path);       // an existing file (not a folder)
bool DirectoryExists(const std::string& path);  // an existing folder

// The path with symbolic links, "." and ".." resolved, as far as it exists (the
// rest is normalised as written). A folder keeps its final "/".
std::string CanonicalPath(const std::string& path);
// Whether path lies in folder (which ends with "/") or is that folder.
bool IsWithinFolder(const std::string& path, const std::string& folder);
// The path of a file as seen from a folder (both absolute, the folder ending with
// "/"): "../" for each level up, then the way down ("a/b.png", "../img/c.png").
std::string RelativePath(const std::string& folder, const std::string& path);

// Delphi-style name parts of "/"-paths.
std::string ExtractFilePath(const std::string& path);  // "/a/b.htm" -> "/a/"
std::string ExtractFileName(const std::string& path);  // "/a/b.htm" -> "b.htm"
std::string ExtractFileExt(const std::string& path);   // "/a/b.htm" -> ".htm"; "" when none
// "/a/b.htm", ".txt" -> "/a/b.txt"; an empty extension removes it.
std::string ChangeFileExt(const std::string& path, const std::string& ext);

}  // namespace quorrel
