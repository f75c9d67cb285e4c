#pragma once
// The Options menu's commands that do more than tick an item: the colours and
// fonts of the editor, the printer and new-RTF fonts, print margins, zoom, tab
// width, the options that switch each other, the content identifier, the other
// browser, and the browser-emulation value written at start. Texts are
// Windows-1252 bytes.
#include <string>

#include "shell/PrintLayout.h"

namespace quorrel {

struct TMenuItem;
class TIniFile;

// The current settings file (SettingsIni), the standard one opened when none is.
TIniFile& CurrentSettings();

// Default values of the settings these commands keep (the print font's with the
// print layout).
inline constexpr char DefaultRtfFont[] = "Calibri";
inline constexpr char DefaultContentId[] = "<Div Class=Page>";

// Help topics of the two options that switch each other.
inline constexpr int DeleteBlankLinesHelp = 101500;
inline constexpr int CondenseHelp = 101240;

// The editor's background with "Debug" ticked and without.
inline constexpr int DebugBackground = 0x400040;
inline constexpr int NormalBackground = 0x600000;

// The zoom the editor's pop-up "Zoom" item switches to and back from.
inline constexpr int PopupZoom = 200;

// The browser-emulation value: its two keys (under HKEY_LOCAL_MACHINE), the value
// named after the program file, and what it must hold.
extern const char* const BrowserEmulationKeys[2];
inline constexpr char BrowserEmulationValueName[] = "Quorrel.exe";
inline constexpr char BrowserEmulationValue[] = "10001";

// Menu captions of the three fonts.
std::string EditorFontCaption(const std::string& name, int size, bool bold);
std::string PrintFontCaption(const std::string& name, int size);
std::string RtfFontCaption(const std::string& name);
// Reads the three fonts from [Text] and captions their items.
void ShowFontCaptions();

// A colour element of the scheme: the colour dialog on [Text] <item name>.
void ColourClick(const TMenuItem& item);
// Night and Restore all: the built-in scheme again; Restore all also forgets the
// fonts.
void NightClick(bool restoreAll);
void FontMClick();
void PrFontMClick();
void RTFFontClick();
void MarginClick(const TMenuItem& item);
void DelBlanksClick(const TMenuItem& item);
void CondenseClick(const TMenuItem& item);
void DebugClick(const TMenuItem& item);
void TabWidthClick();
void ContentIdClick();
// A zoom item (its tag is the percentage): checked alone, stored, captioned, applied.
void ZoomClick(const TMenuItem& item);
// The stored zoom applied to the menu and the editor (at start).
void ApplyStoredZoom();
// The editor's pop-up "Zoom": 200% and back to the stored zoom.
void ZoomPopupClick();
void BrowserOClick();
// At start: the browser-emulation value written where it is missing or wrong.
void SetBrowserEmulation();

// Gives the Options menu's items their commands.
void InstallOptionsCommands();

}  // namespace quorrel
