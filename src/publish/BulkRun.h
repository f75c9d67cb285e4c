#pragma once
// The runs over the whole site on the server: on-line validation of one page or
// of every page, the archive of the site's pages on the server, and Synchronise.
// Each lists the site flat in the server window and walks its rows.
#include <string>

namespace quorrel {

// Component names of the runs (On-line validate all is OnlineValidateAllCommand;
// Synchronise is SynchroniseCommand of UpDown.h).
inline constexpr char OnlineValidateOneCommand[] = "OnlineValOne";
inline constexpr char ArchiveCommand[] = "Archive";

// The [System] key of the validation service's check address.
inline constexpr char ValidatorAddressKey[] = "ValidatorAddress";
// Help topic of the question where to start an on-line validation.
constexpr int StartFromCurrentHelp = 31800;

// True while a run goes: only then does "Stop after this one" end a web fetch.
extern bool BulkRunActive;

// BulkServerRun: the run of that command, from its question to the closing of the
// window.
void BulkServerRun(const std::string& command);

// Gives On-line validate one and all and Synchronise their commands.
void InstallBulkRunCommands();

// Back to a fresh program.
void ResetBulkRun();

}  // namespace quorrel
