#pragma once
// The Web menu's transfer commands: Upload and Download of the current document,
// and the whole-site download.
#include <string>

namespace quorrel {

// TOpenForm.UploadClick: uploads a file to its place on the server. From the Web
// menu (openFormFile empty) the current document is saved first, a page-building
// master is built again (its page around the caret) and its page sent, after the
// master itself when the page lands in the master's own folder. From the Open form
// the form's selected file goes as it is. The status line names the file sent.
void UploadClick(const std::string& openFormFile = "");

// DownloadCurrentFile: replaces the current document with its server copy and
// shows it, the caret where it was. Unsaved edits are offered a save first (they
// end up in the ".Bak"); refused, nothing is downloaded. The local copy of the
// server's PHP error log is replaced by the log, fetched from the server path
// that [System] "PhpErrorLog" of the settings gives.
void DownloadCurrentFile();

// Whether a local file is the copy of the server's PHP error log: its path holds
// "/!" (a name, or a folder's, that begins with "!").
bool IsServerErrorLogCopy(const std::string& path);

// Gives the Web menu's Upload, Download and Download entire site their commands,
// and the server check's "Download newer version from server?" its download.
void InstallTransferCommands();

}  // namespace quorrel
