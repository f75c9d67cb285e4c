#pragma once
// Opening a ".7Z" archive: its first member, extracted with Debian's 7z into this
// user's private work folder. 7z runs from an argument list, never through a shell,
// and reads the password on its input. Paths are Windows-1252 bytes.
#include <string>

namespace quorrel {

// The member the last archive opened put into the work folder; "" when none.
extern std::string ExtractedMember;

// The first file of an archive from 7z's technical listing ("l -slt"): the first
// entry after the archive's own block that is not a folder; "" when none.
std::string FirstArchiveMember(const std::string& listing);

// Asks for the password (cancel ends the command silently), lists the archive,
// extracts its first member into TempFolder and returns the member's path there.
// A wrong password, a damaged or empty archive stop the command with a message.
std::string ExtractFirstMember(const std::string& archive);

// Back to the state of a freshly started program.
void ResetArchive7z();

}  // namespace quorrel
