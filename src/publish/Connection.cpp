// Going on-line, connecting on the worker thread, and keeping the connection fresh.
#include "publish/Connection.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <atomic>
#include <cstdlib>
#include <thread>

#include "platform/Abort.h"
#include "publish/ServerDates.h"
#include "publish/SiteDetails.h"
#include "publish/Transfers.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"

namespace quorrel {

HINTERNET InternetSession = nullptr;
HINTERNET FtpConnection = nullptr;
HINTERNET FtpFind = nullptr;
TFindData FtpFindData;
std::string ServerFolder;
double LastConnectTime = 0;
double ServerFileDate = 0;
int64_t ServerFileSize = 0;
bool FlatListing = false;
uint16_t ServerPort = 0;

namespace {

constexpr char kOnline[] = "Online";
constexpr char kServerMenu[] = "ServerM";
constexpr double kReconnectGuard = 999.0 / 86400000.0;  // 999 ms
constexpr double kStale = 30000.0 / 86400000.0;         // 30 s

// What the connect thread is given: read only on that thread.
struct TConnectRequest {
  HINTERNET session = nullptr;
  std::string server;
  uint16_t port = 0;
  std::string user;
  std::string password;
  uint32_t previousCode = 0;
  uint64_t attempt = 0;
};

// What it hands back, on the main thread.
struct TConnectResult {
  HINTERNET connection = nullptr;
  TInternetError error;
  uint64_t attempt = 0;
  bool ready = false;
};

std::atomic<int> threadsRunning{0};
uint64_t lastAttempt = 0;
uint64_t waitingAttempt = 0;  // the attempt whose window waits; 0 = none
TConnectResult arrived;
TConnectWait* installedWait = nullptr;

// The wait without a window: an event loop that the thread's end quits.
class TLoopWait : public TConnectWait {
 public:
  bool ShowModal(const std::function<void()>& start) override {
    finished_ = false;
    start();
    if (!finished_) loop_.exec();
    return true;
  }
  void Finish() override {
    finished_ = true;
    loop_.quit();
  }

 private:
  QEventLoop loop_;
  bool finished_ = false;
};

TConnectWait& Wait() {
  static TLoopWait loopWait;
  return installedWait ? *installedWait : loopWait;
}

// Runs on the main thread once a connect thread has ended. Only the attempt whose
// window still waits may hand over its connection; any other is closed.
void Terminated(const TConnectResult& result) {
  if (result.attempt == 0 || result.attempt != waitingAttempt || arrived.ready) {
    if (result.connection) InternetCloseHandle(result.connection);
    return;
  }
  arrived = result;
  arrived.ready = true;
  Wait().Finish();
}

// The connect thread. It touches no state of the program: it works on its copy of
// the request and posts its result to the main thread, so that an attempt given up
// long ago can end whenever it likes.
class TMyThread {
 public:
  static void Start(TConnectRequest request) {
    ++threadsRunning;
    std::thread([request = std::move(request)] { Execute(request); }).detach();
  }

