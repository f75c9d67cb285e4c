#include "commands/ColourCommands.h"

#include <algorithm>
#include <cstdio>

#include "commands/OptionsMenu.h"
#include "commands/TextStyles.h"
#include "platform/Chars.h"
#include "platform/IniFile.h"
#include "platform/RtfModel.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// Where the colour word begins, looking back: quotes of either kind, "(", ":", "=".
bool StartsAfter(char c) {
  return IsBlankOrControl(c) || c == '"' || c == '\'' || c == '(' || c == ':' || c == '=';
}

// Where it ends.
bool EndsAt(char c) {
  static const std::string separators = "\"'(),;:=<>{}[]";
  return IsBlankOrControl(c) || separators.find(c) != std::string::npos;
}

bool IsWordChar(char c) {
  return IsDigit(c) || IsLetter(c) || c == '_';
}

int HexDigit(char c) {
  static const std::string digits = "0123456789ABCDEF";
  const size_t at = digits.find(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

std::string StyleSection(int n) {
  return "Style" + std::to_string(n);
}

std::string StyleItem(const char* menu, int n) {
  return std::string(menu) + std::to_string(n);
}

}  // namespace

// ---- colour words -------------------------------------------------------------------

TColourWord ColourWordAt(const std::string& line, size_t at) {
  TColourWord word;
  size_t start = std::min(at, line.size());
  while (start > 0 && !StartsAfter(line[start - 1])) --start;
  size_t end = start;
  while (end < line.size() && !EndsAt(line[end])) ++end;
  word.start = start;
  word.end = end;
  return word;
}

std::optional<int> ColourOfWord(const std::string& word) {
  if (word.size() != 4 && word.size() != 7) return std::nullopt;
  if (word[0] != '#' && word[0] != '$') return std::nullopt;
  std::string digits = word.substr(1);
  if (digits.size() == 3)
    digits = {digits[0], digits[0], digits[1], digits[1], digits[2], digits[2]};
  int value = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + d;
  }
  if (word[0] == '$') return value;
  // Red, green and blue as written; stored the other way round.
  return ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
}

bool IsPascalColourWord(const std::string& word) {
  return word.starts_with("$") || word.starts_with("cl");
}

std::string ColourWordFor(int bgr, bool pascal) {
  char text[8];
  const int value = pascal ? bgr : ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
  std::snprintf(text, sizeof text, "%06X", value & 0xFFFFFF);
  return (pascal ? "$" : "#") + std::string(text);
}

std::vector<size_t> ColourTokens(const std::string& text, const std::string& word) {
  std::vector<size_t> found;
  if (word.empty()) return found;
  const std::string upperText = UpperCaseLatin1(text);
  const std::string upperWord = UpperCaseLatin1(word);
  for (size_t at = upperText.find(upperWord); at != std::string::npos;
       at = upperText.find(upperWord, at + 1)) {
    const size_t end = at + word.size();
    const bool before = at > 0 && IsWordChar(text[at - 1]) && IsWordChar(word.front());
    const bool after = end < text.size() && IsWordChar(text[end]);
    if (!before && !after) found.push_back(at);
  }
  return found;
}

void ColourDClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const size_t caret = editor->SelStart();
  const size_t line = editor->LineFromChar(caret);
  const size_t lineStart = editor->LineIndex(line);
  const std::string text = editor->TextRange(lineStart, editor->LineLength(line));
  const TColourWord at = ColourWordAt(text, caret - lineStart);
  const std::string word = text.substr(at.start, at.end - at.start);
  if (word.empty()) return;
  std::optional<int> value = ColourOfWord(word);
  if (!value && !AskYesNo("Replace " + word + " by some other colour?")) return;
  int colour = value.value_or(0);
  if (!UserDialogs().ColourDialog(colour)) return;
  const std::string replacement = ColourWordFor(colour, IsPascalColourWord(word));
  const size_t wordStart = lineStart + at.start;
  editor->Select(wordStart, word.size());
  editor->SetSelText(replacement);
  if (IsRtf) return;

  // The other places of the old word, the one just replaced left alone.
  const std::string all = editor->GetText();
  std::vector<size_t> others = ColourTokens(all, word);
  const size_t replacedAt = editor->PosToOffset(wordStart);
  std::erase(others, replacedAt);
  if (others.empty() || !AskYesNo("Replace all other occurrences of " + word + "?")) return;
  editor->BeginEditGroup();
  for (auto it = others.rbegin(); it != others.rend(); ++it) {
    editor->Select(editor->OffsetToPos(*it), word.size());
    editor->SetSelText(replacement);
  }
  editor->EndEditGroup();
  editor->Select(wordStart + replacement.size(), 0);
}

// ---- colours and styles of a formatted selection --------------------------------------

void BgFgClick(bool background) {
  TMyRich* editor = CurrentEditor;
  if (!editor || !FormattedRtf(*editor)) return;
  DropTrailingLineEnds(*editor);
  const TRtfCharFormat now = editor->CharFormatAt(editor->SelStart());
  const int32_t rgb = background ? now.highlight : now.color;
  int colour = rgb < 0 ? (background ? 0xFFFFFF : 0) : BgrOfRgb(rgb);
  if (!UserDialogs().ColourDialog(colour)) return;
  TRtfFormatChange change;
  (background ? change.highlight : change.color) = RgbOfBgr(colour);
  editor->ChangeCharFormat(editor->SelStart(), editor->SelLength(), change);
}

