#pragma once
// Every message, question and failure of the program goes through these routines.
// Texts are Windows-1252 bytes.
#include <string>

namespace quorrel {

// When above 0, the next ShowMsg shows a box that closes itself after this many ms.
extern int MessageTimeout;
// 4 normally, 5 with large system fonts.
extern int FontScale;
// The program's folder, with a trailing "/".
extern std::string ProgramDir;

void ShowMsg(const std::string& message);
[[noreturn]] void ShowErrorAndAbort(const std::string& message);
bool AskYesNo(const std::string& question);
bool AskYesNoHelp(const std::string& question, int helpContext);
int AskYesNoCancel(const std::string& question);  // mrYes, mrNo or mrCancel
int AskYesNoCancelHelp(const std::string& question, int helpContext);
int AskOkHelpCancel(const std::string& message, int helpContext);  // 6 OK, 7 Help (context 0), 2
int AskCustom(const std::string& message, const std::string& caption1,
              const std::string& caption2, int helpContext, const std::string& caption3);

std::string EscapeAmpersands(const std::string& text);
std::string PadLeft(const std::string& text, int width, char fill = ' ');
std::string PadRightOrCut(const std::string& text, int width);
std::string AddBackslash(const std::string& path);  // local paths: appends "/"
std::string AddSlash(const std::string& path);      // URLs: appends "/", "" stays ""
std::string CurrentDirWithBackslash();
int ScaleForFont(int x);

}  // namespace quorrel
