#pragma once
// The Help menu's commands, the Login item and the small routines they share.
// Paths are file-system bytes.
#include <string>

namespace quorrel {

// The php.ini the command-line PHP reads: the "Loaded Configuration File" that
// `php --ini` names, else the newest /etc/php/*/cli/php.ini; "" when there is none.
std::string FindPhpIni();

// TWebForm.LoginClick: the remembered login page with "?Local=Y" in the preview
// browser. "Login" gets it as its handler with the preview browser.
void LoginClick();

// Gives the Help menu's items and Colour syntax their commands.
void InstallHelpMenuCommands();

}  // namespace quorrel