void SaveStyleSub(int n) {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  TIniFile& ini = CurrentSettings();
  const std::string section = StyleSection(n);
  std::string name = ini.ReadString(section, "Name", "");
  if (!name.empty()) {
    const int answer = AskCustom("Overwrite existing style: " + name + "?", "&Overwrite",
                                 "&Remove style", 0, "Cancel");
    if (answer == mrCancel) return;
    if (answer == mrNo) {
      ini.EraseSection(section);
      MainMenu().SetCaption(StyleItem("SaveStyle", n), std::to_string(n));
      return;
    }
  } else if (!UserDialogs().InputQuery("Quorrel", "Enter style name", name, false) ||
             name.empty()) {
    return;
  }
  // Colours as the settings keep them; -1 for the automatic text colour and for no
  // background.
  const TRtfCharFormat format = editor->CharFormatAt(editor->SelStart());
  ini.WriteString(section, "Name", name);
  ini.WriteInteger(section, "Text", format.color < 0 ? -1 : BgrOfRgb(format.color));
  ini.WriteInteger(section, "Background", format.highlight < 0 ? -1 : BgrOfRgb(format.highlight));
  ini.WriteBool(section, "Bold", format.bold);
  ini.WriteBool(section, "Italic", format.italic);
  MainMenu().SetCaption(StyleItem("SaveStyle", n), EscapeAmpersands(name));
  ShowMsg("Style saved");
}

void CopyStyleSub(int n) {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  if (editor->SelLength() == 0) {
    AskOkHelpCancel("You must first highlight the text to be formatted.", StyleHelp);
    return;
  }
  if (!FormattedRtf(*editor)) return;
  TIniFile& ini = CurrentSettings();
  const std::string section = StyleSection(n);
  const int text = ini.ReadInteger(section, "Text", -1);
  const int back = ini.ReadInteger(section, "Background", -1);
  // One fresh format: the style's colours and weights, every other effect off.
  TRtfFormatChange change;
  change.color = text < 0 ? -1 : RgbOfBgr(text);
  change.highlight = back < 0 ? -1 : RgbOfBgr(back);
  change.bold = ini.ReadBool(section, "Bold", false);
  change.italic = ini.ReadBool(section, "Italic", false);
  change.underline = false;
  change.strike = false;
  change.script = 0;
  editor->ChangeCharFormat(editor->SelStart(), editor->SelLength(), change);
}

namespace {

// Opening "Save style" names the saved styles on its items; opening "Copy style"
// shows only the items of saved styles.
void StyleMenuOpened(bool copy) {
  TIniFile& ini = CurrentSettings();
  const char* menu = copy ? "CopyStyle" : "SaveStyle";
  for (int n = 0; n < StyleCount; ++n) {
    const std::string name = ini.ReadString(StyleSection(n), "Name", "");
    MainMenu().SetCaption(StyleItem(menu, n),
                          name.empty() ? std::to_string(n) : EscapeAmpersands(name));
    if (copy) MainMenu().SetVisible(StyleItem(menu, n), !name.empty());
  }
}

}  // namespace

void AddStyleItems() {
  for (const char* menu : {"SaveStyle", "CopyStyle"}) {
    MainMenu().ClearItems(menu);
    const bool copy = std::string(menu) == "CopyStyle";
    for (int n = 0; n < StyleCount; ++n) {
      TMenuItem item;
      item.name = StyleItem(menu, n);
      item.caption = std::to_string(n);
      item.tag = n;
      MainMenu().AddItem(menu, std::move(item));
      MainMenu().SetHandler(StyleItem(menu, n), [copy, n](const TMenuItem&) {
        copy ? CopyStyleSub(n) : SaveStyleSub(n);
      });
    }
  }
}

// ---- phone numbers --------------------------------------------------------------------

std::optional<std::string> PhoneCode(const std::string& number) {
  std::string reversed(number.rbegin(), number.rend());
  if (reversed.size() != 12 || reversed[6] != ' ') return std::nullopt;
  for (size_t i = 0; i < reversed.size(); ++i) {
    char& c = reversed[i];
    c = c == ' ' ? 'W' : static_cast<char>(static_cast<unsigned char>(c) + 16 + i + 1);
  }
  return reversed;
}

std::string PhoneNumberOf(const std::string& code) {
  std::string number;
  for (size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    number += c == 'W' ? ' ' : static_cast<char>(static_cast<unsigned char>(c) - 16 - (i + 1));
  }
  return std::string(number.rbegin(), number.rend());
}

void EncPhoneClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const std::string number = editor->SelText();
  if (number.empty()) ShowErrorAndAbort("First highlight the phone number to be encrypted.");
  const std::optional<std::string> code = PhoneCode(number);
  if (!code) ShowErrorAndAbort("Phone number must be 12 characters with a space in position 6.");
  editor->SetSelText("<Script>EP('" + *code + "')</Script>");
}

void InstallColourCommands() {
  TMenuModel& menu = MainMenu();
  menu.SetHandler("ColourD", [](const TMenuItem&) { ColourDClick(); });
  menu.SetHandler("BgColour", [](const TMenuItem&) { BgFgClick(true); });
  menu.SetHandler("FgColour", [](const TMenuItem&) { BgFgClick(false); });
  menu.SetHandler("SaveStyle", [](const TMenuItem&) { StyleMenuOpened(false); });
  menu.SetHandler("CopyStyle", [](const TMenuItem&) { StyleMenuOpened(true); });
  menu.SetHandler("EncPhone", [](const TMenuItem&) { EncPhoneClick(); });
}

}  // namespace quorrel
