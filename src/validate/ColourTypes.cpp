#include "validate/ColourTypes.h"

#include <algorithm>

#include "validate/ColourRuns.h"
#include "validate/ColourScheme.h"

namespace quorrel {

namespace {

// The end of the line holding pos: its CR or LF, or the end of the text.
size_t LineEnd(const TScanText& scan, size_t pos) {
  size_t end = scan.text.find_first_of("\r\n", pos);
  return end == std::string::npos || end > scan.length ? scan.length : end;
}

// The start of the line after the one holding pos (the end of the text when none).
size_t NextLine(const TScanText& scan, size_t pos) {
  size_t lf = scan.text.find('\n', pos);
  return lf == std::string::npos || lf >= scan.length ? scan.length : lf + 1;
}

// The whole line from its start in the comments' colour.
void CommentLine(TColourPainter& p, const TScanText& scan, size_t line) {
  p.pos = line;
  p.Push(ColourScheme.comments);
  p.pos = LineEnd(scan, line);
  p.Pop();
}

}  // namespace

std::vector<TColourRun> CommentRuns(const TScanText& scan, const std::string& open,
                                    const std::string& close, int defaultColour) {
  TColourPainter p(scan.text, scan.length, defaultColour);
  while (p.SkipToNext(open)) {
    p.Push(ColourScheme.comments);
    p.pos += open.size();
    if (p.SkipTo(close)) p.pos += close.size();
    p.Pop();
  }
  return p.Finish();
}

std::vector<TColourRun> IniRuns(const TScanText& scan, int defaultColour) {
  TColourPainter p(scan.text, scan.length, defaultColour);
  for (size_t line = 0; line < scan.length; line = NextLine(scan, line)) {
    if (scan.text[line] == '[') CommentLine(p, scan, line);
  }
  return p.Finish();
}

std::vector<TColourRun> PlainTextRuns(const TScanText& scan, int defaultColour) {
  TColourPainter p(scan.text, scan.length, defaultColour);
  const std::string rule = "\n========";
  for (size_t at = scan.text.find(rule); at != std::string::npos && at < scan.length;
       at = scan.text.find(rule, at + 1)) {
    size_t line = NextLine(scan, at + 1);
    if (line >= scan.length) break;
    CommentLine(p, scan, line);
  }
  return p.Finish();
}

std::vector<TColourRun> VbaRuns(const TScanText& scan, int defaultColour) {
  TColourPainter p(scan.text, scan.length, defaultColour);
  const std::string& t = scan.text;
  while (p.pos < scan.length) {
    char c = t[p.pos];
    if (c == '"') {
      // A string runs to its closing quote or the line end.
      size_t end = t.find_first_of("\"\r\n", p.pos + 1);
      p.pos = end == std::string::npos || end >= scan.length ? scan.length
              : t[end] == '"'                                ? end + 1
                                                             : end;
    } else if (c == '/' && t[p.pos + 1] == '*') {
      p.Push(ColourScheme.comments);
      p.pos += 2;
      if (p.SkipTo("*/")) p.pos += 2;
      p.Pop();
    } else if (c == '/' && t[p.pos + 1] == '/' && (p.pos == 0 || t[p.pos - 1] != ':')) {
      p.Push(ColourScheme.comments);
      p.SkipToLineEnd();
      p.Pop();
    } else {
      ++p.pos;
    }
  }
  return p.Finish();
}

std::vector<TColourRun> SectionLineRuns(const TScanText& scan, const std::vector<size_t>& sections,
                                        bool toParen) {
  std::vector<TColourRun> runs;
  for (size_t start : sections) {
    if (start >= scan.length) continue;
    size_t end = LineEnd(scan, start);
    if (toParen) {
      size_t paren = scan.text.find('(', start);
      if (paren == std::string::npos || paren >= end) continue;
      end = paren;
    }
    if (end > start) runs.push_back({start, end - start, ColourScheme.functions, kNoBackground});
  }
  return Normalised(std::move(runs));
}

std::vector<TColourRun> AbcRuns(const TScanText& scan, size_t from, size_t to, int defaultColour) {
  const TColourScheme& s = ColourScheme;
  const std::string& t = scan.text;
  to = std::min(to, scan.length);
  TColourPainter p(t, to, defaultColour, from);
  for (size_t line = from; line < to; line = NextLine(scan, line)) {
    size_t end = std::min(LineEnd(scan, line), to);
    p.pos = line;
    int colour = -1, back = kNoBackground;
    if (p.AtCase("T:")) {
      colour = s.tuneName;
    } else if (p.AtCase("w:")) {
      continue;  // lyrics
    } else if (p.AtCase("V:1") && (t[line + 3] == ' ' || line + 3 == end)) {
      colour = s.firstVoice, back = s.firstVoiceBack;
    } else if (p.AtCase("V:")) {
      colour = s.voice, back = s.voiceBack;
    } else if (p.AtCase("P:A")) {
      colour = s.part, back = s.partBack;
    } else if (p.AtCase("P:")) {
      colour = s.otherPart, back = s.otherPartBack;
    }
    if (colour >= 0) {
      p.Push(colour, back);
      p.pos = end;
      p.Pop();
      continue;
    }
    for (size_t i = line; i < end; ++i) {
      if (t[i] == '|') {
        p.pos = i;
        p.Push(s.barLine);
        p.pos = i + 1;
        p.Pop();
      } else if (t[i] == '%' && (i == line || t[i - 1] == ' ')) {
        p.pos = i;
        p.Push(s.comments);
        p.pos = end;
        p.Pop();
        break;
      }
    }
  }
  std::vector<TColourRun> runs = p.Finish();
  return runs;
}

std::vector<TColourRun> UrlRuns(const TScanText& scan, size_t from, size_t to) {
  std::vector<TColourRun> runs;
  const std::string& t = scan.text;
  to = std::min(to, scan.length);
  TColourPainter p(t, to, -1, from);
  for (size_t i = from; i < to; ++i) {
    char c = t[i];
    if (c != 'w' && c != 'W' && c != 'h' && c != 'H') continue;
    p.pos = i;
    if (!p.At("www.") && !p.At("http://") && !p.At("https://")) continue;
    if (i >= 2 && t[i - 1] == '/' && t[i - 2] == '/') continue;
    bool inBrackets = i > 0 && t[i - 1] == '(';
    size_t end = i;
    while (end < to) {
      unsigned char u = static_cast<unsigned char>(t[end]);
      if (u <= ' ' || u == 0x7F || u == '"' || u == '\'' || u == '<' || u == '>' || u == '`' ||
          u == '{' || u == '}' || u == '|' || u == '\\' || u == '^' || (inBrackets && u == ')')) {
        break;
      }
      ++end;
    }
    if (end > i && t[end - 1] == '.') --end;
    if (end > i) runs.push_back({i, end - i, ColourScheme.urls, kNoBackground});
    i = end;
  }
  return runs;
}

}  // namespace quorrel
