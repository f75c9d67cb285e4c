#include "edit/NbspAndComments.h"

#include <cstring>
#include <vector>

#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MyRich.h"
#include "shell/Recolour.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

constexpr char kNbsp[] = "&nbsp;";
// Sentence ends before the first characters of a page are its own business.
constexpr size_t kFirstPlace = 7;

bool At(const std::string& text, size_t pos, const char* what) {
  return text.compare(pos, std::strlen(what), what) == 0;
}

bool EndsBefore(const std::string& text, size_t pos, const char* what) {
  const size_t n = std::strlen(what);
  return pos >= n && text.compare(pos - n, n, what) == 0;
}

bool IsLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0;
}

bool NbspWanted(const std::string& text, size_t i) {
  // The blank after the sentence end (byte 160 counts: it becomes one).
  const size_t next = i + 1;
  if (next >= text.size() || (text[next] != ' ' && text[next] != '\xA0')) return false;
  if (At(text, next, kNbsp) || At(text, next + 1, kNbsp)) return false;
  if (At(text, next, "</span>") || At(text, next + 1, "</span>")) return false;
  if (At(text, next, "</p>") || At(text, next + 1, "</p>")) return false;
  if (EndsBefore(text, i, "</span>") || EndsBefore(text, i, "MX target")) return false;
  size_t start = i;
  while (start > 0 && IsLetter(static_cast<unsigned char>(text[start - 1]))) --start;
  const std::string word = text.substr(start, i - start);
  return word != "St" && word != "No" && word != "etc";
}

}  // namespace

// Where a stretch that no "&nbsp;" may enter, beginning at pos, ends.
size_t EndOfHtmlCode(const std::string& text, size_t pos) {
  auto past = [&](const char* closing, size_t from) {
    const size_t at = PosNoCase(closing, text, from + 1);
    return at == 0 ? text.size() : at - 1 + std::strlen(closing);
  };
  if (At(text, pos, "<!--")) return past("-->", pos + 4);
  if (At(text, pos, "<?")) return past("?>", pos + 2);
  if (At(text, pos, "<%")) return past("%>", pos + 2);
  for (const char* element : {"script", "style", "pre"}) {
    const std::string open = std::string("<") + element;
    const size_t after = pos + open.size();
    if (PosNoCase(open, text.substr(pos, open.size())) == 1 &&
        (after >= text.size() || !IsLetter(static_cast<unsigned char>(text[after])))) {
      return past(("</" + std::string(element)).c_str(), after);
    }
  }
  // A tag: to its ">", quoted values and all.
  char quote = 0;
  for (size_t i = pos + 1; i < text.size(); ++i) {
    const char c = text[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return i + 1;
    }
  }
  return text.size();
}

std::string AddNbspToText(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '<') {
      const size_t end = EndOfHtmlCode(text, i);
      out.append(text, i, end - i);
      i = end;
      continue;
    }
    if (i < kFirstPlace) {
      out += c;
    } else if (c == '\xA0') {
      out += ' ';
    } else {
      out += c;
      if ((c == '.' || c == '!' || c == '?') && NbspWanted(text, i)) out += kNbsp;
    }
    ++i;
  }
  return out;
}

void AddNbspClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  if (!IsHtml) {
    ShowMsg("File is not .HTM");
    return;
  }
  const std::string text = editor->GetText();
  const std::string changed = AddNbspToText(text);
  if (changed == text) return;
  const size_t caret = editor->SelStart();
  const size_t firstLine = editor->FirstVisibleLine();
  editor->SetText(changed);
  editor->SetModified(true);
  editor->Select(caret, 0);
  editor->ScrollLines(static_cast<long>(firstLine));
  RequestRecolour(RecolourFull);
}

std::string CommentOut(const std::string& block, TCommentKind kind) {
  switch (kind) {
    case TCommentKind::CSharp:
      return "/*\r\n" + block + "\r\n*/";
    case TCommentKind::Html:
      return "<!--\r\n" + block + "\r\n-->";
    case TCommentKind::LineSlashes:
      break;
  }
  std::string out = "// ";
  for (size_t i = 0; i < block.size(); ++i) {
    out += block[i];
    const bool lineEnd =
        block[i] == '\n' || (block[i] == '\r' && (i + 1 >= block.size() || block[i + 1] != '\n'));
    if (lineEnd && i + 1 < block.size()) out += "// ";
  }
  return out;
}

void ConvComClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  size_t length = editor->SelLength();
  const size_t start = editor->SelStart();
  // A final line end stays outside the comment.
  if (length > 0) {
    const std::string last = editor->TextRange(start + length - 1, 1);
    if (!last.empty() && (last[0] == '\r' || last[0] == '\n')) --length;
  }
  if (length == 0) {
    ShowMsg("You must highlight a block first.");
    return;
  }
  editor->Select(start, length);
  TCommentKind kind = TCommentKind::Html;
  if (IsCSharp) {
    kind = TCommentKind::CSharp;
  } else if (IsPhp && !AskYesNo("Is this HTML?")) {
    kind = TCommentKind::LineSlashes;
  }
  editor->SetSelText(CommentOut(editor->SelText(), kind));
}

}  // namespace quorrel
