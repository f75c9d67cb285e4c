// New documents of each kind, and the steps that end every open.
#include "commands/IdleLoop.h"
#include "commands/OpenSteps.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/ClassifyDocument.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/DocumentsPending.h"
#include "shell/FileRoutines.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "shell/TextFiles.h"
#include "validate/ColourSyntax.h"

namespace quorrel {

const char NewHtmlTemplate[] =
    "<HTML>\r\n<Head>\r\n  <Title>Untitled page</Title>\r\n</Head>\r\n<Body>\r\n</Body>\r\n"
    "</HTML>\r\n";

std::string NewScriptSource() {
  // The compact layout of a radio play: headings and speeches as "NAME:", a tab
  // and the words. The contact lines are left for the author to fill in.
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans "
         "Serif;}}\r\n"
         "{\\colortbl ;\\red0\\green0\\blue0;}\r\n"
         "\\viewkind4\\uc1\\pard\\qc\\sb60\\sa60\\b\\f0\\fs24 Title\\b0\r\n"
         "\\par A play for radio by\r\n"
         "\\par Author\r\n"
         "\\par \\pard\\sb60\\sa60\r\n"
         "\\par \r\n"
         "\\par \r\n"
         "\\par \r\n"
         "\\par Characters\r\n"
         "\\par CHAR:\\tab Description...\r\n"
         "\\par \r\n"
         "\\par Running time\r\n"
         "\\par ?? minutes.\r\n"
         "\\par \r\n"
         "\\par Scene:  Description...\r\n"
         "\\par \r\n"
         "\\par CHAR:\\tab ...\r\n"
         "\\par }";
}

void OpenNewDocument(const TOpenRun& run) {
  TMyRich& editor = *CurrentEditor;
  const std::string& kind = run.sender;
  if (kind == "CopyFrom") {
    const std::string wanted = HighestFolder + "Template.htm";
    const std::string found = ResolveNoCase(wanted);
    if (found.empty()) {
      ShowMsg(wanted + "\rdoes not exist.");
      return;
    }
    editor.SetSelText(ReadTextFile(found));
  } else if (kind == "NewHTM") {
    editor.SetText(NewHtmlTemplate);
  } else if (kind == "NewSCR") {
    editor.SetEditorFont("MS Sans Serif", 12, false);
    editor.SetPlainText(false);
    editor.SetRtfSource(NewScriptSource());
    CurrentCommand = "ScriptMenu";
  } else if (kind == "NewABC") {
    MainMenu().Click("NewTune");
  } else if (kind == "NewRTF") {
    AddCurrentKind(TDocumentKind::Rtf);
    editor.SetPlainText(false);
    const std::string font =
        SettingsIni ? SettingsIni->ReadString("Text", "RTFFont", "Calibri") : "Calibri";
    editor.SetEditorFont(font, 12, false);
  }
  editor.Select(0, 0);
  DocModified = true;
  GetEditorText();
  ClassifyDocument();
  FinishOpen();
}

void FinishOpen() {
  if (!CurrentEditor) return;
  RequestRecolour(RecolourFull);
  CurrentEditor->SetSchemeDue(true);
  FocusEditor();
  CurrentEditor->SetModified(false);
  if (AppPhase != PhaseRunning) return;
  ShowInfo();
  if (RecolourDue() && CurrentExt != ".PHP") ApplySyntaxColours();
  if (!NotInSite) CheckServer();
  const std::string outer = CurrentCommand;
  CurrentCommand = "Open";
  PCChange();
  CurrentCommand = outer;
}

}  // namespace quorrel
