#include "validate/ColourScheme.h"

#include "platform/IniFile.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "validate/ColourSyntax.h"

namespace quorrel {

TColourScheme ColourScheme;

const TColourKey ColourKeys[23] = {
    {"Default", &TColourScheme::defaultColour, 0x3F3F3F},
    {"Background", &TColourScheme::background, 0xFFFFFF},
    {"H", &TColourScheme::tags, 0xFF0000},
    {"HB", &TColourScheme::tagsBack, 0xFFFFC6},
    {"U", &TColourScheme::urls, 0x804000},
    {"UB", &TColourScheme::urlsBack, 0xE4CAFF},
    {"JavaScript", &TColourScheme::javaScript, 0x008000},
    {"VBScript", &TColourScheme::vbScript, 0xA00000},
    {"Comments", &TColourScheme::comments, 0x000080},
    {"ActiveTab", &TColourScheme::activeTab, 0xFFD7C8},
    {"Names", &TColourScheme::names, 0x0000FF},
    {"Functions", &TColourScheme::functions, 0x3C003C},
    {"TuneName", &TColourScheme::tuneName, 0x0000FF},
    {"BarLine", &TColourScheme::barLine, 0x3333FF},
    {"Part", &TColourScheme::part, 0xA00000},
    {"PB", &TColourScheme::partBack, -1},
    {"P1", &TColourScheme::otherPart, -1},
    {"P1B", &TColourScheme::otherPartBack, -1},
    {"Voice", &TColourScheme::voice, -1},
    {"VB", &TColourScheme::voiceBack, -1},
    {"V1", &TColourScheme::firstVoice, -1},
    {"V1B", &TColourScheme::firstVoiceBack, -1},
    {"PHPG", &TColourScheme::phpGlobal, -1},
};

namespace {

const char kText[] = "Text";

}  // namespace

void LoadColours() {
  const TColourScheme builtIn;
  if (SettingsIni) {
    for (const TColourKey& k : ColourKeys) {
      ColourScheme.*k.field = SettingsIni->ReadInteger(kText, k.key, builtIn.*k.field);
    }
    ColourScheme.fontName = SettingsIni->ReadString(kText, "Font", builtIn.fontName);
    ColourScheme.fontSize = SettingsIni->ReadInteger(kText, "FontSize", builtIn.fontSize);
    ColourScheme.fontBold = SettingsIni->ReadBool(kText, "FontBold", builtIn.fontBold);
    // A first run (no scheme yet) writes the scheme out, so that the user finds
    // every key in the file.
    if (SettingsIni->ReadInteger(kText, "Background", 0) == 0) {
      for (const TColourKey& k : ColourKeys) {
        if (std::string(k.key) != "PHPG")
          SettingsIni->WriteInteger(kText, k.key, ColourScheme.*k.field);
      }
    }
  } else {
    ColourScheme = builtIn;
  }
  RequestRecolour(RecolourFull);
}

void DayColours() {
  if (SettingsIni) {
    for (const TColourKey& k : ColourKeys) {
      if (k.dayValue >= 0) SettingsIni->WriteInteger(kText, k.key, k.dayValue);
    }
    SettingsIni->WriteString(kText, "Font", "Verdana");
    SettingsIni->WriteInteger(kText, "FontSize", 11);
    SettingsIni->WriteBool(kText, "FontBold", false);
  }
  LoadColours();
  if (CurrentEditor) {
    CurrentEditor->SetEditorFont(ColourScheme.fontName, ColourScheme.fontSize,
                                 ColourScheme.fontBold);
  }
  RequestRecolour(RecolourFull);
}

void ResetColourScheme() {
  ColourScheme = TColourScheme();
}

}  // namespace quorrel
