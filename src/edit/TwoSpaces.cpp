#include "edit/TwoSpaces.h"

#include <algorithm>
#include <vector>

#include "edit/NbspAndComments.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"

namespace quorrel {

namespace {

// The first sentence end looked at: a few characters make no sentence.
constexpr size_t kFirstPlace = 3;

bool Qualifies(const std::string& text, size_t i) {
  const char c = text[i];
  if (c != '.' && c != '!' && c != '?') return false;
  if (i + 2 >= text.size() || text[i + 1] != ' ') return false;
  const char next = text[i + 2];
  if (!(next == '(' || next == '[' || (next >= 'A' && next <= 'Z'))) return false;
  auto before = [&](const char* word, size_t n) {
    return i >= n && text.compare(i - n, n, word) == 0;
  };
  return !(before("e.g", 3) || before("i.e", 3) || before("Mrs", 3) || before("Mr", 2) ||
           before("Dr", 2) || before("St", 2));
}

}  // namespace

TTwoSpacesResult TwoSpacesInRange(const std::string& text, size_t start, size_t end, bool html) {
  end = std::min(end, text.size());
  start = std::min(start, end);
  TTwoSpacesResult result;
  result.text.reserve(end - start + (end - start) / 32);
  const char* insert = html ? "&nbsp;" : " ";
  // Code that begins before the range may reach into it.
  size_t codeEnd = 0;
  if (html) {
    for (size_t i = 0; i < start; ++i) {
      if (text[i] == '<') {
        codeEnd = EndOfHtmlCode(text, i);
        i = codeEnd - 1;
      }
    }
  }
  for (size_t i = start; i < end; ++i) {
    if (html && i >= codeEnd && text[i] == '<') codeEnd = EndOfHtmlCode(text, i);
    result.text += text[i];
    if (i < kFirstPlace || (html && i < codeEnd)) continue;
    if (Qualifies(text, i)) {
      result.text += insert;
      ++result.count;
    }
  }
  return result;
}

void TwoSpacesClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const size_t selStart = editor->SelStart();
  const size_t selLength = editor->SelLength();
  const std::string text = editor->GetText();
  const size_t from = selLength > 0 ? editor->PosToOffset(selStart) : 0;
  const size_t to = selLength > 0 ? editor->PosToOffset(selStart + selLength) : text.size();
  const TTwoSpacesResult result = TwoSpacesInRange(text, from, to, IsHtml);
  if (result.count > 0) {
    editor->BeginEditGroup();
    editor->Select(selLength > 0 ? selStart : 0, selLength > 0 ? selLength : editor->TextLength());
    editor->SetSelText(result.text);
    editor->EndEditGroup();
    GetEditorText();
  }
  // The caret back at the range's start; a selection covers the changed range.
  const size_t grown = selLength > 0 ? selLength + result.text.size() - (to - from) : 0;
  editor->Select(selLength > 0 ? selStart : 0, grown);
  ShowStatus("Changed: " + std::to_string(result.count));
}

void InstallTwoSpacesCommand() {
  MainMenu().SetHandler("TwoSpaces", [](const TMenuItem&) { TwoSpacesClick(); });
}

}  // namespace quorrel
