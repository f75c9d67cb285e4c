// The walk of the HTML validator: text, comments, conditional comments and
// server-script blocks; tags go to their own handlers.
#include <array>

#include "platform/Paths.h"
#include "shell/CommandNames.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/HtmlCharset.h"
#include "validate/HtmlRun.h"
#include "validate/ScriptDelimiters.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

constexpr int CommentEndHelp = 20770;

// (Compared a character at a time: the parts are a few characters long.)
bool StartsAt(const std::string& text, size_t at, std::string_view part) {
  if (part.empty() || at > text.size() || text.size() - at < part.size()) return false;
  for (size_t k = 0; k < part.size(); ++k) {
    if (text[at + k] != part[k]) return false;
  }
  return true;
}

bool StartsAtNoCase(const std::string& text, size_t at, std::string_view part) {
  if (at > text.size() || text.size() - at < part.size()) return false;
  return PosNoCase(part, std::string_view(text).substr(at, part.size())) == 1;
}

// What the layout takes for white space (a no-break space is written as a blank).
bool IsWhite(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\xA0';
}

// Whether the text holds a marker, without regard to case, with every blank of the
// marker standing for any run of white space, as the walk writes such a run: a
// DOCTYPE broken over two lines is still the DOCTYPE. The marker's first word is
// searched for, and only where it stands is the rest compared.
bool ContainsMarker(const std::string& text, std::string_view marker) {
  const std::string_view word = marker.substr(0, marker.find(' '));
  for (size_t at = PosNoCase(word, text); at != 0; at = PosNoCase(word, text, at + 1)) {
    size_t i = at - 1 + word.size();
    size_t k = word.size();
    while (k < marker.size() && i < text.size()) {
      if (marker[k] == ' ') {
        if (!IsWhite(text[i])) break;
        while (i < text.size() && IsWhite(text[i])) ++i;
      } else {
        if (UpperCaseTable[static_cast<unsigned char>(text[i])] !=
            UpperCaseTable[static_cast<unsigned char>(marker[k])]) {
          break;
        }
        ++i;
      }
      ++k;
    }
    if (k == marker.size()) return true;
  }
  return false;
}

bool OptionTicked(const char* name) {
  const TMenuItem* item = MainMenu().Find(name);
  return item && item->checked;
}

// A line that holds only blanks up to a double quote: a server script's string
// continued from the line before.
bool QuotedLineAt(const std::string& in, size_t at) {
  while (at < in.size() && in[at] == ' ') ++at;
  return at < in.size() && in[at] == '"';
}

// After a tag (or a comment): what the input has between it and what follows.
void AfterTag(THtmlRun& run) {
  const std::string& in = run.in;
  size_t end = run.pos;
  int lineEnds = 0;
  while (end < in.size() && IsWhite(in[end])) {
    if (in[end] == '\n') ++lineEnds;
    ++end;
  }
  if (end == run.pos) return;
  if (!AtLineStart(run) && run.out.back() != '>') return;  // a dropped tag: text goes on
  if (AtLineStart(run)) {
    // The layout of the next line is the walk's own; one empty line may stay.
    const std::string& out = run.out;
    const bool emptyLine = out.size() >= 2 && out[out.size() - 2] == '\n';
    if (!run.delBlanks && lineEnds >= 2 && !out.empty() && !emptyLine) run.out += '\n';
    run.pos = end;
  } else if (lineEnds >= 2) {
    // After an inline tag the blank between it and the next word must stay: only
    // the empty lines go, or all but one.
    run.out += run.delBlanks ? "\n" : "\n\n";
    run.pos = end;
  }
}

void RowText(THtmlRun& run, unsigned char c) {
  if (run.tables.empty() || run.stack.empty() || IsWhite(static_cast<char>(c))) return;
  const THtmlLevel& parent = run.stack.back();
  if (parent.asp || parent.name != "TR") return;
  run.tables.back().rowText = true;
  run.tables.back().textParent = parent.name;
}

// A character of text that goes out as it is, whatever stands around it: no markup,
// no line end or blank, no quote (smart quotes, server strings), nothing of the
// upper half.
constexpr std::array<bool, 256> MakePlainTextTable() {
  std::array<bool, 256> plain{};
  for (int c = '!'; c < 127; ++c) plain[c] = c != '<' && c != '-' && c != '"';
  return plain;
}
constexpr std::array<bool, 256> kPlainText = MakePlainTextTable();

bool IsPlainText(const THtmlRun& run, char c) {
  return kPlainText[static_cast<unsigned char>(c)] &&
         (run.serverStart.empty() || c != run.serverStart[0]);
}

// Words and single blanks between them, as most text is, copied a stretch at a time
// by the rules that EmitCharEntity applies to each character (a blank after a
// blank or a line end goes). Returns where the run ends.
size_t PlainTextRun(THtmlRun& run) {
  const std::string& in = run.in;
  std::string& out = run.out;
  size_t i = run.pos;
  bool rowText = false;
  while (i < in.size()) {
    if (in[i] == ' ') {
      if (out.empty() || (out.back() != ' ' && out.back() != '\n')) out += ' ';
      ++i;
      continue;
    }
    size_t end = i;
    while (end < in.size() && IsPlainText(run, in[end])) ++end;
    if (end == i) break;
    if (!rowText) {
      RowText(run, static_cast<unsigned char>(in[i]));
      rowText = true;
    }
    out.append(in, i, end - i);
    i = end;
  }
  return i;
}

