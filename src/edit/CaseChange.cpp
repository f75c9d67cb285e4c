#include "edit/CaseChange.h"

#include "platform/Abort.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MyRich.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

constexpr unsigned char kMultiplication = 215;
constexpr unsigned char kSharpS = 223;

bool IsCrOrLf(char c) {
  return c == '\r' || c == '\n';
}

// Upper-cases the letter at i when there is one.
void Capital(std::string& line, size_t i) {
  if (i < line.size()) line[i] = UpperCaseAscii(line[i]);
}

}  // namespace

char UpperCaseAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

char LowerCaseAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

char LowerCaseChar(char c) {
  const auto b = static_cast<unsigned char>(c);
  if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
  if (b >= 192 && b < kSharpS && b != kMultiplication) return static_cast<char>(b + 32);
  return c;
}

char SwitchCaseChar(char c) {
  return static_cast<unsigned char>(c) > '`' ? UpperCaseAscii(c) : LowerCaseChar(c);
}

std::string ChangeCase(std::string text, TCaseChange change) {
  char (*rule)(char) = change == TCaseChange::Upper   ? UpperCaseAscii
                       : change == TCaseChange::Lower ? LowerCaseChar
                                                      : SwitchCaseChar;
  for (char& c : text) c = rule(c);
  return text;
}

std::string SentenceCaseLine(std::string_view text) {
  std::string line = TrimQuotes(text);
  for (char& c : line) c = LowerCaseAscii(c);
  Capital(line, 0);
  if (!line.empty() && (line[0] == '"' || line[0] == '(')) Capital(line, 1);
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '.' || c == '!' || c == '?') {
      Capital(line, i + 1 < line.size() && line[i + 1] == ' ' ? i + 2 : i + 1);
    } else if (c == '_') {
      Capital(line, i + 1);
    } else if (c == '-' && i > 0 && line[i - 1] == ' ' && i + 1 < line.size() &&
               line[i + 1] == ' ') {
      Capital(line, i + 2);
    }
  }
  return line;
}

std::string MixedCase(const std::string& text, bool breaks) {
  std::string result;
  result.reserve(text.size() + text.size() / 8);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    const bool lineEnd = end != std::string::npos;
    if (!lineEnd) end = text.size();
    size_t stop = end;
    if (lineEnd && stop > start && text[stop - 1] == '\r') --stop;
    std::string line = SentenceCaseLine(std::string_view(text).substr(start, stop - start));
    if (breaks && PosNoCase("<br", line) == 0) line = "<Br>" + line;
    result += line;
    result += "\r\n";
    start = lineEnd ? end + 1 : end;
  }
  if (text.empty() || !IsCrOrLf(text.back())) {
    while (!result.empty() && IsCrOrLf(result.back())) result.pop_back();
  }
  return result;
}

void CaseClick(TCaseChange change) {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  size_t start = editor->SelStart();
  size_t length = editor->SelLength();
  if (length == 0) {
    start = 0;
    length = editor->TextLength();
  }
  if (length > kCaseQuestionLimit && !AskYesNo("Do you really want to change the case of " +
                                               std::to_string(length) + " characters?")) {
    Abort();
  }
  const std::string before = editor->TextRange(start, length);
  const std::string after = ChangeCase(before, change);
  if (after != before) {
    editor->SetRedraw(false);
    try {
      editor->ReplaceKeepingFormats(start, after);
    } catch (...) {
      editor->SetRedraw(true);
      throw;
    }
    editor->SetRedraw(true);
    GetEditorText();
  }
  FocusEditor();
}

void MixedClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  if (editor->SelLength() == 0) editor->Select(0, editor->TextLength());
  const std::string text = editor->SelText();
  const bool breaks = IsHtml && text.find('\n') != std::string::npos &&
                      AskYesNo("Add \"<Br>\" to the start of each line?");
  const std::string result = MixedCase(text, breaks);
  if (result == text) return;
  editor->SetSelText(result);
  GetEditorText();
}

}  // namespace quorrel
