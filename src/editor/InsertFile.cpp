#include "editor/InsertFile.h"

#include <algorithm>
#include <iterator>

#include "editor/Documents.h"
#include "editor/MyRich.h"
#include "editor/RtfView.h"
#include "editor/ShellState.h"
#include "editor/TextFiles.h"
#include "editor/WPFormat.h"
#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/RtfCompose.h"
#include "platform/RtfParse.h"
#include "validate/ColourSyntax.h"

namespace quorrel {

namespace {

size_t ParagraphLength(const TRtfParagraph& paragraph) {
  size_t length = 0;
  for (const TRtfRun& run : paragraph.runs) length += run.text.size();
  return length;
}

// Splits a paragraph's runs at an offset.
void SplitRuns(const std::vector<TRtfRun>& runs, size_t offset, std::vector<TRtfRun>& before,
               std::vector<TRtfRun>& after) {
  for (const TRtfRun& run : runs) {
    if (offset >= run.text.size()) {
      before.push_back(run);
      offset -= run.text.size();
    } else if (offset == 0) {
      after.push_back(run);
    } else {
      before.push_back(TRtfRun{run.text.substr(0, offset), run.format});
      after.push_back(TRtfRun{run.text.substr(offset), run.format});
      offset = 0;
    }
  }
}

void Append(TRtfParagraph& paragraph, const std::vector<TRtfRun>& runs) {
  for (const TRtfRun& run : runs) AppendRun(paragraph, run.text, run.format);
}

bool StartsWithRtf(const std::string& text) {
  return text.compare(0, 5, "{\\rtf") == 0;
}

// 0x00BBGGRR as RTF's 0xRRGGBB.
int32_t RgbOf(int colour) {
  return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

}  // namespace

std::string InsertFilter() {
  if (IsRtf) return "All files|*.*|RTF files|*.rtf|HTML files|*.htm*";
  if (IsPhp) return "All files|*.*|PHP files|*.php*|HTML files|*.htm*";
  if (IsServerPage) return "All files|*.*|ASP files|*.asp*|HTML files|*.htm*";
  return CurrentExt + " files|*" + CurrentExt + "|All files|*.*";
}

void RtfInsertDocument(TRtfDocument& target, size_t pos, size_t length,
                       const TRtfDocument& insert) {
  if (insert.paragraphs.empty()) return;
  RtfReplace(target, pos, length, u"");
  size_t index = 0;
  for (; index + 1 < target.paragraphs.size(); ++index) {
    const size_t paragraphLength = ParagraphLength(target.paragraphs[index]);
    if (pos <= paragraphLength) break;
    pos -= paragraphLength + 1;
  }
  const TRtfParagraph host = target.paragraphs[index];
  std::vector<TRtfRun> head, tail;
  SplitRuns(host.runs, std::min(pos, ParagraphLength(host)), head, tail);

  std::vector<TRtfParagraph> made(insert.paragraphs.begin(), insert.paragraphs.end());
  // The first inserted paragraph joins the text before the position; its mark is
  // the inserted one unless the insert is a single paragraph, which takes the host's.
  TRtfParagraph& first = made.front();
  std::vector<TRtfRun> firstRuns = std::move(first.runs);
  first.runs.clear();
  Append(first, head);
  Append(first, firstRuns);
  if (made.size() == 1) first.format = host.format;
  // The last one carries the rest of the host paragraph and the host's mark.
  TRtfParagraph& last = made.back();
  Append(last, tail);
  if (made.size() > 1) {
    last.format = host.format;
    if (last.runs.empty()) last.markFormat = host.markFormat;
  }
  for (TRtfParagraph& paragraph : made) {
    if (!paragraph.runs.empty()) paragraph.markFormat = paragraph.runs.front().format;
  }
  target.paragraphs.erase(target.paragraphs.begin() + static_cast<long>(index));
  target.paragraphs.insert(target.paragraphs.begin() + static_cast<long>(index), made.begin(),
                           made.end());
}

void ColourAutomaticText(TRtfDocument& document, int colour) {
  const int32_t rgb = RgbOf(colour);
  for (TRtfParagraph& paragraph : document.paragraphs) {
    if (paragraph.markFormat.color == -1) paragraph.markFormat.color = rgb;
    for (TRtfRun& run : paragraph.runs) {
      if (run.format.color == -1) run.format.color = rgb;
    }
  }
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
    TRtfDocument document = ParseRtf(GetRtfSource(*editor));
    TRtfDocument inserted = ParseRtf(text);
    // Black is what text without a colour of its own shows anyway.
    if (editor->TextColour() != 0) ColourAutomaticText(inserted, editor->TextColour());
    RtfInsertDocument(document, start, length, inserted);
    SetRtfSource(ComposeRtf(document), *editor);
    editor->Select(start + RtfLength(inserted), 0);
    editor->SetModified(true);
  } else {
    // Into plain text an RTF file goes as the text it shows.
    if (StartsWithRtf(text)) text = RtfPlainText(ParseRtf(text));
    editor->Select(start, length);
    editor->SetSelText(text);
  }
  DocModified = true;
  RequestRecolour(1);
}

}  // namespace quorrel
