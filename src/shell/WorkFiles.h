#pragma once
// The hidden work files a save writes beside a file before they take a name of
// their own (the file's, or its back-up's): ".NAME.save-XXXXXX", six letters or
// digits at the end. A save holds an advisory lock (flock) on each of its work
// files for as long as it runs, so that a save killed half-way leaves files that
// nobody holds, and only those are ever tidied away. Paths here are native.
#include <functional>
#include <string>

namespace quorrel {

// The file a name finally stands for: the target of a symbolic link (of a chain
// of them), the name itself otherwise. A dangling link gives the name it points at.
std::string FollowLinks(const std::string& native);

// The folder part of a name with its "/" ("" for a bare name), and the rest.
std::string FolderPart(const std::string& native);
std::string NamePart(const std::string& native);

// Creates a work file in folder (ending with "/", or "" for the current one) for
// a file called base, opened for writing and locked. Returns the descriptor and
// sets name; -1 on failure.
int CreateWorkFile(const std::string& folder, const std::string& base, std::string& name);

// Gives an existing file a second name, a work file's, by a hard link, and locks
// it as CreateWorkFile does. Returns a descriptor (read-only) and sets name; -1
// when the link could not be made (errno tells why).
int LinkAsWorkFile(const std::string& existing, const std::string& folder, const std::string& base,
                   std::string& name);

// Removes the work files that killed saves left beside a file: those of its own
// name and of its back-up's, beside the name and beside the file a symbolic link
// leads to, that are older than the file and that no running save holds. A work
// file newer than the file may hold the only copy of newer text and stays. Right
// after a save wrote the file (justSaved), a work file as old as the file goes too:
// clocks tick coarsely, and the save's own work file has taken the file's name.
void RemoveLeftoverWorkFiles(const std::string& native, bool justSaved = false);

// For tests: hard links are made by this instead of link(2); one that fails
// stands for a file system without hard links. nullptr restores link(2).
void SetWorkFileLinkForTests(std::function<int(const char* from, const char* to)> link);

}  // namespace quorrel
