#pragma once
// The program's one internet session and one FTP connection: going on-line, the
// connect on a worker thread while a modal window waits, keeping the connection
// fresh, the server directory, directory searches and server file dates. Texts are
// Windows-1252 bytes; server paths are "/"-separated.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Inet.h"
#include "publish/FtpErrors.h"

namespace quorrel {

struct TMenuItem;

// ---- the "On-line" switch -------------------------------------------------------
// The menu item "On-line" (`Online`) is the master switch of server access: no
// server call is made while it is unticked.
bool OnlineChecked();
// Ticks or unticks the item; ticking it forgets the server dates of the tabs.
void SetOnline(bool on);

// The item as a boolean, for code that reads or sets it in one go.
struct TOnlineSwitch {
  operator bool() const { return OnlineChecked(); }
  TOnlineSwitch& operator=(bool on) {
    SetOnline(on);
    return *this;
  }
};
inline TOnlineSwitch OnlineTicked;

// The On-line command: the item has been toggled. Switching on opens the session,
// checks the connection of the current site and forgets the server dates; the tab
// is refreshed and the new state announced.
void OnlineClick(const TMenuItem& item);
// Gives "On-line" its command in the main menu.
void InstallConnectionCommands();

// Whether the machine is on a network. The environment variable QUORREL_CONNECTED
// ("1" or "0") decides instead, for machines whose only network is loopback.
inline constexpr char ConnectedStateVariable[] = "QUORREL_CONNECTED";
bool MachineConnected();

// ---- connection state -------------------------------------------------------------
inline constexpr char InternetAgent[] = "Quorrel";

extern HINTERNET InternetSession;  // opened once, kept for the run
extern HINTERNET FtpConnection;    // nullptr when not connected
extern HINTERNET FtpFind;          // the current search; nullptr when it found nothing
extern TFindData FtpFindData;      // the entry found last
extern std::string ServerFolder;   // the current server directory
// Time of the last connect or check (a date, see ServerDates.h); 0 forces a reconnect.
extern double LastConnectTime;
// Date and size of the entry found last; the date 0 when unknown.
extern double ServerFileDate;
extern int64_t ServerFileSize;
// The server window lists a whole tree flat: searches do not complain about names.
extern bool FlatListing;
// The FTP port; 0 is the service's own (21). Only tests, whose servers listen on
// loopback ports of their own, change it.
extern uint16_t ServerPort;

// Opens the session when on-line, asking first when the machine is off the network.
void EnsureOnline();

// ---- connecting -----------------------------------------------------------------
// The modal "Connecting..." window as core reaches it. The ui's TConnect implements
// it; without one, the wait runs an event loop with nothing to show.
class TConnectWait {
 public:
  virtual ~TConnectWait() = default;
  // Shows the window modally. Once it is up, start() begins the connect (once).
  // Returns true when Finish closed it, false when the user cancelled.
  virtual bool ShowModal(const std::function<void()>& start) = 0;
  // Closes the window with the OK result. Does nothing when it is not showing.
  virtual void Finish() = 0;
};
void SetConnectWait(TConnectWait* wait);

// Connects to ServerName with ServerUser and ServerPassword while the window waits.
// Afterwards FtpConnection is the new connection or nullptr. Cancel switches
// On-line off; the cancelled attempt's connection, should it still come, is closed.
void DoConnect();
// Closes the connecting window when a connect waits in it, as when the connect has
// ended: that attempt is given up (its connection, should it still come, is closed)
// but On-line stays as it is, since the user cancelled nothing.
void CloseConnectWindow();
bool FtpConnected();
void CloseFtpConnection();
// Connect threads that have not ended yet (cancelled ones included).
int ConnectThreadsRunning();

// Reconnects when on-line and the last connect is more than a moment ago, and sets
// ServerFolder.
void EnsureConnected();
// The entry point of every server command: true when on-line with a site whose
// details were found. Once a day it lists unwanted and non-matching server files.
bool CheckConnection(bool forceOnline);

// ---- server directories and searches -----------------------------------------------
// Changes the server's current directory, or stops the command with the list of
// valid top-level directories.
void SetServerDir(const std::string& directory);
// Starts a search; true (FtpFind set) when something was found. Callers step on
// with InternetFindNextFileA on FtpFind.
bool FtpFindFirst(const std::string& serverPath);
// The name of the entry in FtpFindData.
std::string CurrentFindName();
// The folder (up to and including the last "/"; ServerFolder when there is none)
// and the name of a server path.
void SplitServerPath(const std::string& path, std::string& name, std::string& folder);
// ServerFileDate and ServerFileSize from FtpFindData; for the current document the
// date is also kept in its tab's record.
void ReadServerFileDate();

// ---- checks against the server ----------------------------------------------------
// The once-a-day report of unwanted and non-matching files (SettingsIni [System]
// RunDate holds the day it last ran).
void CheckUnwantedFiles();
// Compares the current document with its server copy and offers a newer one.
void CheckServerCopy();
// The indicator of the current tab: both dates in the comparison's colour, "Not on
// server" or "Not on local"; shown only while on-line and once a comparison exists.
void ShowServerComparison();
// A tab was entered: the server is asked first when the tab's server date is still
// unknown, then the indicator shows.
void ServerComparisonOfTab();
// Set while a reload must not ask about time stamps; the server check then asks
// nothing either.
extern bool TimeStampQuestionSuppressed;
// Downloads the current document from the server; installed by the transfers.
void SetCurrentFileDownloader(std::function<void()> download);

// Closes every handle (program exit).
void CloseInternet();
// Back to a fresh program: handles closed, every waiting attempt abandoned.
void ResetConnection();

}  // namespace quorrel
