#include "shell/InsertFile.h"

#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/RtfCompose.h"
#include "platform/RtfParse.h"
#include "shell/Documents.h"
#include "shell/MyRich.h"
#include "shell/Recolour.h"
#include "shell/RtfView.h"
#include "shell/ShellState.h"
#include "shell/TextFiles.h"
#include "shell/WPFormat.h"

namespace quorrel {

std::string InsertFilter() {
  if (IsRtf) return "All files|*.*|RTF files|*.rtf|HTML files|*.htm*";
  if (IsPhp) return "All files|*.*|PHP files|*.php*|HTML files|*.htm*";
  if (IsServerPage) return "All files|*.*|ASP files|*.asp*|HTML files|*.htm*";
  return CurrentExt + " files|*" + CurrentExt + "|All files|*.*";
}

void ColourAutomaticText(TRtfDocument& document, int colour) {
  const int32_t rgb = RgbOfBgr(colour);
  for (TRtfParagraph& paragraph : document.paragraphs) {
    if (paragraph.markFormat.color == -1) paragraph.markFormat.color = rgb;
    for (TRtfRun& run : paragraph.runs) {
      if (run.format.color == -1) run.format.color = rgb;
    }
  }
}

void InsertRtfDocument(TMyRich& editor, TRtfDocument inserted) {
  const size_t start = editor.SelStart();
  const size_t length = editor.SelLength();
  TRtfDocument document = ParseRtf(GetRtfSource(editor));
  // Black is what text without a colour of its own shows anyway.
  if (editor.TextColour() != 0) ColourAutomaticText(inserted, editor.TextColour());
  RtfInsertDocument(document, start, length, inserted);
  SetRtfSource(ComposeRtf(document), editor);
  editor.Select(start + RtfLength(inserted), 0);
  editor.SetModified(true);
}

void InsertFileClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  std::string path;
  if (!ShowFileDialog(InsertFilter(), CurrentFolder, false, path, "File to be inserted")) Abort();
  std::string text = ReadTextFile(path);
  if (text.empty()) return;

  std::string font = "FixedSys";
  int size = 9;
  if (SettingsIni) {
    font = SettingsIni->ReadString("Text", "Font", font);
    size = SettingsIni->ReadInteger("Text", "FontSize", size);
  }
  const std::string converted = WPFormatInsert(text, font, size);
  if (!converted.empty()) text = converted;

  const size_t start = editor->SelStart();
  const size_t length = editor->SelLength();
  const bool formatted = IsRtf && !editor->PlainText();
  if (formatted && StartsWithRtf(text)) {
    InsertRtfDocument(*editor, ParseRtf(text));
  } else {
    // Into plain text an RTF file goes as the text it shows.
    if (StartsWithRtf(text)) text = RtfPlainText(ParseRtf(text));
    editor->Select(start, length);
    editor->SetSelText(text);
  }
  DocModified = true;
  RequestRecolour(RecolourFull);
}

}  // namespace quorrel
