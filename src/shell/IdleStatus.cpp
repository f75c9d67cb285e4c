#include "shell/IdleStatus.h"

#include <cstdio>

#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

std::string LineColumnText(const TMyRich& editor, bool rtf) {
  const size_t pos = editor.SelStart();
  const size_t line = editor.LineFromChar(pos);
  const size_t start = editor.LineIndex(line);
  size_t column = pos - start + 1;
  if (rtf && pos > start) {
    const std::string before = editor.TextRange(start, pos - start);
    for (char c : before) {
      if (c == '\t') column += 3;
    }
  }
  return "  Line " + std::to_string(line + 1) + "  Col. " + std::to_string(column);
}

std::string ShowHexText(const TMyRich& editor) {
  const size_t pos = editor.SelStart();
  if (pos >= editor.TextLength()) return "";
  const std::string next = editor.TextRange(pos, 1);
  if (next.empty()) return "";
  const unsigned char c = static_cast<unsigned char>(next[0]);
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", c);
  return "  " + std::string(1, static_cast<char>(c)) + "  " + hex + "  " + std::to_string(c);
}

std::string LockKeyMessage(bool capsWas, bool numWas, bool caps, bool num) {
  if (num != numWas) return std::string("NUM LOCK ") + (num ? "ON" : "OFF");
  if (caps != capsWas) return std::string("CAPS LOCK ") + (caps ? "ON" : "OFF");
  return "";
}

}  // namespace quorrel
