// The tag checker's walk over the page text, a character at a time: strings,
// server-script blocks and scripts, typography, the "&" checks, and the "<" that
// begin comments and tags.
#include <algorithm>
#include <array>

#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "validate/HtmlText.h"
#include "validate/TagChecker.h"
#include "validate/TagRun.h"
#include "validate/ValUnit.h"

namespace quorrel {

using html::CharsBefore;
using html::CharsFrom;
using html::StartsAt;
using html::StartsAtNoCase;

namespace {

constexpr int AmpersandHelp = 100750;

// The characters that end a character reference as the "&" check reads it.
constexpr std::string_view kReferenceEnds = " \";=>";

char At(const TTagRun& run, size_t i) {
  return i < run.text.size() ? run.text[i] : '\0';
}

bool Blank(char c) {
  return c != '\0' && static_cast<unsigned char>(c) <= ' ';
}

// Inside a script or a style sheet: text that is code, not prose.
bool InCode(const TTagRun& run) {
  return run.inScript || run.inStyle;
}

// Where typography applies: prose outside strings, code and preformatted text.
bool InProse(const TTagRun& run) {
  return !run.inServer && !InCode(run) && !run.inString && !run.inPre;
}

// In a page written in UTF-8 the bytes of curly quotes in Windows ANSI stand inside
// other characters' sequences ("\xE2\x86\x92" is an arrow): those are not quotes.
// A byte no sequence's first byte reaches is one, however many such bytes precede it.
bool ContinuesUtf8(const TTagRun& run, size_t at) {
  if (!run.utf8) return false;
  for (size_t back = 1; back <= 3 && back <= at; ++back) {
    const auto c = static_cast<unsigned char>(run.text[at - back]);
    if (c >= 0x80 && c < 0xC0) continue;  // a continuation byte: the first lies further back
    const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return back < length;
  }
  return false;
}

// Replaces the characters at the index and moves the walk past them.
void ReplaceAndPass(TTagRun& run, size_t at, size_t length, std::string_view by) {
  Edit(run, at, length, by);
  run.pos = at + length;
}

// At most n characters of the corrected page before the index of the text.
std::string Before(TTagRun& run, size_t at, size_t n) {
  CopyUpTo(run, at);
  return CharsBefore(run.out, run.out.size(), n);
}

// Skips to the next line end (the walk takes it next); in PHP documents also to the
// end of the text, and with `stopAtServerEnd` to the server end delimiter.
void SkipToLineEnd(TTagRun& run, bool stopAtServerEnd) {
  run.skipFrom = run.pos;
  while (At(run, run.pos) != '\n' &&
         !(stopAtServerEnd && StartsAt(run.text, run.pos, run.serverEnd))) {
    if (!AdvanceScan(run)) return;
  }
}

// Skips past the pattern (exact case), a skip that began at `from`; false when the
// text ended first.
bool SkipPast(TTagRun& run, std::string_view pattern, size_t from) {
  run.skipFrom = from;
  while (!StartsAt(run.text, run.pos, pattern)) {
    if (!AdvanceScan(run)) return false;
  }
  run.pos += pattern.size();
  return true;
}

// A string in a server block or in script or style sheet code, from its opening
// quote: it ends at its closing quote (which the walk passes), at a line end or
// where the server end delimiter begins (which the walk takes next).
void CodeString(TTagRun& run) {
  run.skipFrom = run.pos;
  const bool code = !run.inServer;
  while (true) {
    if (!AdvanceScan(run)) return;
    const char c = run.text[run.pos];
    if (c == '\n' || (c == run.serverEnd[0] && StartsAt(run.text, run.pos, run.serverEnd))) return;
    if (c == '"' && !(code && run.text[run.pos - 1] == '\\')) {
      ++run.pos;
      return;
    }
    if (c == '<' && StartsAtNoCase(run.text, run.pos, run.serverStart)) {
      if (!code) return StopAt(run, run.pos, "Nested ASP/PHP");
      // Server code writing into the script: the string goes on after it.
      if (!SkipPast(run, run.serverEnd, run.skipFrom)) return;
      --run.pos;
    }
  }
}

// A line end with a text string open on it: a quote left open is a question.
void TextStringAtLineEnd(TTagRun& run) {
  const bool asked = run.inString && run.quote == '"' && !run.inServer && !run.inPre &&
                     !run.dotPage && !run.validateAll;
  run.inString = false;
  run.quote = '?';
  if (!asked) return;
  if (!run.serverCheck && !AskYesNo("Unmatched double-quote in text ending\r" +
                                    Before(run, run.pos, 100) + "\r\rDid you really mean this?")) {
    return StopAt(run, run.pos);
  }
  // The quote that opened the string: the nearest one of the text. One nearer may
  // stand in a tag, and a tag's quote is not text. (The string lies on this line, so
  // a change behind the walk moves no more than the line.)
  if (run.stringAt >= run.copied) {
    Edit(run, run.stringAt, 1, "&quot;");
  } else {
    run.out.replace(static_cast<size_t>(static_cast<long>(run.stringAt) + run.stringShift), 1,
                    "&quot;");
    run.edited = true;
  }
  MarkDocumentChanged();
}

// In server pages, a line that holds only blanks before the last character ahead
// of the next "\";" continues a server script's string from the line before.
bool ContinuesServerString(const TTagRun& run) {
  size_t first = run.pos + 1;
  while (first < run.text.size() && Blank(run.text[first])) ++first;
  return StartsAt(run.text, first, "\";") || StartsAt(run.text, first + 1, "\";");
}

void ServerBlockStart(TTagRun& run, bool atDelimiter) {
  if (run.asax && !run.serverPage && run.htmlTag) {
    return StopAt(run, run.pos, "Error - needs to be .ASP or .PHP file.");
  }
  if (atDelimiter && StartsAt(run.text, run.pos, "<?") && At(run, run.pos + 2) != 'p') {
    return StopAt(run, run.pos, "<? needs to be <?php");
  }
  run.inServer = true;
  run.serverSeen = true;
  run.pos += atDelimiter ? run.serverStart.size() : 1;
}

// "%>" or "?>" in a server page.
void ServerBlockEnd(TTagRun& run) {
  if (!run.inServer) {
    const size_t open = run.pos == 0 ? std::string::npos : run.text.rfind("<?", run.pos - 1);
    if (open == std::string::npos || At(run, open + 2) != '=') {
      return StopAt(run, run.pos, "You need \"<?php\" rather than just \"<?\" here!");
    }
  }
  run.inServer = false;
  run.pos += 2;
}

void Ampersand(TTagRun& run) {
  const size_t at = run.pos;
  if (At(run, at + 1) == '#') {
    ++run.pos;
    return;
  }
  if (At(run, at + 1) == ' ') {
    if (!run.buildAll && !AskYesNoHelp("Convert \"&\" to \"&amp;\" in\r" + Before(run, at, 20) +
                                           CharsFrom(run.text, at, 21) + " ?",
                                       AmpersandHelp)) {
      return StopAt(run, at);
    }
    Edit(run, at + 1, 0, "amp;");
    MarkDocumentChanged();
    run.pos = at + 1;
    return;
  }
  const size_t end = run.text.find_first_of(kReferenceEnds, at + 1);
  const std::string reference =
      run.text.substr(at, end == std::string::npos ? std::string::npos : end - at + 1);
  if (reference.back() != ';' && reference.size() > 3) {
    AskOkHelpCancel("Missing semicolon, or \"&\" should be \"&amp;\" in\r" + reference,
                    AmpersandHelp);
    return StopAt(run, at);
  }
  ++run.pos;
}

// The name of a tag: after "<" up to a character below "!", "<" or the tag's end,
// without a final "/".
std::string_view TagName(const TTagRun& run, size_t end) {
  size_t stop = run.pos + 1;
  while (stop < end && static_cast<unsigned char>(run.text[stop]) >= '!' && run.text[stop] != '<') {
    ++stop;
  }
  std::string_view name = std::string_view(run.text).substr(run.pos + 1, stop - run.pos - 1);
  if (!name.empty() && name.back() == '/') name.remove_suffix(1);
  return name;
}

bool SameName(std::string_view name, std::string_view upper) {
  return name.size() == upper.size() && PosNoCase(upper, name) == 1;
}

// Where the tag at the walk's place ends (its ">"): server blocks in it are passed
// whole, and a part opened by a double quote (not after a backslash) or by "'" runs
// to the same quote. npos, with the run stopped, when it does not end.
size_t TagEnd(TTagRun& run) {
  const std::string& text = run.text;
  size_t i = run.pos + 1;
  char open = '\0';
  while (i < text.size()) {
    const char c = text[i];
    if (open != '\0') {
      if (c == open) open = '\0';
      if (c == '\n') {
        StopAt(run, i, "Unterminated string - end of line reached after\r" + Before(run, i, 40));
        return std::string::npos;
      }
    } else if (c == '<' && StartsAtNoCase(text, i, run.serverStart)) {
      const size_t end = text.find(run.serverEnd, i + run.serverStart.size());
      if (end == std::string::npos) break;
      i = end + run.serverEnd.size();
      continue;
    } else if (c == '>') {
      return i;
    } else if ((c == '"' && text[i - 1] != '\\') || c == '\'') {
      open = c;
    }
    ++i;
  }
  StopAt(run, run.pos, "Unterminated tag.");
  return std::string::npos;
}

// A tag: the walk goes on after it, knowing whether it entered or left a script, a
// style sheet or preformatted text.
void Tag(TTagRun& run) {
  const size_t end = TagEnd(run);
  if (end == std::string::npos) return;
  std::string_view name = TagName(run, end);
  const bool closing = !name.empty() && name[0] == '/';
  if (closing) name.remove_prefix(1);
  if (SameName(name, "SCRIPT")) run.inScript = !closing;
  if (SameName(name, "STYLE")) run.inStyle = !closing;
  if (SameName(name, "PRE")) run.inPre = !closing;
  run.pos = end + 1;
}

// A "<" outside server blocks.
void LessThan(TTagRun& run) {
  const std::string& text = run.text;
  const size_t at = run.pos;
  if (InCode(run)) {
    if (StartsAtNoCase(text, at, run.inScript ? "</SCRIPT" : "</STYLE")) {
      Tag(run);
    } else {
      ++run.pos;
    }
    return;
  }
  const char next = At(run, at + 1);
  if (run.serverPage && (next == ' ' || next == '%' || next == '=' || next == '>' || next == '?')) {
    if (next == '?' && At(run, at + 2) != '=') {
      if (PassInSilence(run)) return;
      ShowMsg(
          "You cannot use short tag form \"<?\" unless immediately followed by \"=\" - you must "
          "use the full \"<?php\" tag.");
      run.endCommand = true;
      return StopAt(run, at);
    }
    if (next == '?') {
      run.inServer = true;
      run.serverSeen = true;
      run.pos += 3;
      return;
    }
    return StopAt(run, at, "Invalid HTML tag - probably ASP/PHP");
  }
  if (next == '$' || next == '=' || next == '>' || At(run, at + 2) == '$') {
    ++run.pos;
    return;
  }
  if (StartsAt(text, at, "<!--") && !StartsAtNoCase(text, at + 4, "[if")) {
    run.pos += 4;
    SkipPast(run, "-->", at);
    return;
  }
  if (next == '!') {
    SkipPast(run, ">", at);
    return;
  }
  Tag(run);
}

// One step of the walk at run.pos.
void Step(TTagRun& run) {
  const std::string& text = run.text;
  const size_t at = run.pos;
  const char c = text[at];
  if (run.inScript && !run.inString && StartsAt(text, at, "//") && At(run, at - 1) != ':') {
    return SkipToLineEnd(run, false);
  }
  if (c == '"') {
    if (run.inServer || InCode(run)) return CodeString(run);
    run.inString = !run.inString;
    run.quote = run.inString ? '"' : '?';
    if (run.inString) {
      run.stringAt = at;
      run.stringShift = static_cast<long>(run.out.size()) - static_cast<long>(run.copied);
    }
    ++run.pos;
    return;
  }
  if (c == '\n') {
    TextStringAtLineEnd(run);
    if (run.stopped) return;
  }
  const size_t here = run.pos;
  if (c == '\'' && run.inServer) return SkipToLineEnd(run, true);
  if (c == '<' && StartsAtNoCase(text, here, run.serverStart)) return ServerBlockStart(run, true);
  if (run.serverPage && c == '\n' && ContinuesServerString(run)) {
    return ServerBlockStart(run, false);
  }
  // Server pages end a block at "%>" and "?>" alike; other pages at their own end.
  if ((c == '%' || c == '?') && At(run, here + 1) == '>' &&
      (run.serverPage || (run.inServer && StartsAt(text, here, run.serverEnd)))) {
    return ServerBlockEnd(run);
  }
  if (InProse(run)) {
    if (!run.leaveAlone && c == ' ' && At(run, here + 1) == '-' &&
        (At(run, here + 2) == ' ' || At(run, here + 2) == '\n')) {
      return ReplaceAndPass(run, here + 1, 1, run.toNDash ? "&ndash;" : "&mdash;");
    }
    if (c == '.' && !run.php && StartsAt(text, here, "..."))
      return ReplaceAndPass(run, here, 3, "&hellip;");
  }
  if ((c == '\x91' || c == '\x92') && !ContinuesUtf8(run, here)) Edit(run, here, 1, "'");
  if (c == '&' && !run.inServer && !InCode(run)) {
    if (StartsAt(text, here, "&c.")) return ReplaceAndPass(run, here, 1, "&amp;");
    if (run.inSite && run.checkAmp && !run.serverCheck) return Ampersand(run);
  }
  if (c == '<' && !run.inServer) return LessThan(run);
  ++run.pos;
}

// What a character may begin: nothing, a step, or (a blank) a step before a hyphen.
enum : unsigned char { kPlain, kStep, kBlank };
constexpr std::array<unsigned char, 256> kBegins = [] {
  std::array<unsigned char, 256> table{};
  for (const unsigned char c : std::string_view("\"\n'<%?.&/\x91\x92")) table[c] = kStep;
  table[' '] = kBlank;
  return table;
}();

// At the end of the text: nothing may be left open.
void EndOfText(TTagRun& run) {
  if (run.inServer && !run.php) {
    if (PassInSilence(run)) return;
    ShowMsg("Final \"%>\" added.");
    Edit(run, run.text.size(), 0, "\n%>\n");
    run.errorAt = run.out.size();
    run.stopped = true;
    return;
  }
  if (run.inScript) return StopAt(run, run.text.size(), "Error - missing final \"</Script>\".");
  if (run.inString && run.quote == '"') {
    return StopAt(run, run.text.size(), "Error - HTML ends within string.");
  }
  TagsPassed = true;
}

}  // namespace

bool AdvanceScan(TTagRun& run) {
  ++run.pos;
  if (run.pos < run.text.size()) return true;
  if (run.php) return false;
  run.fatal = "Unexpected end of text when scanning from around here.";
  run.stopped = true;
  run.errorAt = OutPlace(run, run.skipFrom);
  return false;
}

void CopyUpTo(TTagRun& run, size_t at) {
  at = std::min(at, run.text.size());
  if (at <= run.copied) return;
  if (run.out.empty()) run.out.reserve(run.text.size() + run.text.size() / 16 + 16);
  run.out.append(run.text, run.copied, at - run.copied);
  run.copied = at;
}

void Edit(TTagRun& run, size_t at, size_t length, std::string_view by) {
  CopyUpTo(run, at);
  run.out += by;
  run.copied = std::min(at + length, run.text.size());
  run.edited = true;
}

size_t OutPlace(TTagRun& run, size_t at) {
  if (at >= run.copied) {
    CopyUpTo(run, at);
    return run.out.size();
  }
  // Nothing is corrected between a skip's start and the walk's place.
  const size_t back = run.copied - at;
  return run.out.size() > back ? run.out.size() - back : 0;
}

void TagWalk(TTagRun& run) {
  while (!run.stopped && run.pos < run.text.size()) {
    // Most characters begin no step: the walk passes them at once.
    const char* text = run.text.data();
    const size_t size = run.text.size();
    size_t at = run.pos;
    for (; at < size; ++at) {
      const unsigned char begins = kBegins[static_cast<unsigned char>(text[at])];
      if (begins == kStep || (begins == kBlank && at + 1 < size && text[at + 1] == '-')) break;
    }
    run.pos = at;
    if (at == size) break;
    const size_t before = run.pos;
    Step(run);
    // Every step takes text: a walk that stands still would never end.
    if (!run.stopped && run.pos <= before) ++run.pos;
  }
  if (!run.stopped) EndOfText(run);
  if (run.edited) {
    CopyUpTo(run, run.text.size());
  } else {
    run.out.swap(run.text);  // the page as it came: nothing to copy
  }
}

}  // namespace quorrel
