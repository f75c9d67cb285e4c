#pragma once
// Every message, question and failure of the program goes through these routines.
// Texts are Windows-1252 bytes.
#include <string>

namespace quorrel {

// When above 0, the next ShowMsg shows a box that closes itself after this many ms.
extern int MessageTimeout;
// NormalFontScale, or LargeFontScale with large system fonts: sizes laid out for
// normal fonts are scaled by FontScale / NormalFontScale.
inline constexpr int NormalFontScale = 4;
inline constexpr int LargeFontScale = 5;
extern int FontScale;
// The program's folder, with a trailing "/" (file-system bytes, like every local path).
extern std::string ProgramDir;
// Set by the splash when the program runs from a folder named like "Notepad".
extern bool NotepadMode;

// The date of this build, shown in the About box and the window caption.
inline constexpr char BuildDate[] = "16-Jun-26";

void ShowMsg(const std::string& message);
[[noreturn]] void ShowErrorAndAbort(const std::string& message);
bool AskYesNo(const std::string& question);
bool AskYesNoHelp(const std::string& question, int helpContext);
int AskYesNoCancel(const std::string& question);  // mrYes, mrNo or mrCancel
int AskYesNoCancelHelp(const std::string& question, int helpContext);
int AskOkHelpCancel(const std::string& message, int helpContext);  // 6 OK, 7 Help (context 0), 2
int AskCustom(const std::string& message, const std::string& caption1, const std::string& caption2,
              int helpContext, const std::string& caption3);

// The text ShowMsg puts in the box: centred when short, with the page of a batch run.
std::string MessageText(const std::string& message);

std::string EscapeAmpersands(const std::string& text);
std::string PadLeft(const std::string& text, int width, char fill = ' ');
std::string PadRightOrCut(const std::string& text, int width);
std::string AddBackslash(const std::string& path);  // local paths: appends "/"
std::string AddSlash(const std::string& path);      // URLs: appends "/", "" stays ""
std::string CurrentDirWithBackslash();
int ScaleForFont(int x);

// What the splash shows at start.
struct TSplashMode {
  std::string progName = "Quorrel";
  bool notepad = false;
  bool reformatter = false;
  int height = 80;
};
// From the program's folder and the first command-line parameter ("" when none).
TSplashMode SplashModeFor(const std::string& programDir, const std::string& firstParameter);
// Height in pixels (negative, as font heights are given) of a 10-point font at this
// vertical resolution.
int TenPointFontHeight(double dotsPerInch);
// Sets FontScale from the screen's resolution and warns when fonts are too large to fit.
void CheckLargeFonts(double dotsPerInch);
// "Version 1.921, 16-Jun-26".
std::string AboutVersionLine();

// Back to the state of a freshly started program.
void ResetDBoxUnit();

}  // namespace quorrel
