#pragma once
// A double click in the editor acts on the word under the mouse: a colour value
// opens the colour dialog, a web address the browser, a network path the file
// manager, a file name a tab or the file's own program. Texts and paths are
// Windows-1252 bytes.
#include <cstddef>
#include <functional>
#include <string>

namespace quorrel {

// The page text that makes web addresses open as documents (a server listing).
inline constexpr char DownloadPageMark[] = "Double-click a file name to download it";
// How long the browser is given to come up, the screen live meanwhile.
inline constexpr int BrowserStartMs = 3000;

// The word a double click takes from a window of text (positions are characters
// of the window, one per line end): its place in the window, and the word itself
// after the clean-up ("url(...)", parentheses and a trailing ",", "." or ";" gone,
// "file://" stripped so that the path keeps its leading "/").
struct TClickedWord {
  size_t start = 0;
  size_t length = 0;
  std::string word;
};
// abc: an ABC document, whose "N:http..." lines have no blank after the colon.
TClickedWord ClickedWord(const std::string& window, size_t caret, bool abc);

// TMyRich.RichDblClick on the current editor, after the control has selected the
// word under the mouse.
void RichDblClick();

// The wait after the browser is started; tests record it instead.
void SetBrowserWait(std::function<void(int milliseconds)> wait);

}  // namespace quorrel
