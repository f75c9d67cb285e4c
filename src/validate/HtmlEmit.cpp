// The output routines of the HTML validator: characters with their entities, tags,
// line starts with the indentation of the open tags, and the tag stack.
#include <algorithm>
#include <string>

#include "shell/DBoxUnit.h"
#include "validate/HtmlCharset.h"
#include "validate/HtmlRun.h"
#include "validate/ReservedCharacter.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

// The entity written for a byte of the upper half, or nullptr when the byte is
// written as it is.
const char* EntityOf(unsigned char c) {
  switch (c) {
    case 128:
      return "&euro;";
    case 133:
      return "&hellip;";
    case 134:
      return "&dagger;";
    case 135:
      return "&Dagger;";
    case 145:
    case 146:
      return "'";
    case 147:
      return "&ldquo;";
    case 148:
      return "&rdquo;";
    case 149:
      return "&bull;";
    case 150:
    case 151:
      return "&ndash;";
    default:
      return nullptr;
  }
}

size_t BlanksFrom(const std::string& text, size_t at) {
  size_t end = at;
  while (end < text.size() && text[end] == ' ') ++end;
  return end;
}

}  // namespace

void HtmlError(const std::string& message, int helpContext) {
  if (!ErrMsg.empty()) return;
  ErrMsg = message;
  ErrHelpContext = helpContext;
}

bool HtmlFailed() {
  return !ErrMsg.empty();
}

void HtmlFatal(const std::string& message) {
  ShowErrorAndAbort(message);
}

std::string OffsetText(size_t index) {
  return std::to_string(index + 1);
}

void MarkHtmlChanged(THtmlRun& run) {
  if (run.marked) return;
  run.marked = true;
  MarkDocumentChanged();
}

void EmitCharEntity(THtmlRun& run, unsigned char c, bool text) {
  std::string& out = run.out;
  if (c == '\r') {
    MarkHtmlChanged(run);
    return;
  }
  if (const char* entity = EntityOf(c)) {
    MarkHtmlChanged(run);
    out += entity;
    return;
  }
  if (c == 159 || c >= 161) {
    MarkHtmlChanged(run);
    out += "&#" + std::to_string(c) + ";";
    return;
  }
  if (c == 160) {
    MarkHtmlChanged(run);
    c = ' ';
  }
  CheckReservedCharacter(c);
  if (text) {
    if (c == '\t') c = ' ';
    if (c == '\n') {
      if (out.empty() || out.back() == '\n' || out.back() == '>') {
        out += '\n';
        return;
      }
      c = ' ';
    }
    if (c == ' ' && !out.empty() && (out.back() == ' ' || out.back() == '\n')) return;
  }
  out += static_cast<char>(c);
}

// Whether a tag text is written as it is: no line ends, tabs, doubled blanks or
// characters of the upper half.
bool PlainTagText(const std::string& text) {
  char last = 0;
  for (char c : text) {
    if (c == '\n' || c == '\r' || c == '\t' || static_cast<unsigned char>(c) >= 128 ||
        (c == ' ' && last == ' ')) {
      return false;
    }
    last = c;
  }
  return true;
}

void CleanTagText(THtmlRun& run) {
  THtmlTag& tag = run.tag;
  if (tag.serverCode) return;
  const bool slash = !tag.closing && ((run.xhtml && tag.voidTag) || tag.selfClosed);
  if (!slash && PlainTagText(tag.text)) return;
  std::string clean;
  clean.reserve(tag.text.size() + 2);
  char quote = 0;
  for (size_t i = 0; i < tag.text.size(); ++i) {
    if (const size_t n = Utf8CharAt(tag.text, i, run.utf8)) {
      clean.append(tag.text, i, n);
      i += n - 1;
      continue;
    }
    char c = tag.text[i];
    if (c == '\n' || c == '\r' || c == '\t' || c == '\xA0') c = ' ';
    const bool escaped = i > 0 && tag.text[i - 1] == '\\';
    if (quote != 0) {
      if (c == quote && !escaped) quote = 0;
    } else if ((c == '"' || c == '\'') && !escaped) {
      quote = c;
    } else if (c == ' ' && !clean.empty() && clean.back() == ' ') {
      continue;
    }
    clean += c;
  }
  if (clean != tag.text) MarkHtmlChanged(run);
  if (!tag.closing && ((run.xhtml && tag.voidTag) || tag.selfClosed)) {
    while (!clean.empty() && clean.back() == ' ') clean.pop_back();
    clean += " /";
  }
  tag.text = clean;
}

