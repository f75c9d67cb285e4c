#pragma once
// What the "Server Details" dialog does with its fields: the values it opens with,
// the set buttons, Delete, Browse and the checks of OK. The form only shows the
// fields and calls these.
#include <functional>
#include <string>

namespace quorrel {

// The dialog's five fields.
struct TServerFields {
  std::string ftpAddress;
  std::string user;
  std::string password;
  std::string website;
  std::string webRoot;
};

inline constexpr int ServerSetCount = 9;

// "Server details for " + SiteFolder.
std::string ServerDetailsCaption();
// The fields from the server state.
TServerFields CurrentServerFields();
// ServerSet as a number from 1 to 9; 1 for anything else.
int CurrentServerSetNumber();

// Set button n pressed while the dialog's set is current. Loads the fields of set
// n when "Data.FTP" has it, or asks to create it. Returns the dialog's set after
// the choice (current when refused).
int ChooseServerSet(int n, int current, TServerFields& fields);

// Browse for the web root: true when a folder was chosen (put into webRoot).
bool BrowseWebRoot(std::string& webRoot);

// Delete: true when the "Data.FTP" in use was removed (the dialog then empties its
// fields and closes).
bool RemoveServerDetails();

// OK: checks the fields in order, tests the connection, asks where to save and
// saves. False keeps the dialog open after a refusal; the silent abort ends the
// command (the save dialog cancelled). fields.webRoot comes back without its
// trailing separator.
bool AcceptServerDetails(TServerFields& fields, int set);

// ---- the Server Details command (menu item ServerDetailsCommand) ---------------
constexpr int NoPathForDetailsHelp = 31702;

// Shows the dialog modally; true when its OK saved the details. The ui installs
// the form; without one the command has nothing to show and ends.
void SetServerDetailsForm(std::function<bool()> show);

// The details of the current document's site (with no document open, of the file
// closed last) read and shown in the dialog. A cancelled dialog ends the command
// silently; saved details take effect at once, on the open tab too.
void SDetsClick();
// Gives the menu item its command.
void InstallServerDetailsCommand();

}  // namespace quorrel
