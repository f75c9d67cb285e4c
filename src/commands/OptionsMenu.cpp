#include "commands/OptionsMenu.h"

#include "commands/OpenDocs.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Recolour.h"
#include "shell/Settings.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "validate/ColourScheme.h"

namespace quorrel {

const char* const BrowserEmulationKeys[2] = {
    "\\Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\Feature_Browser_Emulation\\",
    "\\Software\\Wow6432Node\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\"
    "Feature_Browser_Emulation\\",
};

TIniFile& CurrentSettings() {
  if (!SettingsIni) OpenMainIni();
  return SettingsIni ? *SettingsIni : *MainIni;
}

namespace {

const char kText[] = "Text";
const char kSystem[] = "System";

// The colour elements of the scheme, each an item named after its key in [Text].
const char* const kColourItems[] = {"Default",    "Background", "H",        "U",
                                    "JavaScript", "VBScript",   "Comments", "ActiveTab",
                                    "Names",      "Functions",  "TuneName", "BarLine"};
const char* const kMarginItems[] = {"TopMargin", "RightMargin", "BottomMargin", "LeftMargin"};
const char* const kZoomItems[] = {"Z100", "Z110", "Z120", "Z130", "Z140", "Z150"};

void Handle(const char* name, void (*command)()) {
  MainMenu().SetHandler(name, [command](const TMenuItem&) { command(); });
}

void Handle(const char* name, void (*command)(const TMenuItem&)) {
  MainMenu().SetHandler(name, command);
}

// The editor font of the scheme on the current document, coloured again.
void RefontEditor() {
  if (CurrentEditor) {
    CurrentEditor->SetEditorFont(ColourScheme.fontName, ColourScheme.fontSize,
                                 ColourScheme.fontBold);
  }
  RequestRecolour(RecolourText);
}

// The font dialog on a font; the italic style is warned about and kept.
bool AskFont(TFontChoice& font) {
  if (!UserDialogs().FontDialog(font)) return false;
  if (font.italic) ShowMsg("I don't believe you want the entire text in italic!");
  return true;
}

}  // namespace

// ---- fonts ------------------------------------------------------------------------

std::string EditorFontCaption(const std::string& name, int size, bool bold) {
  return "&Font:  " + name + " " + std::to_string(size) + " pt" + (bold ? " bold" : "") + "...";
}

std::string PrintFontCaption(const std::string& name, int size) {
  return "&Print:  " + name + " " + std::to_string(size) + " pt ...";
}

std::string RtfFontCaption(const std::string& name) {
  return "&RTF:  " + name;
}

void ShowFontCaptions() {
  TIniFile& ini = CurrentSettings();
  const TColourScheme builtIn;
  TMenuModel& menu = MainMenu();
  menu.SetCaption("FontM", EditorFontCaption(ini.ReadString(kText, "Font", builtIn.fontName),
                                             ini.ReadInteger(kText, "FontSize", builtIn.fontSize),
                                             ini.ReadBool(kText, "FontBold", builtIn.fontBold)));
  menu.SetCaption("PrFontM",
                  PrintFontCaption(ini.ReadString(kText, "PrFont", DefaultPrintFont),
                                   ini.ReadInteger(kText, "PrFontSize", DefaultPrintFontSize)));
  menu.SetCaption("RTFFont", RtfFontCaption(ini.ReadString(kText, "RTFFont", DefaultRtfFont)));
}

void FontMClick() {
  TFontChoice font;
  font.name = ColourScheme.fontName;
  font.size = ColourScheme.fontSize;
  font.bold = ColourScheme.fontBold;
  if (!AskFont(font)) return;
  TIniFile& ini = CurrentSettings();
  ini.WriteString(kText, "Font", font.name);
  ini.WriteInteger(kText, "FontSize", font.size);
  ini.WriteBool(kText, "FontBold", font.bold);
  ColourScheme.fontName = font.name;
  ColourScheme.fontSize = font.size;
  ColourScheme.fontBold = font.bold;
  MainMenu().SetCaption("FontM", EditorFontCaption(font.name, font.size, font.bold));
  RefontEditor();
}

void PrFontMClick() {
  TIniFile& ini = CurrentSettings();
  TFontChoice font;
  font.name = ini.ReadString(kText, "PrFont", DefaultPrintFont);
  font.size = ini.ReadInteger(kText, "PrFontSize", DefaultPrintFontSize);
  if (!AskFont(font)) return;
  ini.WriteString(kText, "PrFont", font.name);
  ini.WriteInteger(kText, "PrFontSize", font.size);
  MainMenu().SetCaption("PrFontM", PrintFontCaption(font.name, font.size));
}

void RTFFontClick() {
  TIniFile& ini = CurrentSettings();
  std::string font = ini.ReadString(kText, "RTFFont", DefaultRtfFont);
  if (!UserDialogs().InputQuery("Quorrel", "Enter font for new RTF file", font, false)) return;
  if (font.empty()) return;
  ini.WriteString(kText, "RTFFont", font);
  ShowMsg("Saved.");
  MainMenu().SetCaption("RTFFont", RtfFontCaption(font));
}

// ---- colours ----------------------------------------------------------------------

void ColourClick(const TMenuItem& item) {
  int colour = CurrentSettings().ReadInteger(kText, item.name, 0);
  if (!UserDialogs().ColourDialog(colour)) return;
  CurrentSettings().WriteInteger(kText, item.name, colour);
  LoadColours();
  if (TMainWindow* w = MainWindow()) w->RedrawActiveTab();
}

void NightClick(bool restoreAll) {
  TIniFile& ini = CurrentSettings();
  if (restoreAll) {
    ini.EraseSection(kText);
  } else {
    // The night scheme is the built-in one: the colours go, the fonts stay.
    for (const TColourKey& k : ColourKeys) ini.DeleteKey(kText, k.key);
  }
  LoadColours();
  ShowFontCaptions();
  RefontEditor();
  // An ABC document has its tunes coloured afresh.
  RequestRecolour(IsAbc ? RecolourFull : RecolourText);
  if (TMainWindow* w = MainWindow()) w->RedrawActiveTab();
}

namespace {

void DayClick() {
  DayColours();
  ShowFontCaptions();
  if (TMainWindow* w = MainWindow()) w->RedrawActiveTab();
}

}  // namespace

void DebugClick(const TMenuItem& item) {
  if (CurrentEditor)
    CurrentEditor->SetEditorColour(item.checked ? DebugBackground : NormalBackground);
  RequestRecolour(RecolourText);
  AnyCheck(item);
}

// ---- margins, tabs, content ----------------------------------------------------------

void MarginClick(const TMenuItem& item) {
  int millimetres = CurrentSettings().ReadInteger(kSystem, item.name, 0);
  if (!AskNumber("Enter value for " + item.name + " in millimetres", millimetres)) return;
  CurrentSettings().WriteInteger(kSystem, item.name, millimetres);
  ShowMsg("Margin value saved");
}

void TabWidthClick() {
  int width = TabWidth;
  if (!AskNumber("Enter maximum tab width (characters before the dot)", width)) return;
  TabWidth = width;
  CurrentSettings().WriteInteger(kSystem, "TabWidth", width);
  TMainWindow* w = MainWindow();
  if (!w) return;
  // Every tab's caption follows the new width.
  for (int tab = 0; tab < w->TabCount(); ++tab) {
    TMyRich* editor = w->TabEditor(tab);
    const TDocument* document = DocumentAt(editor ? editor->Tag() : -1);
    if (!document) continue;
    std::string hint;
    const std::string caption = TabCaptionFor(document->FileName, TabWidth, &hint);
    w->SetTabCaption(tab, caption, hint);
  }
}

void ContentIdClick() {
  TIniFile& ini = CurrentSettings();
  std::string id = ini.ReadString(kSystem, "ContentId", DefaultContentId);
  if (!UserDialogs().InputQuery("Quorrel", "Enter identifier for \"Web | Update content\"", id,
                                false)) {
    return;
  }
  if (id.empty()) {
    ini.DeleteKey(kSystem, "ContentId");
  } else {
    ini.WriteString(kSystem, "ContentId", UpperCaseLatin1(id) == "<BODY>" ? "body" : id);
  }
  ShowStatus("ContentId saved.");
}

// ---- options that switch each other -------------------------------------------------

void DelBlanksClick(const TMenuItem& item) {
  if (!item.checked && MainMenu().Checked("Condense")) {
    MainMenu().SetChecked("Condense", false);
    AskOkHelpCancel("I have also switched off Options | Condense on upload.", DeleteBlankLinesHelp);
  }
  AnyCheck(item);
}

void CondenseClick(const TMenuItem& item) {
  if (item.checked && !MainMenu().Checked("DelBlanks")) {
    MainMenu().SetChecked("DelBlanks", true);
    AskOkHelpCancel("I have also switched on Validation | Delete blank lines.", CondenseHelp);
  }
  AnyCheck(item);
}

namespace {

void SmartphoneClick(const TMenuItem& item) {
  MainMenu().SetChecked("Smartphone",
                        MainMenu().Checked("Portrait") || MainMenu().Checked("Landscape"));
  AnyCheck(item);
}

void NoBorderClick(const TMenuItem& item) {
  if (TMainWindow* w = MainWindow()) {
    w->SetNoBorder(item.checked);
    w->RedrawActiveTab();
  }
  AnyCheck(item);
}

void MultiRowClick(const TMenuItem& item) {
  if (TMainWindow* w = MainWindow()) w->SetMultiRowTabs(item.checked);
  AnyCheck(item);
}

}  // namespace

// ---- zoom -------------------------------------------------------------------------

namespace {

void SetZoom(int percent) {
  MainMenu().SetCaption("Zoom", "Zoom:   " + std::to_string(percent) + "%");
  if (CurrentEditor) CurrentEditor->SetZoom(percent);
}

}  // namespace

void ZoomClick(const TMenuItem& item) {
  MainMenu().SetChecked(item.name, true);
  CurrentSettings().WriteInteger(kSystem, "Zoom", item.tag);
  SetZoom(item.tag);
}

void ApplyStoredZoom() {
  const std::string name = "Z" + CurrentSettings().ReadString(kSystem, "Zoom", "100");
  if (TMenuItem* item = MainMenu().Find(name)) {
    MainMenu().SetChecked(name, true);
    SetZoom(item->tag);
  }
}

void ZoomPopupClick() {
  if (!CurrentEditor) return;
  const int stored = CurrentSettings().ReadInteger(kSystem, "Zoom", 100);
  CurrentEditor->SetZoom(CurrentEditor->Zoom() == PopupZoom ? stored : PopupZoom);
}

// ---- browser --------------------------------------------------------------------

void BrowserOClick() {
  std::string path = OtherBrowserPath.empty() ? FindProgram("xdg-open") : OtherBrowserPath;
  FileDialogCall call;
  call.title = "Specify the other browser you want to use";
  call.filter = "Programs|*";
  call.folder = ExtractFilePath(path);
  if (!UserDialogs().FileDialog(call, path)) {
    MainMenu().SetChecked("BrowserI", true);
    return;
  }
  OtherBrowserPath = path;
  CurrentSettings().WriteString(kSystem, "OBrowser", path);
}

void SetBrowserEmulation() {
  TRegistry registry(TRootKey::LocalMachine);
  for (const char* key : BrowserEmulationKeys) {
    if (!registry.OpenKey(key, true)) continue;
    if (!registry.ValueExists(BrowserEmulationValueName) ||
        registry.ReadString(BrowserEmulationValueName) != BrowserEmulationValue) {
      try {
        registry.WriteString(BrowserEmulationValueName, BrowserEmulationValue);
      } catch (const ERegistryError&) {
        // Only the preview browser of another platform reads it: nothing is lost.
      }
    }
    registry.CloseKey();
  }
}

// ---- the menu ---------------------------------------------------------------------

void InstallOptionsCommands() {
  for (const char* name : kColourItems) Handle(name, ColourClick);
  MainMenu().SetHandler("Day", [](const TMenuItem&) { DayClick(); });
  MainMenu().SetHandler("Night", [](const TMenuItem&) { NightClick(false); });
  MainMenu().SetHandler("RestoreAll", [](const TMenuItem&) { NightClick(true); });
  Handle("FontM", FontMClick);
  Handle("PrFontM", PrFontMClick);
  Handle("RTFFont", RTFFontClick);
  for (const char* name : kMarginItems) Handle(name, MarginClick);
  Handle("TabWidthM", TabWidthClick);
  Handle("ContentId", ContentIdClick);
  MainMenu().SetHandler("EditIni",
                        [](const TMenuItem&) { OpenThis(CurrentSettings().FileName()); });
  // "Show unwanted" shows the unwanted-file list, which sets the option from its own
  // check box; until that form exists the item is greyed.
  MainMenu().SetEnabled("Unwanted", false);
  Handle("DelBlanks", DelBlanksClick);
  Handle("Condense", CondenseClick);
  Handle("Debug", DebugClick);
  Handle("NoBorder", NoBorderClick);
  Handle("MultiRow", MultiRowClick);
  Handle("Portrait", SmartphoneClick);
  Handle("Landscape", SmartphoneClick);
  for (const char* name : kZoomItems) Handle(name, ZoomClick);
  Handle("BrowserO", BrowserOClick);
}

}  // namespace quorrel