void Text(THtmlRun& run) {
  const std::string& in = run.in;
  const unsigned char c = static_cast<unsigned char>(in[run.pos]);
  if (run.part != PartBodyClosed && !run.out.empty() && (c == ' ' || IsPlainText(run, c))) {
    run.pos = PlainTextRun(run);
    return;
  }
  if (run.out.empty() && IsWhite(static_cast<char>(c)) && !run.serverPage) {
    // White space before the first markup (a generator's line end before its
    // DOCTYPE, say) is not kept: the page starts at its first tag.
    MarkHtmlChanged(run);
    ++run.pos;
    return;
  }
  if (run.part == PartBodyClosed && !IsWhite(static_cast<char>(c))) {
    HtmlError("Text found between </Body> and </HTML>");
    return;
  }
  RowText(run, c);
  if (c == '<' && run.pos + 1 < in.size() && in[run.pos + 1] == '\r') {
    // The carriage return goes: the "<" must not meet what follows it as a tag.
    MarkHtmlChanged(run);
    run.out += "&lt;";
    ++run.pos;
    return;
  }
  if (c == 0xE2 && StartsAt(in, run.pos, "\xE2\x80\x99")) {
    // The UTF-8 right single quote.
    MarkHtmlChanged(run);
    run.out += '\'';
    run.pos += 3;
    return;
  }
  if (const size_t n = Utf8CharAt(in, run.pos, run.utf8)) {
    run.out.append(in, run.pos, n);
    run.pos += n;
    return;
  }
  if (c == '"' && run.serverPage && AtLineStart(run) && !run.out.empty()) {
    // A line that starts with a double quote would continue a script's string: the
    // layout never makes one, it joins the line to the one before.
    while (!run.out.empty() && (run.out.back() == '\n' || run.out.back() == ' ')) {
      run.out.pop_back();
    }
    if (!run.out.empty() && run.out.back() != '>') run.out += ' ';
  }
  if (c == '"' && run.smartQuotes && !run.serverPage) {
    MarkHtmlChanged(run);
    run.out += run.smartQuoteOpen ? "&rdquo;" : "&ldquo;";
    run.smartQuoteOpen = !run.smartQuoteOpen;
    ++run.pos;
    return;
  }
  EmitCharEntity(run, c, true);
  ++run.pos;
}

// A server-script block from its start delimiter (or the line end before a quoted
// continuation line) through its end delimiter, copied as it is.
void ServerBlock(THtmlRun& run, bool continuation) {
  const std::string& in = run.in;
  const size_t start = run.pos;
  const size_t bodyStart = start + (continuation ? 1 : run.serverStart.size());
  const size_t endAt = in.find(run.serverEnd, bodyStart);
  const size_t end = endAt == std::string::npos ? in.size() : endAt + run.serverEnd.size();
  const std::string block = in.substr(start, end - start);

  if (block.find('\'') == std::string::npos) {
    char quote = 0;
    for (size_t i = 0; i < block.size(); ++i) {
      const char c = block[i];
      if (quote == 0) {
        if (c == '"' && (i == 0 || block[i - 1] != '\\')) quote = c;
      } else if (c == '\n') {
        const size_t at = start + i;
        const size_t from = at > 60 ? at - 60 : 0;
        HtmlError("End of line within string, after\r" + in.substr(from, at - from));
        return;
      } else if (c == '"' && block[i - 1] != '\\') {
        quote = 0;
      }
    }
  }
  const char kind = bodyStart < in.size() ? in[bodyStart] : ' ';
  const bool expression =
      !continuation && (kind == '=' || kind == '#' || kind == ':' || kind == '$');
  if (!expression) {
    // Tags opened or closed by script code cannot be matched here.
    for (THtmlLevel& level : run.stack) level.asp = true;
  }
  if (block.find("\nSub ") != std::string::npos || block.find("\nFunction ") != std::string::npos) {
    run.stack.clear();
  }
  std::string& out = run.out;
  if (run.delBlanks && out.size() >= 2 && out.compare(out.size() - 2, 2, "\n\n") == 0) {
    out.pop_back();
  }
  if (!continuation && kind == '@' && !AtLineStart(run)) {
    while (!out.empty() && out.back() == ' ') out.pop_back();
    out += '\n';
  }
  out += block;
  run.pos = end;
}

