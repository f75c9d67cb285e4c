#pragma once
// The colour scheme of the syntax colouring, kept in section [Text] of the
// settings file: one colour per syntax element as a decimal 0x00BBGGRR integer,
// and the editor's font.
#include <string>

namespace quorrel {

struct TColourScheme {
  int defaultColour = 0xD0D0D0;   // "Default": ordinary text
  int background = 0x600000;      // "Background": the editor's background
  int tags = 0xFFAEAE;            // "H"
  int tagsBack = 0xC00000;        // "HB"
  int urls = 0xFFD3A8;            // "U"
  int urlsBack = 0xFF7860;        // "UB"
  int javaScript = 0x00FF00;      // "JavaScript": script content
  int vbScript = 0xE0E000;        // "VBScript": server-script blocks
  int comments = 0x00FFFF;        // "Comments"
  int activeTab = 0xFFD7C8;       // "ActiveTab": the active tab of the page control
  int names = 0x4040FF;           // "Names": declared variable names
  int functions = 0x4080FF;       // "Functions": function names and section lines
  int tuneName = 0xFFFF00;        // "TuneName": ABC title lines
  int barLine = 0x3333FF;         // "BarLine"
  int part = 0xFFFFFF;            // "Part": ABC first part line
  int partBack = 0x008000;        // "PB"
  int otherPart = 0xFFFFFF;       // "P1": ABC other part lines
  int otherPartBack = 0x2F2FFF;   // "P1B"
  int voice = 0xD7FFFF;           // "Voice": ABC voice lines
  int voiceBack = 0xFF5353;       // "VB"
  int firstVoice = 0x0000F0;      // "V1": ABC first voice
  int firstVoiceBack = 0xCAFFFF;  // "V1B"
  int phpGlobal = 0x00DD00;       // "PHPG": PHP variables declared global
  // The editor's font.
  std::string fontName = "FixedSys";  // "Font"
  int fontSize = 9;                   // "FontSize"
  bool fontBold = false;              // "FontBold"
};

// The scheme in use (read by LoadColours).
extern TColourScheme ColourScheme;

// One colour key of the scheme: its key in [Text], its field, and the value the
// day scheme writes (-1: the day scheme leaves the key alone).
struct TColourKey {
  const char* key;
  int TColourScheme::*field;
  int dayValue;
};
// The 23 colour keys, in the order the settings file gets them.
extern const TColourKey ColourKeys[23];

// Reads the scheme from [Text] of SettingsIni. A file without a "Background" key
// (or with 0 there) gets the colour keys other than "PHPG" written with the values
// in use. Then a full recolour is requested.
void LoadColours();
// Writes the day scheme (its colours and the font Verdana 11, not bold), reloads
// the scheme, gives the current editor the font and requests a full recolour.
void DayColours();

// Back to the built-in scheme.
void ResetColourScheme();

}  // namespace quorrel
