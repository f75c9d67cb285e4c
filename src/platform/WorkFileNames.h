#pragma once
// The names of the program's own hidden work files, which a killed write can leave
// beside the files they serve: a save's ".NAME.save-XXXXXX", a settings write's or
// a download's ".NAME.XXXXXX" (six letters or digits), a download's
// ".NAME.download", an upload's ".NAME.upload" and a settings lock ".NAME.lock".
// They are no site files: listings leave them out, and nothing publishes them (a
// settings copy holds the server password).
#include <string>

namespace quorrel {

// Whether name, in folder (ending with "/"), is one of those. A copy or lock counts
// only beside the file it serves, so a user's ".notes.backup" stays a site file.
// Both are Windows-1252 as the program spells them.
bool IsOwnWorkFile(const std::string& folder, const std::string& name);

// Whether entry is a copy that a write of the file called name makes beside it
// (".NAME.XXXXXX"). Native or not, as long as both are spelled alike.
bool IsWriteCopyOf(const std::string& entry, const std::string& name);

}  // namespace quorrel