void Comment(THtmlRun& run) {
  const std::string& in = run.in;
  const size_t start = run.pos;
  size_t at = start + 4;
  while (at < in.size() && in[at] == ' ') ++at;
  if (StartsAtNoCase(in, at, "#INCLUDE FILE=")) {
    at += 14;
    std::string name;
    if (at < in.size() && (in[at] == '"' || in[at] == '\'')) {
      const size_t close = in.find(in[at], at + 1);
      const size_t stop = close == std::string::npos ? in.size() : close;
      name = in.substr(at + 1, stop - at - 1);
    } else {
      size_t stop = at;
      while (stop < in.size() && !IsWhite(in[stop]) && in[stop] != '-') ++stop;
      name = in.substr(at, stop - at);
    }
    const std::string resolved =
        name.empty() ? "" : ResolveNoCase(run.folder + ReplaceAll(name, "\\", "/", true));
    if (resolved.empty() || !FileExists(resolved)) {
      HtmlError(name + " not found");
      return;
    }
  }
  // "<!-->" is a whole comment.
  const size_t close = in.find("-->", start + 2);
  if (close == std::string::npos) {
    HtmlError("No \"-->\" to end \"<!--\" comment");
    return;
  }
  run.out.append(in, start, close + 3 - start);
  run.pos = close + 3;
  BreakAfterOpenTags(run);
  AfterTag(run);
}

void Tag(THtmlRun& run) {
  if (!ReadHtmlTag(run)) return;
  if (run.tag.closing) {
    HandleClosingTag(run);
  } else {
    HandleOpeningTag(run);
  }
  if (HtmlFailed()) return;
  run.inTag = false;
  // A tag read again after its parent was completed is not yet behind the walk.
  if (run.pos > run.tag.start) AfterTag(run);
}

void Step(THtmlRun& run) {
  const std::string& in = run.in;
  const size_t at = run.pos;
  const char c = in[at];
  if (run.part == PartHtmlClosed && !run.serverPage && !IsWhite(c)) {
    HtmlError("Text found after </HTML>");
    return;
  }
  // Most characters are plain text.
  if (c != '<' && c != '-' && c != '\n' && (run.serverStart.empty() || c != run.serverStart[0])) {
    Text(run);
    return;
  }
  if (run.serverPage && c == '\n' && QuotedLineAt(in, at + 1)) {
    ServerBlock(run, true);
    return;
  }
  if (StartsAt(in, at, run.serverStart)) {
    ServerBlock(run, false);
    return;
  }
  if (StartsAt(in, at, "<!--")) {
    if (StartsAtNoCase(in, at + 4, "[if")) {
      BreakAfterOpenTags(run);
      run.out += "<!--";
      run.pos += 4;
      run.inConditional = true;
      return;
    }
    Comment(run);
    return;
  }
  if (StartsAt(in, at, "-->")) {
    if (!run.inConditional && !run.errorReport) {
      HtmlError("--> in wrong place.", CommentEndHelp);
      return;
    }
    run.inConditional = false;
    run.out += "-->";
    run.pos += 3;
    return;
  }
  if (StartsAt(in, at, "<>")) {
    HtmlError("Empty tag.");
    return;
  }
  if (c == '<' && at + 1 < in.size() &&
      (in[at + 1] == '/' || (in[at + 1] >= 'A' && in[at + 1] <= 'z'))) {
    Tag(run);
    return;
  }
  Text(run);
}

}  // namespace

void InitHtmlRun(THtmlRun& run) {
  run.serverPage = IsServerPage;
  run.php = IsPhp;
  run.selfClosing = CurrentExt == ".ASPX" || CurrentExt == ".ASCX";
  run.dotPage = IsDotPage;
  run.inSite = !NotInSite;
  run.validateAll = CurrentCommand == ValidateAllCommand || CurrentCommand == ValidateAllOneCommand;
  run.serverCheck = CurrentCommand == ServerWindowCommand;
  run.download = CurrentCommand == DownloadCommand;
  ScriptDelimiters();
  run.serverStart = ServerScriptStart;
  run.serverEnd = ServerScriptEnd;
  run.folder = CurrentFolder;

  run.delBlanks = OptionTicked("DelBlanks");
  run.indentAll = OptionTicked("IndentAll");
  run.smartQuotes = OptionTicked("SmartQuotes");
  run.checkH = OptionTicked("CheckH");
  run.checkTab = OptionTicked("CheckTab");

  const std::string& in = run.in;
  run.html5 = ContainsMarker(in, "<!DOCTYPE HTML>");
  run.utf8 = DeclaresUtf8(in);
  run.xhtml = ContainsMarker(in, "//W3C//DTD XHTM");
  run.viewState = ContainsMarker(in, "__VIEWSTATE");
  run.relaxed = ContainsMarker(in, "<!-- If you can read this");
  run.errorReport = ContainsMarker(in, "Error Report");
  run.importPage = ContainsMarker(in, "@Import");
}

void HtmlWalk(THtmlRun& run) {
  run.walkStarted = true;
  run.out.reserve(run.in.size() + run.in.size() / 8);
  while (run.pos < run.in.size() && !HtmlFailed()) {
    const size_t pos = run.pos;
    const size_t depth = run.stack.size();
    Step(run);
    // Every step takes input, except a tag read again after its parent was
    // completed, which closed a level.
    if (run.pos == pos && run.stack.size() >= depth && !HtmlFailed()) {
      HtmlError("Validation terminated.");
    }
  }
}

size_t HtmlRestStart(const THtmlRun& run) {
  return run.inTag ? run.tag.start : run.pos;
}

}  // namespace quorrel
