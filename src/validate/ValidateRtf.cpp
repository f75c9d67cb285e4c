#include "validate/ValidateRtf.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "platform/Desktop.h"
#include "platform/ResetRegistry.h"
#include "platform/RtfCompose.h"
#include "platform/RtfModel.h"
#include "platform/RtfParse.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/RtfTidy.h"
#include "shell/RtfView.h"
#include "shell/StatusBar.h"
#include "validate/RtfMends.h"
#include "validate/RtfParagraphs.h"
#include "validate/RtfWordCount.h"
#include "validate/ScriptChecks.h"
#include "validate/TextMarkers.h"

namespace quorrel {

bool RtfHasTables = false;

namespace {

// The user's answer to the Polish markers question, asked once a session.
std::optional<bool> removePolish;

// The text of an RTF document as the editor shows it, and where each run of a
// text colour starts in it.
struct TShownText {
  std::string text;
  std::vector<std::pair<size_t, int>> colours;  // offset, 0x00BBGGRR or -1

  int ColourAt(size_t offset) const {
    auto it = std::upper_bound(colours.begin(), colours.end(), offset,
                               [](size_t at, const auto& run) { return at < run.first; });
    return it == colours.begin() ? -1 : std::prev(it)->second;
  }
};

TShownText ShownText(const TRtfDocument& document) {
  TShownText shown;
  shown.text = RtfPlainText(document);
  size_t at = 0;
  for (const TRtfParagraph& paragraph : document.paragraphs) {
    for (const TRtfRun& run : paragraph.runs) {
      const int colour = run.format.color < 0 ? -1 : BgrOfRgb(run.format.color);
      if (shown.colours.empty() || shown.colours.back().second != colour) {
        shown.colours.emplace_back(at, colour);
      }
      at += run.text.size();
    }
    at += 2;  // CR LF
  }
  return shown;
}

TParagraphOptions MenuOptions() {
  TMenuModel& menu = MainMenu();
  return {menu.Checked("ValSave"), menu.Checked("CheckQuotes"), menu.Checked("CheckBrackets")};
}

// The section to check: the selection, or the whole text when nothing is selected.
std::pair<size_t, size_t> SectionOf(const TPage& page, size_t textSize) {
  const size_t from = std::min(page.caret, textSize);
  if (page.selectionLength == 0) return {0, textSize};
  return {from, std::min(page.selectionLength, textSize - from)};
}

// Editor positions count one per paragraph end where the shown text has CR LF.
size_t PositionOf(const std::string& text, size_t offset) {
  size_t lineEnds = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos && at < offset;
       at = text.find("\r\n", at + 2)) {
    ++lineEnds;
  }
  return offset - lineEnds;
}

// The source with the mends the user agrees to.
std::string Mended(std::string source, TDocumentKind kind) {
  RtfHasTables = HasRtfTables(source);
  if (HasPolishMarkers(source)) {
    if (!removePolish) removePolish = AskYesNoHelp(PolishMarkersQuestion, PolishMarkersHelp);
    if (*removePolish) source = WithoutLanguageMarkers(source);
  }
  if (kind == TDocumentKind::DotPage) {
    source = WithoutTripleBlankLines(source);
    if (HasStyleEndAfterMark(source) && AskYesNoHelp(StyleEndQuestion, StyleEndHelp)) {
      source = StyleEndsBeforeMarks(source);
    }
  }
  return source;
}

// The source with its word count brought up to date, when it gives one.
std::string WithWordCount(const std::string& source, TRtfDocument document) {
  const std::string text = RtfPlainText(document);
  const std::optional<TWordCountField> field = FindWordCount(text);
  if (!field) return source;
  // Counted as the Word count command counts the document: its text with a line end.
  const std::string count = FormatWordCount(CountWords(text + "\r\n"));
  if (text.compare(field->offset, field->length, count) == 0) return source;
  // Typed in after the number's first figure, the count takes that figure's format;
  // then the old figures go.
  const size_t pos = PositionOf(text, field->offset);
  const std::u16string figures = RtfTextOfAnsi(count);
  RtfReplace(document, pos + 1, 0, figures);
  RtfReplace(document, pos + 1 + figures.size(), field->length - 1, u"");
  RtfReplace(document, pos, 1, u"");
  return ComposeRtf(document);
}

}  // namespace

TValidation ValidateRtf(const TPage& page) {
  TValidation result;
  const TShownText shown = ShownText(ParseRtf(page.text));
  const std::pair<size_t, size_t> range = SectionOf(page, shown.text.size());
  const size_t from = range.first;
  const std::string_view section = std::string_view(shown.text).substr(from, range.second);
  if (!HasTextMarker(TTextMarker::RtfNoValidate, section)) {
    const auto fault = CheckParagraphs(
        section, MenuOptions(), [&](size_t offset) { return shown.ColourAt(from + offset); });
    if (fault) {
      result.paragraph = TParagraphView{fault->message, ParagraphForViewer(*fault), fault->marks,
                                        from + fault->offset};
      return result;
    }
  }
  std::string mended = Mended(page.text, page.kind);
  std::vector<std::string> undefined;
  if (page.kind == TDocumentKind::Script) {
    TRtfDocument script = ParseRtf(mended);
    const TRtfDocument read = script;
    TScriptCheck check = CheckScript(script, IsCompactScriptSource(mended));
    if (check.error) {
      result.error = std::move(check.error);
      return result;
    }
    // Source from another writer stays as it is unless the script needed mending.
    if (!(script == read)) mended = ComposeRtf(script);
    undefined = std::move(check.undefined);
  }
  const std::string counted = WithWordCount(mended, ParseRtf(mended));
  if (counted != page.text) result.text = counted;
  if (!undefined.empty()) {
    const std::string list = UndefinedCharactersList(undefined);
    Desktop().SetClipboardText(list);
    ShowMsg(UndefinedCharactersMessage + list);
  }
  result.status = ValidatedStatus;
  return result;
}

void ResetValidateRtf() {
  RtfHasTables = false;
  removePolish.reset();
}

namespace {
const TResetEntry resetValidateRtf(ResetValidateRtf);
}  // namespace

}  // namespace quorrel
