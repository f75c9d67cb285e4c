#pragma once
// The archive a master asks for with .ZI, made by Debian's 7z once every page is
// written.
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

// The archiver, found on PATH.
inline constexpr char kArchiverProgram[] = "7z";
// Where its output goes, in TempFolder.
inline constexpr char kArchiverLog[] = "7z.log";

// The arguments of a Windows command line as a Windows program reads them: blanks
// separate; double quotes group (a doubled one inside quotes is a quote); a run of
// backslashes is literal unless a quote follows, when each pair gives one and an
// odd one makes the quote literal.
std::vector<std::string> SplitWindowsArguments(std::string_view line);

// Starts 7z with the archive list's arguments in folder, without waiting; it joins
// the process table and writes its output to kArchiverLog. A missing 7z is told.
void StartArchiver(const std::string& archiveList, const std::string& folder);

}  // namespace quorrel
