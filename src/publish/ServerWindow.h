#pragma once
// Opening the server files window: the Server menu command, what happens as the
// window shows, and its first listing once it is on the screen.
#include <string>

namespace quorrel {

// Component name of the whole-site download, which opens the window too.
inline constexpr char DownloadSiteCommand[] = "DownloadSite";

// The Server menu (or another command that opens the window, named by sender):
// goes on-line when the site has a server, shows the window modally, and then
// classifies the document again and checks for files changed meanwhile.
void ServerMClick(const std::string& sender);

// The window is about to show: stops cleared, the connection made, the window's
// folder taken from the current document's, the tree and list emptied.
void ServerFormShow();

// Once the window is on the screen: the whole site is listed from the root.
void ServerFormTimer();

// Gives the Server menu item its command.
void InstallServerWindowCommand();

}  // namespace quorrel
