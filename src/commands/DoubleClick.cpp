#include "commands/DoubleClick.h"

#include <QElapsedTimer>
#include <QThread>

#include "commands/ColourCommands.h"
#include "commands/OpenDocs.h"
#include "platform/CodePage.h"
#include "platform/Desktop.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "shell/StatusBar.h"
#include "shell/TextFiles.h"

namespace quorrel {

int AbcReturnTab = -1;

namespace {

// The wait keeps the screen live: the browser's window may need ours repainted.
void WaitKeepingScreenLive(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) {
    UserDialogs().ProcessMessages();
    QThread::msleep(20);
  }
}

std::function<void(int)> browserWait = WaitKeepingScreenLive;

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// What ends a word on either side: blanks, double quotes, angle brackets, brackets.
bool IsDelimiter(char c) {
  static const std::string delimiters = "\"<>()[]{}|";
  return IsSpace(c) || delimiters.find(c) != std::string::npos;
}

bool StartsNoCase(const std::string& text, const char* part) {
  return StartsWithNoCase(text, part);
}

}  // namespace

void SetBrowserWait(std::function<void(int)> wait) {
  browserWait = wait ? std::move(wait) : WaitKeepingScreenLive;
}

TClickedWord ClickedWord(const std::string& window, size_t caret, bool abc) {
  TClickedWord result;
  if (caret > window.size()) caret = window.size();
  // An ABC note line "N:http://..." has its address start after the colon.
  auto stopsBack = [&](size_t i) {
    if (IsDelimiter(window[i - 1])) return true;
    return abc && window[i - 1] == ':' && window.compare(i, 4, "http") == 0;
  };
  size_t start = caret;
  while (start > 0 && !stopsBack(start)) --start;
  size_t end = caret;
  while (end < window.size() && !IsDelimiter(window[end])) ++end;

  // An attribute's value: "=" ends the word, unless it belongs to an address's query.
  const size_t equals = window.find_last_of('=', caret == 0 ? 0 : caret - 1);
  if (equals != std::string::npos && equals >= start && equals < caret &&
      window.find('?', start) > equals) {
    start = equals + 1;
  }

  // A quoted value runs to its closing quote, blanks and all: the word just after
  // the quote, or any word of an attribute's quoted value.
  const size_t lineStart = window.find_last_of('\n', caret == 0 ? 0 : caret - 1);
  const size_t from = lineStart == std::string::npos || lineStart >= caret ? 0 : lineStart + 1;
  size_t quotes = 0, lastQuote = std::string::npos;
  for (size_t i = from; i < caret; ++i) {
    if (window[i] == '"') {
      ++quotes;
      lastQuote = i;
    }
  }
  const bool inValue = quotes % 2 == 1 && lastQuote > 0 && window[lastQuote - 1] == '=';
  if ((start > 0 && window[start - 1] == '"') || inValue) {
    if (inValue) start = lastQuote + 1;
    const size_t closing = window.find_first_of("\"\n", start);
    end = closing == std::string::npos ? window.size() : closing;
  }

  // "url(...)" with the mouse on "url".
  if (end < window.size() && window[end] == '(' &&
      UpperCaseLatin1(window.substr(start, end - start)) == "URL") {
    start = end + 1;
    end = window.find_first_of(")\"\n", start);
    if (end == std::string::npos) end = window.size();
  }
  std::string word = window.substr(start, end - start);
  auto dropFront = [&](size_t n) {
    word.erase(0, n);
    start += n;
  };
  if (StartsNoCase(word, "url(")) dropFront(4);
  while (!word.empty() &&
         (word.back() == ',' || word.back() == '.' || word.back() == ';' || word.back() == ')')) {
    word.pop_back();
  }
  if (!word.empty() && word.front() == '(') dropFront(1);
  if (word.size() >= 2 && word.front() == '\'' && word.back() == '\'') {
    dropFront(1);
    word.pop_back();
  }
  result.start = start;
  result.length = word.size();
  // A file address names a local path: it keeps its leading "/".
  if (StartsNoCase(word, "file://")) word.erase(0, 7);
  result.word = word;
  return result;
}

namespace {

void OpenAddress(const std::string& address) {
  GetEditorText();
  if (CurrentText.find(DownloadPageMark) != std::string::npos) {
    OpenThis(address);
    return;
  }
  ShowStatus("Running browser...");
  if (!ShellOpen(address)) ShowMsg("Could not start the browser for " + address);
  browserWait(BrowserStartMs);
}

// "\\host\share\..." and "//host/share/..." as the file manager's address.
void ShowNetworkPath(std::string path) {
  path = ReplaceAll(path, "\\", "/", true);
  if (!StartsNoCase(path, "smb:")) path = "smb:" + path;
  if (!Desktop().ShowInFileManager(path)) ShowMsg("Could not show " + path);
}

void OpenNamedFile(std::string name) {
  if (name.empty() || name[0] == '.' || name.find('@') != std::string::npos) return;
  name = ReplaceAll(name, "\\", "/", true);
  name = ReplaceAll(name, "%20", " ", true);
  std::string path = name;
  if (path[0] != '/') {
    const std::string base = IsDotPage ? SiteRootFolder() : ExtractFilePath(CurrentFileName);
    path = base + name;
  }
  const std::string ext = ExtractFileExt(path);
  if (ext.size() >= 6) return;
  const std::string found = ResolveNoCase(path);
  if (found.empty()) {
    ShowMsg(path + "\rFile not found.");
    return;
  }
  const std::string upper = UpperCaseLatin1(ext);
  const bool external = upper.starts_with(".DOC") || upper == ".PDF" || upper == ".ZIP" ||
                        IsBinaryExtension(ext) || DirectoryExists(found);
  if (!external) {
    if (upper == ".ABC" && MainWindow()) AbcReturnTab = MainWindow()->ActiveTab();
    OpenThis(found);
    return;
  }
  ShowStatus("Running external application...");
  if (!ShellOpen(found)) ShowMsg("Could not open " + found);
}

}  // namespace

void RichDblClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const size_t caret = editor->SelStart();
  if (caret > 0) {
    const std::string before = editor->TextRange(caret - 1, 1);
    TMenuItem* colour = MainMenu().Find("ColourD");
    if ((before == "#" || before == "$") && colour && colour->enabled) {
      ColourDClick();
      return;
    }
  }
  // A window round the caret, one character per line end as the editor counts.
  const size_t from = caret > 100 ? caret - 100 : 0;
  std::string window = editor->TextRange(from, 300);
  window = ReplaceAll(window, "\r\n", "\n", true);
  const TClickedWord clicked = ClickedWord(window, caret - from, IsAbc);
  if (clicked.word.empty()) return;
  editor->Select(from + clicked.start, clicked.length);

  std::string word = clicked.word;
  if (StartsNoCase(word, "www.")) word = "http://" + word;
  if (StartsNoCase(word, "http") || StartsNoCase(word, "ftp")) {
    OpenAddress(word);
  } else if (word.starts_with("\\\\") || word.starts_with("//") || StartsNoCase(word, "smb://")) {
    ShowNetworkPath(word);
  } else {
    OpenNamedFile(word);
  }
}

}  // namespace quorrel
