#include "validate/ColourSyntax.h"

#include <cstdlib>

#include "edit/Sections.h"
#include "music/MidiRatio.h"
#include "music/TunePrep.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "shell/ClassifyDocument.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "validate/ColourHtml.h"
#include "validate/ColourNames.h"
#include "validate/ColourRuns.h"
#include "validate/ColourScheme.h"
#include "validate/ColourTypes.h"
#include "validate/ScriptDelimiters.h"

namespace quorrel {

std::string PendingMessage;
size_t PendingMessageOffset = 0;

namespace {

// Longer texts keep their blanks before line ends.
constexpr size_t kTrimLimit = 1000000;
// The background of documents in the temporary folder.
constexpr int kTempBackground = 0x1B2F43;
// URLs are looked for only in texts longer than this.
constexpr size_t kUrlMinimum = 12;

bool Checked(const char* name) {
  TMenuItem* item = MainMenu().Find(name);
  return item && item->checked;
}

// The start offsets of the sections listed for the current document.
std::vector<size_t> SectionOffsets() {
  std::vector<size_t> offsets;
  for (const std::string& entry : SectionLines) {
    char* end = nullptr;
    unsigned long long value = std::strtoull(entry.c_str(), &end, 10);
    if (end != entry.c_str() && *end == '\0') offsets.push_back(static_cast<size_t>(value));
  }
  return offsets;
}

// Where a server page's colouring begins: the section holding the caret.
size_t SectionStart(size_t caretOffset) {
  size_t start = 0;
  for (size_t offset : SectionOffsets()) {
    if (offset <= caretOffset && offset > start) start = offset;
  }
  return start;
}

// Removes every blank that stands before a line end, as one edit of the editor,
// and moves the selection [selStart, selEnd) with the text. False when there was
// none.
bool RemoveBlanksBeforeLineEnds(TMyRich& editor, size_t& selStart, size_t& selEnd) {
  if (CurrentText.find(" \n") == std::string::npos &&
      CurrentText.find(" \r") == std::string::npos) {
    return false;
  }
  std::string text = editor.GetText();
  // One character per line end, as the editor counts positions.
  std::string lf;
  lf.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lf += text[i];
  }
  struct TRange {
    size_t from, to;
  };
  std::vector<TRange> removed;
  for (size_t i = lf.find(" \n"); i != std::string::npos; i = lf.find(" \n", i + 2)) {
    size_t from = i;
    while (from > 0 && lf[from - 1] == ' ') --from;
    if (!removed.empty() && removed.back().to >= from) continue;
    removed.push_back({from, i + 1});
  }
  if (removed.empty()) return false;
  const size_t first = removed.front().from, last = removed.back().to;
  std::string span;
  span.reserve(last - first);
  size_t at = first;
  for (const TRange& r : removed) {
    span.append(lf, at, r.from - at);
    at = r.to;
  }
  auto moved = [&](size_t pos) {
    size_t shift = 0;
    for (const TRange& r : removed) {
      if (r.from >= pos) break;
      shift += std::min(pos, r.to) - r.from;
    }
    return pos - shift;
  };
  selStart = moved(selStart);
  selEnd = moved(selEnd);
  editor.Select(first, last - first);
  editor.SetSelText(span);
  return true;
}

// Lays the runs of the current document's kinds over the editor's text.
void ColourText(TMyRich& editor, int request, int defaultColour, bool keepRuns) {
  auto colours = [](TColouring colouring) { return KindsColour(CurrentKinds(), colouring); };
  // The sections of pages and scripts tell where to colour and what.
  if (SectionLines.empty() && !IsContentDoc && !SectionsBoxShowing() &&
      (IsServerPage || colours(TColouring::Script) || colours(TColouring::Vba))) {
    SectionsClick("");
  }
  TScanText scan(CurrentText);
  std::vector<TColourRun> fresh;
  size_t from = 0, to = scan.length;
  // The old runs in [clearFrom, clearTo) give way to the fresh ones.
  size_t clearFrom = 0, clearTo = scan.length;

  if (colours(TColouring::Abc)) {
    // A ratio directive in the file header serves every tune: no need to offer one.
    size_t lf = PosNoCase("\nX:", CurrentText);
    bool header = lf > 0 && PosNoCase("X:", std::string_view(CurrentText).substr(0, 2)) == 0;
    if (header && PosNoCase("%%MIDI ratio", std::string_view(CurrentText).substr(0, lf)) > 0) {
      RatioOffered = true;
    }
    // Only the tune at the caret is coloured, on every request: a document of one
    // tune would otherwise stay uncoloured until the caret moved into another.
    // The other tunes keep the colours they got while the caret was in them.
    FindTuneStart();
    clearFrom = std::min(TuneStart > 0 ? TuneStart - 1 : 0, scan.length);
    clearTo = std::min(std::max<size_t>(TuneBounds[0], clearFrom), scan.length);
    fresh = AbcRuns(scan, clearFrom, clearTo, defaultColour);
    if (request == RecolourAbcTune) {
      from = clearFrom;
      to = clearTo;
    }
  }
  if (colours(TColouring::Script) || colours(TColouring::Vba)) {
    fresh = OverlayRuns(fresh, SectionLineRuns(scan, SectionOffsets(), false));
    if (colours(TColouring::Vba)) fresh = OverlayRuns(fresh, VbaRuns(scan, defaultColour));
  }
  if (colours(TColouring::PlainText)) {
    fresh = OverlayRuns(fresh, PlainTextRuns(scan, defaultColour));
  }
  if (colours(TColouring::CssComments) && !Checked("ColourCSS")) {
    fresh = OverlayRuns(fresh, CommentRuns(scan, "/*", "*/", defaultColour));
  }
  if (colours(TColouring::Ini)) fresh = OverlayRuns(fresh, IniRuns(scan, defaultColour));
  if (colours(TColouring::XmlComments)) {
    fresh = OverlayRuns(fresh, CommentRuns(scan, "<!--", "-->", defaultColour));
  }

  if (colours(TColouring::Html)) {
    THtmlColourOptions options;
    options.serverStart = ServerScriptStart;
    options.serverEnd = ServerScriptEnd;
    options.php = IsPhp;
    options.trackNames = IsAsp || IsPhp;
    options.pageFolder = CurrentFolder;
    options.reportUnused = IsAsp && ExtractFileName(CurrentFileName).rfind("Untitled", 0) != 0;
    // The whole page is read, so that the names it declares and the block a section
    // starts in are known; a server page is coloured from the section at the caret.
    THtmlColouring html = HtmlRuns(scan, options, defaultColour);
    if (IsServerPage) from = clearFrom = SectionStart(TextOffsetOf(editor.SelStart()));
    fresh = OverlayRuns(fresh, html.runs);
    if (html.depth > 0) ColourStatus("Colour syntax error: Level=" + std::to_string(html.depth));
    if (options.trackNames) {
      PendingMessage = html.message;
      PendingMessageOffset = html.message.empty() ? 0 : html.messageOffset + 1;
    }
    if (IsPhp) {
      std::vector<size_t> sections;
      for (size_t offset : SectionOffsets()) {
        if (offset >= from) sections.push_back(offset);
      }
      fresh = OverlayRuns(fresh, SectionLineRuns(scan, sections, true));
    }
  }
  if (from > 0 || to < scan.length) fresh = RunsInside(fresh, from, to);
  if (scan.length > kUrlMinimum) fresh = OverlayRuns(fresh, UrlRuns(scan, from, to));

  TOffsetMap map(CurrentText);
  std::vector<TColourRun> runs = RunsToPositions(fresh, map);
  std::vector<TColourRun> kept;
  if (keepRuns) {
    kept = editor.ColourRuns();
    // To the end of the text means to the end of the editor's text, whatever it holds.
    size_t end = clearTo >= scan.length ? static_cast<size_t>(-1) : map.PosOf(clearTo);
    kept = RunsOutside(kept, map.PosOf(clearFrom), end);
  }
  editor.SetColourRuns(OverlayRuns(kept, runs));
}

}  // namespace

