#include "commands/TextStyles.h"

#include <cstdio>

#include "platform/Desktop.h"
#include "platform/IniFile.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/RtfView.h"
#include "shell/ShellState.h"
#include "validate/ColourScheme.h"

namespace quorrel {

namespace {

// Stands in for the selection while the RTF codes are edited around it.
constexpr char kCodesMarker[] = "##CAH##";
constexpr char kFixedFont[] = "FixedSys";
// The font dialog's light grey, which the user gets as black.
constexpr int kDialogGrey = 15395562;
constexpr int kContentHalfPoints = 24;

bool TakesTags() {
  return IsHtml || IsDotPage || IsCSharp;
}

bool HoldsLineEnd(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

std::string StartTag(const std::string& tag) {
  return "<" + tag + ">";
}

std::string EndTag(const std::string& tag) {
  return "</" + tag + ">";
}

// The tag wrapping of web pages: around the selection, or toggled at the caret.
void InsertTags(TMyRich& editor, const std::string& tag) {
  if (editor.SelLength() > 0) {
    editor.SetSelText(StartTag(tag) + editor.SelText() + EndTag(tag));
    return;
  }
  const std::string before = editor.TextRange(0, editor.SelStart());
  editor.SetSelText(EndTagDue(before, tag) ? EndTag(tag) : StartTag(tag));
}

bool HasStyle(const TRtfCharFormat& format, TTextStyle style) {
  switch (style) {
    case TTextStyle::Bold:
      return format.bold;
    case TTextStyle::Italic:
      return format.italic;
    case TTextStyle::Underline:
      return format.underline;
    case TTextStyle::Strike:
      return format.strike;
  }
  return false;
}

TRtfFormatChange StyleChange(TTextStyle style, bool on) {
  TRtfFormatChange change;
  switch (style) {
    case TTextStyle::Bold:
      change.bold = on;
      break;
    case TTextStyle::Italic:
      change.italic = on;
      break;
    case TTextStyle::Underline:
      change.underline = on;
      break;
    case TTextStyle::Strike:
      change.strike = on;
      break;
  }
  return change;
}

}  // namespace

bool FormattedRtf(const TMyRich& editor) {
  return IsRtf && !editor.PlainText();
}

void DropTrailingLineEnds(TMyRich& editor) {
  size_t start = editor.SelStart();
  size_t length = editor.SelLength();
  while (length > 0) {
    const std::string last = editor.TextRange(start + length - 1, 1);
    if (last.empty() || (last[0] != '\r' && last[0] != '\n')) break;
    --length;
  }
  if (length != editor.SelLength()) editor.Select(start, length);
}

bool ReplaceSelectionByCodes(TMyRich& editor, const std::string& codes, size_t caret,
                             const TRtfFormatChange* markerFormat, bool dropBlankAfter) {
  const size_t start = editor.SelStart();
  const std::string text = editor.SelText();
  constexpr size_t markerLength = sizeof(kCodesMarker) - 1;
  editor.SetSelText(kCodesMarker);
  if (markerFormat) editor.ChangeCharFormat(start, markerLength, *markerFormat);
  std::string source = GetRtfSource(editor);
  const size_t at = source.find(kCodesMarker);
  if (at == std::string::npos) {
    // The writer split the marker: the text goes back as it was.
    editor.Select(start, markerLength);
    editor.SetSelText(text);
    return false;
  }
  size_t cut = markerLength;
  if (dropBlankAfter && at + cut < source.size() && source[at + cut] == ' ') ++cut;
  source.replace(at, cut, codes);
  SetRtfSource(source, editor);
  editor.SetModified(true);
  editor.Select(start + caret, 0);
  editor.ScrollCaret();
  return true;
}

bool EndTagDue(const std::string& before, const std::string& tag) {
  const std::string upper = UpperCaseAnsi(before);
  const std::string name = UpperCaseAnsi(tag);
  const size_t start = upper.rfind("<" + name + ">");
  if (start == std::string::npos) return false;
  const size_t end = upper.rfind("</" + name + ">");
  return end == std::string::npos || start > end;
}

std::string RtfCodesOfText(const std::string& text) {
  std::string codes;
  codes.reserve(text.size() + text.size() / 8);
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    switch (byte) {
      case '\\':
      case '{':
      case '}':
        codes += '\\';
        codes += static_cast<char>(byte);
        break;
      case '\r':
      case '\n':
        if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        codes += "\r\n\\par ";
        break;
      case '\t':
        codes += "\\tab ";
        break;
      case '\v':
        codes += "\\line ";
        break;
      default:
        if (byte < 0x20 || byte >= 0x80) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\'%02x", byte);
          codes += hex;
        } else {
          codes += static_cast<char>(byte);
        }
    }
  }
  return codes;
}

void TagOrStyle(const std::string& tag, TTextStyle style) {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  DropTrailingLineEnds(*editor);
  if (IsRtf && tag != "Kbd" && !editor->PlainText()) {
    const size_t start = editor->SelStart();
    const size_t length = editor->SelLength();
    if (length > 0 && HoldsLineEnd(editor->SelText())) {
      ShowMsg("More code needed here because selected text includes a line-break");
      return;
    }
    // The character before the caret decides, and every selected character follows.
    const size_t caret = start + length;
    const bool on = !HasStyle(editor->CharFormatAt(caret > 0 ? caret - 1 : 0), style);
    editor->ChangeCharFormat(start, length, StyleChange(style, on));
    editor->Select(start, 0);
    return;
  }
  if (!TakesTags()) {
    ShowMsg("Inserting HTML attribute not applicable");
    return;
  }
  InsertTags(*editor, tag);
}

