#include "commands/CompositionRoot.h"

#include <string>

#include "commands/AbcEditCommands.h"
#include "commands/Activation.h"
#include "commands/BuildCommands.h"
#include "commands/ColourCommands.h"
#include "commands/ClipboardCommands.h"
#include "commands/CompareCommands.h"
#include "commands/CountCommands.h"
#include "commands/EditCommands.h"
#include "commands/Exit.h"
#include "commands/FileMenuCommands.h"
#include "commands/FindClick.h"
#include "commands/HelpMenuCommands.h"
#include "commands/InsertCommands.h"
#include "commands/LibraryCommands.h"
#include "commands/IndentMode.h"
#include "commands/OpenCommand.h"
#include "commands/OpenDocs.h"
#include "commands/OptionsMenu.h"
#include "commands/PrintCommand.h"
#include "commands/SpellCheck.h"
#include "commands/StartUp.h"
#include "commands/TransferCommands.h"
#include "commands/TextInserts.h"
#include "commands/TextStyles.h"
#include "commands/ValidateCommands.h"
#include "commands/ValidateCurrentFile.h"
#include "commands/ViewCommands.h"
#include "edit/GoTo.h"
#include "edit/Markers.h"
#include "edit/NbspAndComments.h"
#include "edit/Sections.h"
#include "edit/SpecialChars.h"
#include "edit/TwoSpaces.h"
#include "music/AbcTools.h"
#include "platform/Launcher.h"
#include "publish/Connection.h"
#include "publish/SiteDetails.h"
#include "publish/BulkRun.h"
#include "publish/ServerWindow.h"
#include "publish/SiteDetailsDialog.h"
#include "shell/Commands.h"
#include "shell/DBoxUnit.h"
#include "shell/FileAssociations.h"
#include "shell/FileSets.h"
#include "shell/Hooks.h"
#include "shell/MenuModel.h"
#include "shell/MyException.h"
#include "shell/RtfView.h"
#include "shell/Settings.h"
#include "validate/HtmlPageSteps.h"

namespace quorrel {

void InstallHooks() {
  LoadServerDetailsHook.Set([](const std::string& path) { return LoadServerDetails(path); });
  CheckServerCopyHook.Set([] {
    CheckServerCopy();
    ShowServerComparison();
  });
  ServerComparisonHook.Set([] { ServerComparisonOfTab(); });
  ActivateHook.Set([] { MyActivate(); });
  ValidateHook.Set([](const std::string& sender) { ValidateClick(sender); });
  ValidateDocumentHook.Set([](const std::string& sender) { ValidateCurrentFile(sender); });
  OpenBySenderHook.Set([](const std::string& sender) { OpenClick(sender); });
  OpenThisHook.Set([](const std::string& path) { OpenThis(path); });
  OpenTextHook.Set([](const std::string& text) { OpenText(text); });
  // Leaving a document: the next server page finds its site's dialect again, and
  // indent mode ends with the document it worked on.
  DocumentLeftHook.Set([] {
    HtmlDialect = ' ';
    EndIndentMode();
  });
  RecentMenuHook.Set([] { FillRecentMenu(); });
  SaveMarkersHook.Set([] { SaveMarkers(); });
  ClearMarkerPositionsHook.Set([] { ClearMarkerPositions(); });
  MarkersBelongToHook.Set([](const std::string& path) { return MarkersBelongTo(path); });
  LoadMarkersHook.Set([](const std::string& path) { LoadMarkers(path); });
  ExitHook.Set([](const std::string& sender) { ExitClick(sender); });
  SpecialClickHook.Set([](bool findField) { SpecialClick(findField); });
  // The desktop's opener runs on after the command: when it cannot hand the
  // document or address over, the user learns it from a message, not from nothing.
  SetShellOpenFailed(
      [](const std::string& program, const std::string& target, const std::string& detail) {
        RunGuarded([&] {
          ShowMsg(program + " could not open " + target + (detail.empty() ? "." : ":\r" + detail));
        });
      });
}

void InstallHandlers() {
  InstallHooks();
  InstallMyException();
  InstallExitCommands();
  InstallSettingsCommands();
  InstallFileSetCommands();
  InstallConnectionCommands();
  InstallServerDetailsCommand();
  InstallServerWindowCommand();
  InstallBulkRunCommands();
  MainMenu().SetHandler("ControlPanel", [](const TMenuItem&) { OpenControlPanel(true); });
  MainMenu().SetHandler("ControlPanelBrowser", [](const TMenuItem&) { OpenControlPanel(false); });
  InstallRtfViewCommands();
  InstallAbcToolCommands();
  InstallAbcEditCommands();
  // The ABC menu finds the music programs as it opens.
  MainMenu().SetHandler("ABCMenu", [](const TMenuItem&) { ABCClick(); });
  InstallOpenCommands();
  InstallSaveCommands();
  InstallValidationCommands();
  InstallBuildCommands();
  InstallLibraryCommands();
  InstallMarkerCommands();
  InstallGotoCommands();
  InstallSectionCommands();
  InstallTransferCommands();
  InstallFindCommands();
  InstallSpellCheckCommand();
  InstallTextStyleCommands();
  InstallTextInsertCommands();
  InstallClipboardCommands();
  InstallTwoSpacesCommand();
  InstallEditCommands();
  InstallCountCommands();
  InstallHelpMenuCommands();
  MainMenu().SetHandler("AddNbsp", [](const TMenuItem&) { AddNbspClick(); });
  MainMenu().SetHandler("ConvCom", [](const TMenuItem&) { ConvComClick(); });
  InstallSpecialCommand();
  InstallFileAssCommand();
  InstallInsertCommands();
  InstallOptionsCommands();
  InstallColourCommands();
  InstallPrintCommand();
  InstallCompareCommands();
  InstallViewCommands();
}

}  // namespace quorrel
