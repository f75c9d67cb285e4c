#include "commands/ValidateCommands.h"

#include "commands/ValidateCurrentFile.h"
#include "platform/Paths.h"
#include "publish/Connection.h"
#include "shell/ClassifyDocument.h"
#include "shell/CommandNames.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/ColourSyntax.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

// Commands that recolour on their own once they are through.
bool RecoloursItself(const std::string& command) {
  return command == "Play" || command == "UpMenu" || command == "ValAll";
}

}  // namespace

void ValidateClick(const std::string& sender) {
  if (!CurrentEditor) return;
  std::string command = sender;
  // A foreign document (from the browser cache, say) or a scratch file is only
  // brought into shape: there is no site to check it against.
  if (NotInSite || UpperCaseAnsi(ChangeFileExt(ExtractFileName(CurrentFileName), "")) == "TEMP") {
    command = "Reformat";
  }
  // However the validation ends, a connecting window left open (a connect that
  // was waiting when this command began) does not stay over the result.
  struct TCloseConnectWindow {
    ~TCloseConnectWindow() { CloseConnectWindow(); }
  } closeConnectWindow;
  GetEditorText();
  ClassifyDocument();
  ValidateCurrentFile(command);
  if (!RecoloursItself(sender) && !RecoloursItself(CurrentCommand) && !IsContentDoc) {
    RequestRecolour(RecolourFull);
  }
}

void ValAllClick() {
  ValidateFolder(ValidateAllPatterns);
}

void InstallValidationCommands() {
  TMenuModel& menu = MainMenu();
  for (const char* name : {"Validate", "NoReformat", "Reformat"}) {
    menu.SetHandler(name, [](const TMenuItem& item) { ValidateClick(item.name); });
  }
  menu.SetHandler("ValAll", [](const TMenuItem&) { ValAllClick(); });
}

}  // namespace quorrel