 private:
  static void Execute(const TConnectRequest& request) {
    TConnectResult result;
    result.attempt = request.attempt;
    result.connection =
        InternetConnectA(request.session, request.server, request.port, request.user,
                         request.password, INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0);
    result.error = ReadInternetError(request.previousCode);
    QCoreApplication* app = QCoreApplication::instance();
    if (app) {
      QMetaObject::invokeMethod(
          app, [result] { Terminated(result); }, Qt::QueuedConnection);
    } else if (result.connection) {
      InternetCloseHandle(result.connection);
    }
    --threadsRunning;
  }
};

void ProcessMessages() {
  if (TMainWindow* w = MainWindow()) w->ProcessMessages();
}

// The On-line command's own effects after the item changed.
void OnlineSwitched(bool refreshTab) {
  TMenuItem& item = MainMenu().Item(kOnline);
  if (item.checked) {
    EnsureOnline();
    CheckConnection(false);
    ForgetServerFileDates();
  }
  if (refreshTab && CurrentEditor) PCChange();
  AnyCheck(item);
}

}  // namespace

bool OnlineChecked() {
  return MainMenu().Checked(kOnline);
}

void SetOnline(bool on) {
  if (on && !OnlineChecked()) ForgetServerFileDates();
  MainMenu().SetChecked(kOnline, on);
}

bool MachineConnected() {
  if (const char* forced = std::getenv(ConnectedStateVariable)) {
    if (forced[0] == '1' && forced[1] == '\0') return true;
    if (forced[0] == '0' && forced[1] == '\0') return false;
  }
  return InternetGetConnectedState();
}

void EnsureOnline() {
  InternetErrorCode = 0;
  if (!OnlineChecked() || InternetSession) return;
  HideSplash();
  bool goOnline = true;
  if (!MachineConnected() && CurrentCommand != kServerMenu) {
    goOnline = AskYesNo("Do you want to go online?");
  }
  if (goOnline) {
    InternetSession =
        InternetOpenA(InternetAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  } else {
    SetOnline(false);
  }
  ProcessMessages();
}

void SetConnectWait(TConnectWait* wait) {
  installedWait = wait;
}

void DoConnect() {
  // A connect is already waiting (something ran inside its window): this one has
  // nothing to add.
  if (waitingAttempt != 0) return;
  EnsureOnline();
  CloseFtpConnection();
  if (!InternetSession) {
    SetLastError(ERROR_INVALID_HANDLE);
    GetInternetError();
    return;
  }
  TConnectRequest request;
  request.session = InternetSession;
  request.server = ServerName;
  request.port = ServerPort;
  request.user = ServerUser;
  request.password = ServerPassword;
  request.previousCode = InternetErrorCode;
  request.attempt = ++lastAttempt;

  arrived = TConnectResult{};
  waitingAttempt = request.attempt;
  bool started = false;
  bool finished = false;
  try {
    finished = Wait().ShowModal([&started, request] {
      if (started) return;
      started = true;
      TMyThread::Start(request);
    });
  } catch (...) {
    waitingAttempt = 0;
    if (arrived.connection) InternetCloseHandle(arrived.connection);
    arrived = TConnectResult{};
    throw;
  }
  waitingAttempt = 0;
  TConnectResult result = arrived;
  arrived = TConnectResult{};

  if (finished && result.ready) {
    FtpConnection = result.connection;
    InternetErrorCode = result.error.code;
    InternetErrorText = result.error.text;
    // The outcome is the thread's; nothing this thread did since counts.
    SetLastError(ERROR_SUCCESS);
    return;
  }
  // Cancelled: a connection that came in the meantime is given up as well.
  if (result.connection) InternetCloseHandle(result.connection);
  InternetErrorCode = ERROR_INTERNET_OPERATION_CANCELLED;
  InternetErrorText = SystemErrorText(InternetErrorCode);
  SetLastError(ERROR_SUCCESS);
  if (!finished) {
    SetOnline(false);
    OnlineSwitched(false);
  }
}

void CloseConnectWindow() {
  if (waitingAttempt != 0) Wait().Finish();
}

bool FtpConnected() {
  return FtpConnection != nullptr;
}

void CloseFtpConnection() {
  if (FtpFind) InternetCloseHandle(FtpFind);
  FtpFind = nullptr;
  if (FtpConnection) InternetCloseHandle(FtpConnection);
  FtpConnection = nullptr;
}

int ConnectThreadsRunning() {
  return threadsRunning;
}

void EnsureConnected() {
  // The connection a transfer is using is fresh, and a new one would end it.
  if (TransferUnderWay()) return;
  if (!OnlineChecked() || NowDateTime() - LastConnectTime <= kReconnectGuard) return;
  if (ServerName == "None") {
    AskOkHelpCancel("You have specified FTP address \"None\".", ServerDetailsHelp);
    SetOnline(false);
    return;
  }
  if (TMainWindow* w = MainWindow()) w->SetBusyCursor(true);
  CloseFtpConnection();
  if (ServerName.empty()) ShowErrorAndAbort("Server is blank but Online is ticked.");
  DoConnect();
  LastConnectTime = NowDateTime();
  if (!FtpConnection) {
    // A cancelled wait has switched On-line off already and needs no message.
    if (!OnlineChecked()) return;
    SetOnline(false);
    ReportInternetError(
        "Cannot connect to server.\nUse Web | Server details to correct these if necessary.");
  }
  const std::string home = FtpCurrentDirectory(FtpConnection);
  ServerFolder = home.empty() ? std::string(1, '/') : AddSlash(home);
  if (!ServerStartDir.empty()) {
    ServerFolder += AddSlash(ServerStartDir);
    SetServerDir(ServerFolder);
    ServerFolder = FtpCurrentDirectory(FtpConnection);
  }
}

bool CheckConnection(bool forceOnline) {
  RefuseDuringTransfer();
  if (forceOnline && !OnlineChecked()) {
    SetOnline(true);
    EnsureOnline();
  }
  if (InternetSession && !ServerName.empty()) {
    if (!FtpConnection || NowDateTime() - LastConnectTime > kStale) EnsureConnected();
  }
  if (OnlineChecked() && SiteHasServer) EnsureOnline();
  LastConnectTime = NowDateTime();
  if (!OnlineChecked() || !SiteHasServer) return false;
  CheckUnwantedFiles();
  return true;
}

void OnlineClick(const TMenuItem&) {
  OnlineSwitched(true);
}

void InstallConnectionCommands() {
  MainMenu().SetHandler(kOnline, OnlineClick);
}

void CloseInternet() {
  waitingAttempt = 0;
  CloseFtpConnection();
  // Closing the session also stops a connect still running on it.
  if (InternetSession) InternetCloseHandle(InternetSession);
  InternetSession = nullptr;
}

void ResetConnection() {
  CloseInternet();
  arrived = TConnectResult{};
  FtpFindData = TFindData{};
  ServerFolder.clear();
  LastConnectTime = 0;
  ServerFileDate = 0;
  ServerFileSize = 0;
  FlatListing = false;
  ServerPort = 0;
  TimeStampQuestionSuppressed = false;
  SetCurrentFileDownloader(nullptr);
  ResetFtpErrors();
  ResetServerDates();
}

}  // namespace quorrel