void TagOrCodes(const std::string& tag, const std::string& word, const std::string& closing) {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  DropTrailingLineEnds(*editor);
  if (IsRtf) {
    if (editor->PlainText()) {
      // The codes are on screen: the words go straight in.
      editor->SetSelText(word + editor->SelText() + closing);
    } else {
      ReplaceSelectionByCodes(*editor, word + RtfCodesOfText(editor->SelText()) + closing, 0);
    }
    return;
  }
  if (!TakesTags()) {
    ShowMsg("Inserting HTML attribute not applicable");
    return;
  }
  InsertTags(*editor, tag);
}

void NormalClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor || !FormattedRtf(*editor)) return;
  TRtfFormatChange change;
  change.color = RgbOfBgr(SettingsIni->ReadInteger("Text", "Default", ColourScheme.defaultColour));
  change.highlight =
      RgbOfBgr(SettingsIni->ReadInteger("Text", "Background", ColourScheme.background));
  change.bold = change.italic = change.underline = change.strike = false;
  change.script = 0;
  const size_t start = editor->SelStart();
  if (IsContentDoc && editor->CharFormatAt(start).halfPoints != kContentHalfPoints) {
    change.halfPoints = kContentHalfPoints;
  }
  editor->ChangeCharFormat(start, editor->SelLength(), change);
}

void HtmlFontClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor || !FormattedRtf(*editor)) return;
  const size_t start = editor->SelStart();
  TRtfFormatChange change;
  if (UpperCaseAnsi(editor->CharFormatAt(start).font) != UpperCaseAnsi(kFixedFont)) {
    change.font = kFixedFont;
  } else {
    change.font = editor->CharFormatAt(0).font;
  }
  editor->ChangeCharFormat(start, editor->SelLength(), change);
}

void SetFontClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor || !FormattedRtf(*editor)) return;
  if (editor->SelLength() == 0) {
    ShowMsg("No text selected.");
    return;
  }
  const size_t start = editor->SelStart();
  const TRtfCharFormat now = editor->CharFormatAt(start);
  TFontChoice font;
  font.name = now.font;
  font.size = now.halfPoints / 2;
  font.bold = now.bold;
  font.italic = now.italic;
  font.underline = now.underline;
  font.strike = now.strike;
  font.colour = now.color < 0 ? 0 : BgrOfRgb(now.color);
  if (!UserDialogs().FontDialog(font)) return;
  TRtfFormatChange change;
  change.font = font.name;
  change.halfPoints = font.size * 2;
  change.bold = font.bold;
  change.italic = font.italic;
  change.underline = font.underline;
  change.strike = font.strike;
  change.color = RgbOfBgr(font.colour == kDialogGrey ? 0 : font.colour);
  editor->ChangeCharFormat(start, editor->SelLength(), change);
}

void AlignClick(TRtfAlign align) {
  TMyRich* editor = CurrentEditor;
  if (!editor || !FormattedRtf(*editor)) return;
  editor->AlignParagraphs(editor->SelStart(), editor->SelLength(), align);
}

void BlockQuoteClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  DropTrailingLineEnds(*editor);
  if (!TakesTags()) {
    ShowMsg("Inserting HTML attribute not applicable");
    return;
  }
  if (editor->SelLength() > 0) {
    InsertTags(*editor, "BlockQuote");
    return;
  }
  editor->SetSelText("<BlockQuote>\r\n" + Desktop().ClipboardText() + "</BlockQuote>\r\n");
}

void InstallTextStyleCommands() {
  TMenuModel& menu = MainMenu();
  struct Styled {
    const char* item;
    const char* tag;
  };
  for (const Styled& s : {Styled{"Bold", "b"}, Styled{"Italic", "i"}, Styled{"Underline", "u"},
                          Styled{"Strike", "s"}}) {
    const std::string tag = s.tag;
    menu.SetHandler(s.item, [tag](const TMenuItem& item) {
      TagOrStyle(tag, static_cast<TTextStyle>(item.tag));
    });
  }
  menu.SetHandler("Keyboard", [](const TMenuItem&) { TagOrStyle("Kbd", TTextStyle::Bold); });
  menu.SetHandler("Super",
                  [](const TMenuItem&) { TagOrCodes("Sup", "\\super ", "\\nosupersub "); });
  menu.SetHandler("Sub", [](const TMenuItem&) { TagOrCodes("Sub", "\\sub ", "\\nosupersub "); });
  menu.SetHandler("Quote", [](const TMenuItem&) { TagOrCodes("q", "\\q ", "\\q0 "); });
  menu.SetHandler("Normal", [](const TMenuItem&) { NormalClick(); });
  menu.SetHandler("HTML", [](const TMenuItem&) { HtmlFontClick(); });
  menu.SetHandler("SetFont", [](const TMenuItem&) { SetFontClick(); });
  menu.SetHandler("AlLeft", [](const TMenuItem&) { AlignClick(TRtfAlign::Left); });
  menu.SetHandler("AlRight", [](const TMenuItem&) { AlignClick(TRtfAlign::Right); });
  menu.SetHandler("AlCentre", [](const TMenuItem&) { AlignClick(TRtfAlign::Center); });
  menu.SetHandler("BlockQuote", [](const TMenuItem&) { BlockQuoteClick(); });
}

}  // namespace quorrel
