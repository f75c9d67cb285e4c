#include "publish/FetchUrl.h"

#include <fstream>

#include "platform/Abort.h"
#include "platform/Inet.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "publish/BulkRun.h"
#include "publish/UpDown.h"
#include "shell/CommandNames.h"
#include "shell/Closing.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/TextFiles.h"

namespace quorrel {

namespace {

constexpr uint32_t kBlock = 1024;

// Closes a handle however the fetch ends.
struct THandle {
  HINTERNET handle = nullptr;
  ~THandle() {
    if (handle) InternetCloseHandle(handle);
  }
};

void ShowProgress(size_t total) {
  if (TMainWindow* w = MainWindow()) {
    w->SetStatusText(MessagePanel, "  Bytes downloaded:  " + std::to_string(total));
    w->ProcessMessages();
  }
}

// Fewer than half of the first 256 bytes are printable: not a text.
bool LooksBinary(const std::string& block) {
  const size_t n = std::min<size_t>(block.size(), 256);
  size_t printable = 0;
  for (size_t i = 0; i < n; ++i) {
    unsigned char c = static_cast<unsigned char>(block[i]);
    if (c >= 32 && c <= 127) ++printable;
  }
  return printable * 2 < n;
}

std::string NotFound(const std::string& url) {
  return "URL not found:\r\n" + url;
}

}  // namespace

std::string FetchUrl(const std::string& url, const std::string& saveAsName) {
  const std::string ext = UpperCaseAnsi(ExtractFileExt(StripUrlQuery(url)));
  const bool binary = IsBinaryExtension(ext) && ext != ".COM";

  THandle session{InternetOpenA("Quorrel")};
  THandle request;
  if (session.handle) {
    request.handle = InternetOpenUrlA(session.handle, url, nullptr, 0,
                                      INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RAW_DATA);
  }
  if (!request.handle) {
    // A validation run goes on with its next page; the page counts as unanswered.
    if (CurrentCommand == OnlineValidateAllCommand) return "";
    const std::string reason = SystemErrorText(GetLastError());
    ShowErrorAndAbort(NotFound(url) + (reason.empty() ? "" : "\r" + reason));
  }
  // The server's status decides, not the text: an address or a page may well hold
  // "404". Known before any byte is read, so a missing file is never offered for saving.
  if (HttpStatusCode(request.handle) == 404) ShowErrorAndAbort(NotFound(url));

  std::string text;
  std::string savedPath;
  std::ofstream saved;
  char buffer[kBlock];
  bool first = true;
  for (;;) {
    uint32_t got = 0;
    if (!InternetReadFile(request.handle, buffer, kBlock, &got)) {
      const std::string reason = SystemErrorText(GetLastError());
      ShowErrorAndAbort(NotFound(url) + (reason.empty() ? "" : "\r" + reason));
    }
    if (got == 0) break;
    // "Stop after this one" ends a run over the site at once; it never stops a
    // fetch outside such a run.
    if (StopAfterThis && BulkRunActive) return "";
    std::string block(buffer, got);
    if (first) {
      first = false;
      if (PosCase("The page cannot be found", block) > 0 ||
          (binary && block.starts_with("<!DOCTYPE"))) {
        ShowMsg(NotFound(url));
        return "";
      }
      if (PosCase("Error in CGI Application", block) > 0) {
        ShowMsg("Error in CGI Application\r\n" + url);
        return "";
      }
      if (binary || LooksBinary(block)) {
        std::string name = ReplaceNoCase(saveAsName, ".malt", ".mid");
        if (ShowFileDialog("All files|*.*", CurrentFolder, true, name,
                           "This does not appear to be a text file.  Save it to disk instead?")) {
          savedPath = name;
          saved.open(NativePath(savedPath), std::ios::binary | std::ios::trunc);
          if (!saved) ShowErrorAndAbort("Unable to create file " + savedPath);
        }
      }
    }
    if (saved.is_open()) saved.write(block.data(), static_cast<std::streamsize>(block.size()));
    text += block;
    ShowProgress(text.size());
  }

  if (saved.is_open()) {
    saved.close();
    if (!saved) ShowErrorAndAbort("Unable to create file " + savedPath);
    // Only the tab opened for this address goes; a document that merely asked
    // for the page stays.
    if (CurrentEditor && CurrentFileName == url) {
      CurrentEditor->SetModified(false);
      CloseClick("CloseTab");
    }
    if (AskYesNo(savedPath + " saved.\rOpen with default program (if any)?")) ShellOpen(savedPath);
    return "";
  }
  return text;
}

}  // namespace quorrel
