#include "shell/RtfTidy.h"

#include <algorithm>
#include <cstring>

#include "platform/Chars.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/RtfView.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

constexpr size_t kParMarkSize = sizeof(kRtfParMark) - 1;

// The number of paragraph marks that follow each other from at.
size_t MarksAt(const std::string& source, size_t at) {
  size_t count = 0;
  while (source.compare(at + count * kParMarkSize, kParMarkSize, kRtfParMark) == 0) ++count;
  return count;
}

}  // namespace

std::string RtfWithDefaultFont(const std::string& source) {
  std::string out = source;
  const size_t charset = out.find("fcharset0 ");
  if (charset != std::string::npos) {
    const size_t name = charset + std::strlen("fcharset0 ");
    const size_t end = out.find(';', name);
    if (end != std::string::npos) out.replace(name, end - name, "Arial");
  }
  // "\fswiss" and the like are font families, not sizes.
  size_t size = out.find("\\fs");
  while (size != std::string::npos && !(size + 3 < out.size() && IsDigit(out[size + 3]))) {
    size = out.find("\\fs", size + 3);
  }
  if (size != std::string::npos) {
    size_t end = size + 3;
    while (end < out.size() && IsDigit(out[end])) ++end;
    out.replace(size + 3, end - (size + 3), "24");
  }
  const size_t table = out.find("\\colortbl");
  if (table != std::string::npos) {
    const size_t close = out.find('}', table);
    size_t end = close == std::string::npos ? out.size() : close + 1;
    size_t start = table;
    // The whole group goes, its opening brace too, so that the braces still pair,
    // and with it the line it stands on.
    if (close != std::string::npos && table > 0 && out[table - 1] == '{') {
      start = table - 1;
      if (out.compare(end, 2, "\r\n") == 0) end += 2;
    }
    out.erase(start, end - start);
  }
  return out;
}

void SetRtfDefaultFont() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const bool modified = editor->Modified();
  const size_t caret = editor->SelStart();
  if (editor->PlainText()) editor->SetPlainText(false);
  SetRtfSource(RtfWithDefaultFont(GetRtfSource(*editor)), *editor);
  editor->Select(caret, 0);
  editor->SetModified(modified);
  DocModified = true;
}

size_t FirstTripleBlankLine(const std::string& source) {
  size_t at = source.find(kRtfParMark);
  while (at != std::string::npos) {
    const size_t count = MarksAt(source, at);
    if (count >= 3) return at;
    at = source.find(kRtfParMark, at + count * kParMarkSize);
  }
  return std::string::npos;
}

std::string WithoutTripleBlankLines(const std::string& source) {
  size_t at = FirstTripleBlankLine(source);
  if (at == std::string::npos) return source;
  std::string out;
  out.reserve(source.size());
  size_t copied = 0;
  while (at != std::string::npos) {
    const size_t count = MarksAt(source, at);
    if (count >= 3) {
      out.append(source, copied, at - copied);
      out.append(kRtfParMark);
      out.append(kRtfParMark);
      copied = at + count * kParMarkSize;
    }
    at = source.find(kRtfParMark, at + count * kParMarkSize);
  }
  out.append(source, copied, std::string::npos);
  return out;
}

std::string RemoveTripleBlankLines() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return {};
  const std::string source = GetRtfSource(*editor);
  if (MainMenu().Checked("Debug")) {
    const size_t at = FirstTripleBlankLine(source);
    if (at != std::string::npos) {
      // Shown in the codes of the document as it is in the editor, so that
      // nothing typed since the last save is lost.
      FlipRtfView(*editor);
      ScrollToPos(editor->OffsetToPos(at + 2), true);
      MainMenu().SetChecked("Raw", true);
      DocModified = true;
      ShowErrorAndAbort("Two blank lines.");
    }
    return source;
  }
  std::string text = WithoutTripleBlankLines(source);
  if (text.size() == source.size()) return text;
  const bool modified = editor->Modified();
  const size_t caret = editor->SelStart();
  SetRtfSource(text, *editor);
  editor->Select(std::min(caret, editor->TextLength()), 0);
  editor->SetModified(modified);
  DocModified = true;
  return text;
}

}  // namespace quorrel
