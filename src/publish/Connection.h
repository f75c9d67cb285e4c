#pragma once
// The program's one FTP connection, as the site details and the Server Details
// dialog reach it. The connection itself is not written yet: nothing here talks
// to a server, no connection ever results, and the calls leave everything as it
// is. The names and signatures are the ones the connection code will keep.
#include <string>

namespace quorrel {

// The "On-line" menu option, the master switch of server access: no server call
// is made while it is off. Ticked in a fresh program.
inline bool OnlineTicked = true;
inline bool OnlineChecked() {
  return OnlineTicked;
}
inline void SetOnline(bool on) {
  OnlineTicked = on;
}

// Time of the last connect or check (days since 30-Dec-1899); 0 forces a reconnect.
inline double LastConnectTime = 0;
// The text of the last internet error (the system's text or the server's reply).
inline std::string InternetErrorText;

// Whether the FTP connection is open.
inline bool FtpConnected() {
  return false;
}
// Connects to ServerName with ServerUser and ServerPassword, waiting modally.
inline void DoConnect() {}
// Closes the FTP connection, if one is open.
inline void CloseFtpConnection() {}

// Reconnects when on-line and the last connect is more than a moment ago.
inline void EnsureConnected() {}
// The entry point of every server command: true when on-line with a site whose
// details were found.
inline bool CheckConnection(bool forceOnline) {
  (void)forceOnline;
  return false;
}

// Back to a fresh program.
inline void ResetConnection() {
  OnlineTicked = true;
  LastConnectTime = 0;
  InternetErrorText.clear();
}

}  // namespace quorrel
