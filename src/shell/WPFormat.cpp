#include "shell/WPFormat.h"

#include <array>

#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "shell/ClassifyDocument.h"
#include "shell/DBoxUnit.h"
#include "shell/MyRich.h"
#include "shell/RtfView.h"
#include "shell/ShellState.h"

namespace quorrel {

std::function<std::string(const std::string&)> WPReparagraph;

namespace {

constexpr int kWhite = 0xFFFFFF;

// Old code page byte -> Windows-1252 byte.
constexpr std::array<std::pair<unsigned char, unsigned char>, 19> kByteMap = {{
    {0x82, 0xE9}, {0x8A, 0xE8}, {0xAB, 0xBD}, {0xAC, 0xBC}, {0xFD, 0xBE},
    {0xFE, 0xA9}, {0x9B, 0xF8}, {0xF8, 0xB0}, {0x0F, 0x20}, {0x93, 0xF4},
    {0x88, 0xEA}, {0x9C, 0xA3}, {0x94, 0xF6}, {0x92, 0xC6}, {0x86, 0xE5},
    {0x81, 0xFC}, {0x84, 0xE4}, {0xE1, 0xDF}, {0x8E, 0xC4},
}};

// The style bytes and the words that switch them on and off.
struct TStyle {
  char byte;
  const char* on;
  const char* off;
};
constexpr TStyle kStyles[] = {
    {0x02, "\\b ", "\\b0 "},
    {0x0E, "\\i ", "\\i0 "},
    {0x13, "\\ul ", "\\ul0 "},
    {0x16, "\\cf1\\b ", "\\cf0\\b0 "},
};

void AppendEscaped(std::string& out, char c) {
  if (c == '\\' || c == '{' || c == '}') out += '\\';
  out += c;
}

std::string Header(const std::string& font, int pointSize) {
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 " + font +
         ";}}\r\n{\\colortbl ;\\red0\\green128\\blue255;\\red66\\green160\\blue255;\\red168"
         "\\green211\\blue255;\\red0\\green255\\blue0;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs" +
         std::to_string(2 * pointSize);
}

std::string Reparagraphed(const std::string& text) {
  return WPReparagraph ? WPReparagraph(text) : text;
}

}  // namespace

bool WPFormatOffered(const std::string& text, bool isRtf, bool inserting) {
  return text.size() > 3 && text[0] == '.' && (!isRtf || inserting);
}

std::string WPMapBytes(const std::string& text) {
  std::array<unsigned char, 256> table;
  for (int b = 0; b < 256; ++b) table[b] = static_cast<unsigned char>(b);
  for (const auto& [from, to] : kByteMap) table[from] = to;
  std::string out = text;
  for (char& c : out) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
  return out;
}

std::string WPFormatSource(const std::string& text, const std::string& font, int pointSize) {
  std::string out = Header(font, pointSize);
  bool on[std::size(kStyles)] = {};
  size_t i = 0;
  while (i < text.size()) {
    // One line: up to CR LF, a lone CR or a lone LF.
    size_t end = text.find_first_of("\r\n", i);
    if (end == std::string::npos) end = text.size();
    for (size_t k = i; k < end; ++k) {
      const char c = text[k];
      bool styled = false;
      for (size_t s = 0; s < std::size(kStyles); ++s) {
        if (c != kStyles[s].byte) continue;
        out += on[s] ? kStyles[s].off : kStyles[s].on;
        on[s] = !on[s];
        styled = true;
      }
      if (styled) continue;
      if (c == '\t') {
        out += "\\tab ";  // the blank ends the word before the text that follows
      } else if (c == 0x0F) {
        out += ' ';
      } else if (c == '_' && k + 2 < end && text[k + 1] == '\b') {
        // Typed underlining: underscore, backspace, the character.
        out += "\\ul ";
        AppendEscaped(out, text[k + 2]);
        out += "\\ul0 ";
        k += 2;
      } else {
        AppendEscaped(out, c);
      }
    }
    out += "\\par \r\n";
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      ++end;
    }
    i = end + 1;
  }
  out += "}";
  return out;
}

bool WPFormat() {
  if (!CurrentEditor || !WPFormatOffered(CurrentText, IsRtf, false)) return false;
  if (!AskYesNo("Convert from Varek's WP format?")) return false;
  CurrentEditor->SetWordWrap(false);
  // A letter is read on white, whatever the colours of the text documents.
  CurrentEditor->SetEditorColour(kWhite);
  const std::string source = WPFormatSource(Reparagraphed(WPMapBytes(CurrentText)), "Arial", 12);
  SetRtfSource(source, *CurrentEditor);
  // The document now differs from its file, which keeps its old name and form.
  CurrentEditor->SetModified(true);
  CurrentFileName = ChangeFileExt(CurrentFileName, ".RTF");
  CurrentExt = ".RTF";
  const int slot = CurrentEditor->Tag();
  if (slot >= 0 && static_cast<size_t>(slot) < OpenFiles.size()) OpenFiles[slot] = CurrentFileName;
  AddCurrentKind(TDocumentKind::Rtf);
  return true;
}

std::string WPFormatInsert(const std::string& text, const std::string& font, int pointSize) {
  if (!WPFormatOffered(text, IsRtf, true)) return "";
  if (!AskYesNo("Convert from Varek's WP format?")) return "";
  if (CurrentEditor) CurrentEditor->SetWordWrap(false);
  return WPFormatSource(Reparagraphed(WPMapBytes(text)), font, pointSize);
}

void ResetWPFormat() {
  WPReparagraph = nullptr;
}

namespace {
const TResetEntry resetWPFormat(ResetWPFormat);
}  // namespace

}  // namespace quorrel