size_t WrittenTagSize(const std::string& text, bool slash, bool utf8) {
  size_t size = 0;
  size_t trailingBlanks = 0;
  char quote = 0;
  char last = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (const size_t n = Utf8CharAt(text, i, utf8)) {
      size += n;
      last = text[i];
      trailingBlanks = 0;
      i += n - 1;
      continue;
    }
    char c = text[i];
    if (c == '\n' || c == '\r' || c == '\t' || c == '\xA0') c = ' ';
    const bool escaped = i > 0 && text[i - 1] == '\\';
    if (quote != 0) {
      if (c == quote && !escaped) quote = 0;
    } else if ((c == '"' || c == '\'') && !escaped) {
      quote = c;
    } else if (c == ' ' && last == ' ') {
      continue;
    }
    last = c;
    trailingBlanks = c == ' ' ? trailingBlanks + 1 : 0;
    const unsigned char code = static_cast<unsigned char>(c);
    if (code == 145 || code == 146) {
      size += quote == '"' ? 1 : 5;
    } else if (const char* entity = EntityOf(code)) {
      size += std::char_traits<char>::length(entity);
    } else if (code == 159 || code >= 161) {
      size += 3 + std::to_string(code).size();
    } else {
      ++size;
    }
  }
  // Trailing blanks give way to " /".
  return slash ? size - trailingBlanks + 2 : size;
}

void EmitTag(THtmlRun& run) {
  run.out += '<';
  if (run.tag.serverCode) {
    run.out += run.tag.text;
  } else if (PlainTagText(run.tag.text)) {
    run.out += run.tag.text;
  } else {
    const std::string& text = run.tag.text;
    char quote = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      if (const size_t n = Utf8CharAt(text, i, run.utf8)) {
        run.out.append(text, i, n);
        i += n - 1;
        continue;
      }
      const unsigned char c = static_cast<unsigned char>(text[i]);
      const bool escaped = i > 0 && text[i - 1] == '\\';
      if (quote != 0) {
        if (c == quote && !escaped) quote = 0;
      } else if ((c == '"' || c == '\'') && !escaped) {
        quote = static_cast<char>(c);
      }
      if ((c == 145 || c == 146) && quote != '"') {
        // A typographic apostrophe must not become a quote that ends or starts
        // an attribute value.
        MarkHtmlChanged(run);
        run.out += "&#39;";
        continue;
      }
      EmitCharEntity(run, c, false);
    }
  }
  run.out += '>';
}

bool AtLineStart(const THtmlRun& run) {
  return run.out.empty() || run.out.back() == '\n';
}

void DropTrailingBlank(THtmlRun& run) {
  if (!run.out.empty() && run.out.back() == ' ') run.out.pop_back();
}

void IndentAtLineStart(THtmlRun& run) {
  if (!run.out.empty() && AtLineStart(run)) run.out.append(2 * run.stack.size(), ' ');
}

std::string ParentName(const THtmlRun& run) {
  if (run.stack.empty()) return "";
  return run.stack.back().asp ? "ASP" : run.stack.back().name;
}

void BreakAfterOpenTags(THtmlRun& run) {
  std::string& out = run.out;
  // A line never ends in blanks.
  while (!out.empty() && out.back() == ' ') out.pop_back();
  if (!out.empty() && out.back() != '\n') out += '\n';
  for (size_t i = 0; i < run.stack.size(); ++i) {
    THtmlLevel& level = run.stack[i];
    if (level.pendingBreak < 0) continue;
    const size_t at = static_cast<size_t>(level.pendingBreak);
    if (at >= out.size() || out[at] != '>') {
      const size_t from = at < out.size() ? at : out.size();
      const size_t back = from < 20 ? from : 20;
      HtmlFatal("TagPos error:\r" + out.substr(from - back, back) + "[?]" + out.substr(from, 20));
    }
    level.pendingBreak = -1;
    level.broken = true;
    // The content goes on the next line, two blanks deeper than the tag's own line.
    size_t lineStart = at == 0 ? std::string::npos : out.rfind('\n', at - 1);
    lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
    const std::string indent(BlanksFrom(out, lineStart) - lineStart + 2, ' ');
    const size_t q = at + 1;
    const size_t r = BlanksFrom(out, q);
    // In a server page a line that starts with a double quote continues a script's
    // string: the layout never makes one.
    if (run.serverPage && r < out.size() && out[r] == '"') continue;
    size_t replaceEnd = r;
    std::string replacement = "\n";
    if (r < out.size() && out[r] == '\n') {
      // A line end follows already: the line after it is indented when it holds
      // something and is not the line being written.
      const size_t next = r + 1;
      const size_t content = BlanksFrom(out, next);
      if (next < out.size() && content < out.size() && out[content] != '\n') {
        replaceEnd = content;
        replacement += indent;
      } else {
        replaceEnd = r + 1;
      }
    } else if (r < out.size()) {
      replacement += indent;
    }
    const long delta = static_cast<long>(replacement.size()) - static_cast<long>(replaceEnd - q);
    out.replace(q, replaceEnd - q, replacement);
    for (size_t j = i + 1; j < run.stack.size(); ++j) {
      if (run.stack[j].pendingBreak > static_cast<long>(at)) {
        run.stack[j].pendingBreak += delta;
      }
    }
  }
}

void PushTag(THtmlRun& run, bool pendingBreak) {
  if (run.stack.size() >= MaxOpenTags) {
    HtmlFatal("Nesting too deep at offset " + OffsetText(run.tag.start));
  }
  THtmlLevel level;
  level.name = run.tag.name;
  level.inputOffset = run.tag.start;
  if (pendingBreak && !run.out.empty() && run.out.back() == '>') {
    level.pendingBreak = static_cast<long>(run.out.size() - 1);
  }
  run.stack.push_back(level);
}

}  // namespace quorrel