void ColourStatus(const std::string& message) {
  ShowStatus(message);
}

void ApplySyntaxColours() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  // A document that never had its full colouring gets it, whatever was asked.
  const int request = editor->SchemeDue() ? RecolourFull : RecolourRequest;
  editor->SetSchemeDue(false);
  if (editor->TextLength() == 0 && request != RecolourFull) return;
  TColourScheme& scheme = ColourScheme;

  editor->SetRedraw(false);
  const size_t selStart = editor->SelStart(), selLength = editor->SelLength();
  size_t newStart = selStart, newEnd = selStart + selLength;
  const int defaultColour =
      CurrentKind() == TDocumentKind::VbScript ? scheme.vbScript : scheme.defaultColour;
  const bool modified = editor->Modified();
  GetEditorText();
  ScriptDelimiters();
  const bool raw = Checked("Raw");

  if (IsRtf && !raw && editor->EditorColour() == scheme.background) {
    editor->SetEditorColour(0xFFFFFF);
  }
  bool keepRuns = true;
  if (request == RecolourFull && (!IsRtf || raw)) {
    if (SettingsIni)
      scheme.background = SettingsIni->ReadInteger("Text", "Background", scheme.background);
    editor->SetEditorColour(InTempFolder(CurrentFileName) ? kTempBackground : scheme.background);
    editor->SetTextColour(defaultColour);
    if (CurrentText.size() < kTrimLimit && !raw &&
        RemoveBlanksBeforeLineEnds(*editor, newStart, newEnd)) {
      DocModified = true;
      GetEditorText();
    }
    if (!IsServerPage) {
      editor->SetEditorFont(scheme.fontName, scheme.fontSize, scheme.fontBold);
      keepRuns = false;
    }
  }
  if (!IsRtf) {
    ColourText(*editor, request, defaultColour, keepRuns);
  } else if (!keepRuns) {
    editor->SetColourRuns({});
  }

  editor->SetModified(modified);
  if (editor->SelStart() != newStart || editor->SelLength() != newEnd - newStart) {
    editor->Select(newStart, newEnd - newStart);
  }
  RecolourRequest = RecolourNone;
  if (IsAbc && selLength == 0) {
    // Finding the tune moves a caret that lies before the first tune to it; the
    // colouring leaves the caret where the user put it.
    FindTuneStart();
    if (Checked("TopOfTune")) {
      editor->Select(EditorPosOf(TuneStart > 0 ? TuneStart - 1 : 0), 0);
      editor->ScrollCaret();
    }
    editor->Select(newStart, 0);
    if (Checked("TopOfTune")) editor->ScrollCaret();
  }
  // The Colour-syntax command (menu item "CSyntax") shows its result at once.
  if (CurrentCommand == "CSyntax" || CurrentCommand == "ColourSyntax") editor->SetRedraw(true);
}

void ResetColouring() {
  RecolourRequest = RecolourNone;
  PendingMessage.clear();
  PendingMessageOffset = 0;
  ServerScriptStart = "<%";
  ServerScriptEnd = "%>";
  ResetColourScheme();
  ResetIncludeCache();
}

namespace {
const TResetEntry resetColouring(ResetColouring);
}  // namespace

}  // namespace quorrel
