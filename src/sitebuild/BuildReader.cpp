#include "sitebuild/BuildReader.h"

#include <array>
#include <string>
#include <string_view>

#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildReaderSteps.h"
#include "sitebuild/BuildState.h"

namespace quorrel {

namespace {

// The characters with a named entity, and the names in the same order.
constexpr std::string_view kNamedChars =
    "\xA3\xBC\xBD\xBE\xE8\xE9\xEA\xFC\xDF\xE4\xB0\xF8\xF4\xF6\xC4\xE5";
constexpr std::string_view kNamedEntities =
    "pound;frac14;frac12;frac34;egrave;eacute;ecirc;uuml;szlig;auml;deg;oslash;ocirc;ouml;Auml;"
    "aring;";
constexpr unsigned char kNbspMark = 187;    // "»"
constexpr unsigned char kBulletMark = 169;  // "©"
constexpr char kBulletImage[] = R"(<Img Src="images/Bullet.gif" Width=7 Height=9 Alt="">)";

// Bytes 128 to 159 of Windows-1252 by their references: the numbers of those bytes
// name control characters in HTML. Curly double quotes and dashes never come here:
// they are read before as the control words for them are (AsPlainForm). The five
// bytes the code page leaves undefined become the replacement character.
constexpr std::array<std::string_view, 32> kWindowsRange = {
    "euro;",   "#65533;", "sbquo;",  "fnof;",   "bdquo;", "hellip;", "dagger;", "Dagger;",
    "circ;",   "permil;", "Scaron;", "lsaquo;", "OElig;", "#65533;", "#381;",   "#65533;",
    "#65533;", "lsquo;",  "rsquo;",  "ldquo;",  "rdquo;", "bull;",   "ndash;",  "mdash;",
    "tilde;",  "trade;",  "scaron;", "rsaquo;", "oelig;", "#65533;", "#382;",   "Yuml;"};

// A curly double quote reads as the plain one and a dash as "-", as "\ldblquote",
// "\rdblquote", "\endash" and "\emdash" do.
char AsPlainForm(char ch) {
  switch (static_cast<unsigned char>(ch)) {
    case 0x93:
    case 0x94:
      return '"';
    case 0x96:
    case 0x97:
      return '-';
    default:
      return ch;
  }
}

std::string NamedEntity(size_t index) {
  size_t start = 0;
  for (size_t i = 0; i < index; ++i) start = kNamedEntities.find(';', start) + 1;
  return std::string(kNamedEntities.substr(start, kNamedEntities.find(';', start) + 1 - start));
}

// An inch mark follows a number or a fraction entity such as "&frac12;", which ends
// the page: its "&frac" lies eight to four bytes from the end.
bool OutputEndsInNumber() {
  if (PageBuffer.empty()) return false;
  const char last = PageBuffer.back();
  if (last >= '0' && last <= '9') return true;
  const size_t n = PageBuffer.size();
  return n >= 8 && PageBuffer.compare(n - 8, 5, "&frac") == 0;
}

bool StartsTag(char next) {
  return (next >= 'A' && next <= 'Z') || (next >= 'a' && next <= 'z') || next == '/' || next == '!';
}

// The character as the page gets it; markup is followed so that quotes and
// typography leave attributes alone.
char Track(TBuildRun& run, char ch) {
  // A code block shows its tags as text.
  if (ch == '<' && !run.QuoteMode && StartsTag(PeekInput(run))) run.InMarkup = true;
  if (ch == '>') run.InMarkup = false;
  return ch;
}

}  // namespace

char ReadRtfChar(TBuildRun& run) {
  for (;;) {
    char ch = 0;
    bool fromSource = false;
    if (TakeUnread(ch)) return Track(run, ch);
    if (!NextInput(run, ch, fromSource)) {
      FlushPage(run);
      EndBuildRun(run);
      return ' ';
    }
    if (fromSource && ch == '.' && run.SourcePos >= 2 && run.RtfSource[run.SourcePos - 2] == '\n') {
      run.LineStartDot = true;
    }
    if (ch == '\\') {
      if (run.RawMode) {
        ReadRawEscape(run, ch);
        return ch;
      }
      if (ReadControlRun(run, ch)) return ch;
      continue;
    }
    if (run.RawMode) return ch;
    if (!run.NotesMode) ch = AsPlainForm(ch);
    // Only a tag typed in the source is checked; pushed markup was checked or made here.
    if (ch == '<' && fromSource && !run.QuoteMode && PeekInput(run) != '-' &&
        !CheckSourceTag(run)) {
      PushInput(run, "lt;");
      return '&';
    }
    if (ch == '"' && run.BodySeen && !run.QuoteMode && !run.NotesMode && !run.InMarkup) {
      if (run.OpenQuote) {
        run.OpenQuote = false;
        PushInput(run, "rdquo;");
      } else if (!OutputEndsInNumber()) {
        run.OpenQuote = true;
        PushInput(run, "ldquo;");
      } else {
        PushInput(run, "quot;");
      }
      return '&';
    }
    const auto byte = static_cast<unsigned char>(ch);
    // Slide notes are RTF, not page text: their characters stay as they are.
    if (byte >= 128 && !run.NotesMode) {
      if (byte == kNbspMark) {
        PushInput(run, "nbsp;");
      } else if (byte == kBulletMark) {
        PushInput(run, kBulletImage);
        continue;
      } else if (size_t at = kNamedChars.find(ch); at != std::string_view::npos) {
        PushInput(run, NamedEntity(at));
      } else if (byte < 160) {
        PushInput(run, kWindowsRange[byte - 128]);
      } else {
        PushInput(run, "#" + std::to_string(byte) + ";");
      }
      return '&';
    }
    return Track(run, ch);
  }
}

}  // namespace quorrel
