#include "platform/RtfCompose.h"

#include <cstdint>
#include <map>
#include <vector>

#include "platform/CodePage.h"
#include "platform/RtfMasterWords.h"

namespace quorrel {

namespace {

const char kHexDigits[] = "0123456789abcdef";
// The font of a bullet's mark, whose byte B7 is the bullet.
const char kBulletFont[] = "Symbol";

class TComposer {
 public:
  explicit TComposer(const TRtfDocument& document) : doc_(document) {}
  std::string Run();

 private:
  const TRtfCharFormat& FirstFormat(size_t paragraph) const;
  void ChooseBase();
  void CollectTables();
  void AddFont(const std::string& name);
  void AddColor(int32_t color);
  void WriteHeader();
  void WriteParaFormat(const TRtfParaFormat& f);
  void WriteCharChange(const TRtfCharFormat& from, const TRtfCharFormat& to);
  void WriteText(std::u16string_view text);
  void WriteInstruction(const std::string& instruction);
  void Word(const char* word) {
    out_ += word;
    wordOpen_ = true;
  }
  void Word(const char* word, long value) {
    out_ += word;
    out_ += std::to_string(value);
    wordOpen_ = true;
  }
  // Plain text after a control word needs the blank that ends the word.
  void Plain(char c) {
    if (wordOpen_) out_ += ' ';
    out_ += c;
    wordOpen_ = false;
  }
  void Symbol(const char* text) {
    out_ += text;
    wordOpen_ = false;
  }
  void HexByte(unsigned char byte) {
    out_ += "\\'";
    out_ += kHexDigits[byte >> 4];
    out_ += kHexDigits[byte & 15];
    wordOpen_ = false;
  }
  TRtfCharFormat MarkFormat(const TRtfCharFormat& current, const TRtfCharFormat& next) const;
  std::string FontOf(const TRtfCharFormat& f) const {
    return f.font.empty() ? std::string(kRtfFallbackFont) : f.font;
  }

  const TRtfDocument& doc_;
  std::vector<std::string> fonts_;
  std::map<std::string, int> fontIndex_;
  std::vector<int32_t> colors_;
  std::map<int32_t, int> colorIndex_;
  TRtfCharFormat base_;  // what every paragraph mark falls back to
  std::string out_;
  bool wordOpen_ = false;
};

const TRtfCharFormat& TComposer::FirstFormat(size_t paragraph) const {
  const TRtfParagraph& p = doc_.paragraphs[paragraph];
  return p.runs.empty() ? p.markFormat : p.runs.front().format;
}

void TComposer::AddFont(const std::string& name) {
  if (fontIndex_.count(name)) return;
  fontIndex_[name] = static_cast<int>(fonts_.size());
  fonts_.push_back(name);
}

void TComposer::AddColor(int32_t color) {
  if (color < 0 || colorIndex_.count(color)) return;
  colorIndex_[color] = static_cast<int>(colors_.size()) + 1;  // entry 0 is the automatic colour
  colors_.push_back(color);
}

// The font and size most of the text is in: font 0 and the size the header gives.
void TComposer::ChooseBase() {
  std::map<std::pair<std::string, int>, size_t> counts;
  std::pair<std::string, int> best(FontOf(FirstFormat(0)), FirstFormat(0).halfPoints);
  size_t bestCount = 0;
  for (const TRtfParagraph& p : doc_.paragraphs) {
    for (const TRtfRun& run : p.runs) {
      std::pair<std::string, int> key(FontOf(run.format), run.format.halfPoints);
      const size_t count = counts[key] += run.text.size();
      if (count > bestCount) {
        bestCount = count;
        best = key;
      }
    }
  }
  base_ = TRtfCharFormat();
  base_.font = best.first;
  base_.halfPoints = best.second;
}

void TComposer::CollectTables() {
  bool bullets = false;
  for (size_t i = 0; i < doc_.paragraphs.size(); ++i) {
    const TRtfParagraph& p = doc_.paragraphs[i];
    bullets = bullets || p.format.bullet;
    if (p.runs.empty()) {
      AddFont(FontOf(p.markFormat));
      AddColor(p.markFormat.color);
      AddColor(p.markFormat.highlight);
    }
    for (const TRtfRun& run : p.runs) {
      AddFont(FontOf(run.format));
      AddColor(run.format.color);
      AddColor(run.format.highlight);
    }
  }
  // After the text's fonts: a master's fixed-pitch font stays the second.
  if (bullets) AddFont(kBulletFont);
}

// A paragraph mark keeps a property only where the text on both sides of it has it;
// elsewhere it falls back to the base, so that formatting closes before a line end
// and opens after the next "\par ".
TRtfCharFormat TComposer::MarkFormat(const TRtfCharFormat& current,
                                     const TRtfCharFormat& next) const {
  TRtfCharFormat m;
  auto pick = [](const auto& cur, const auto& nxt, const auto& base) {
    return cur == nxt ? cur : base;
  };
  m.font = FontOf(current) == FontOf(next) ? FontOf(current) : base_.font;
  m.halfPoints = pick(current.halfPoints, next.halfPoints, base_.halfPoints);
  m.bold = pick(current.bold, next.bold, base_.bold);
  m.italic = pick(current.italic, next.italic, base_.italic);
  m.underline = pick(current.underline, next.underline, base_.underline);
  m.strike = pick(current.strike, next.strike, base_.strike);
  m.caps = pick(current.caps, next.caps, base_.caps);
  m.script = pick(current.script, next.script, base_.script);
  m.color = pick(current.color, next.color, base_.color);
  m.highlight = pick(current.highlight, next.highlight, base_.highlight);
  return m;
}

void TComposer::WriteHeader() {
  out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl";
  for (size_t i = 0; i < fonts_.size(); ++i) {
    Word("{\\f", static_cast<long>(i));
    Word(IsSymbolFont(fonts_[i]) ? "\\fnil\\fcharset2 " : "\\fnil\\fcharset0 ");
    for (char c : fonts_[i]) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte >= 0x80 || c == '\\' || c == '{' || c == '}' || c == ';') {
        HexByte(byte);
      } else {
        out_ += c;
      }
    }
    out_ += ";}";
  }
  out_ += "}\r\n{\\colortbl ;";
  for (int32_t color : colors_) {
    Word("\\red", (color >> 16) & 255);
    Word("\\green", (color >> 8) & 255);
    Word("\\blue", color & 255);
    out_ += ';';
  }
  out_ += "}\r\n\\viewkind4\\uc1\\pard";
}

void TComposer::WriteParaFormat(const TRtfParaFormat& f) {
  if (f.keep) Word("\\keep");
  if (f.keepNext) Word("\\keepn");
  for (const TRtfTab& tab : f.tabs) {
    if (tab.kind == 'c') Word("\\tqc");
    if (tab.kind == 'r') Word("\\tqr");
    if (tab.kind == 'd') Word("\\tqdec");
    Word("\\tx", tab.position);
  }
  if (f.noHyphenation) Word("\\hyphpar0");
  if (f.firstIndent) Word("\\fi", f.firstIndent);
  if (f.leftIndent) Word("\\li", f.leftIndent);
  if (f.rightIndent) Word("\\ri", f.rightIndent);
  if (f.lineSpacing) {
    Word("\\sl", f.lineSpacing);
    if (f.lineMultiple) Word("\\slmult1");
  }
  if (f.spaceBefore) Word("\\sb", f.spaceBefore);
  if (f.spaceAfter) Word("\\sa", f.spaceAfter);
  if (f.align == TRtfAlign::Center) Word("\\qc");
  if (f.align == TRtfAlign::Right) Word("\\qr");
  if (f.align == TRtfAlign::Justify) Word("\\qj");
}

// Colour first, then what ends (innermost first), then font and size, then what
// starts: "\cf1\highlight2 ", "\i0\b0", "\highlight1\fs40 ", "\caps0\b\i ".
void TComposer::WriteCharChange(const TRtfCharFormat& from, const TRtfCharFormat& to) {
  if (from.color != to.color) Word("\\cf", to.color < 0 ? 0 : colorIndex_[to.color]);
  if (from.highlight != to.highlight) {
    Word("\\highlight", to.highlight < 0 ? 0 : colorIndex_[to.highlight]);
  }
  if (from.script != to.script && to.script == 0) Word("\\nosupersub");
  if (from.caps && !to.caps) Word("\\caps0");
  if (from.strike && !to.strike) Word("\\strike0");
  if (from.underline && !to.underline) Word("\\ulnone");
  if (from.italic && !to.italic) Word("\\i0");
  if (from.bold && !to.bold) Word("\\b0");
  if (FontOf(from) != FontOf(to)) Word("\\f", fontIndex_[FontOf(to)]);
  if (from.halfPoints != to.halfPoints) Word("\\fs", to.halfPoints);
  if (!from.bold && to.bold) Word("\\b");
  if (!from.italic && to.italic) Word("\\i");
  if (!from.underline && to.underline) Word("\\ul");
  if (!from.strike && to.strike) Word("\\strike");
  if (!from.caps && to.caps) Word("\\caps");
  if (from.script != to.script && to.script == 1) Word("\\super");
  if (from.script != to.script && to.script == -1) Word("\\sub");
}

std::string TComposer::Run() {
  if (doc_.paragraphs.empty()) return ComposeRtf(RtfDocumentOfText("", TRtfCharFormat()));
  out_.reserve(256 + doc_.paragraphs.size() * 8);
  ChooseBase();
  AddFont(base_.font);
  CollectTables();
  WriteHeader();
  WriteParaFormat(doc_.paragraphs[0].format);
  Word("\\f0");
  Word("\\fs", base_.halfPoints);
  Symbol(" ");  // the header ends at the first blank, whatever follows
  TRtfCharFormat state = base_;
  for (size_t i = 0; i < doc_.paragraphs.size(); ++i) {
    const TRtfParagraph& p = doc_.paragraphs[i];
    if (i > 0) {
      Symbol("\r\n\\par ");
      if (!(p.format == doc_.paragraphs[i - 1].format)) {
        Word("\\pard");
        WriteParaFormat(p.format);
      }
    }
    if (p.format.bullet) {
      // The bullet as rich-edit controls write it: its text for readers without
      // lists, and the list level that word processors show as a bullet.
      const std::string font = std::to_string(fontIndex_[kBulletFont]);
      Symbol(("{\\pntext\\f" + font + "\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf" + font +
              "\\pnindent0{\\pntxtb\\'B7}}")
                 .c_str());
    }
    std::string field;  // the field whose result is being written
    TRtfCharFormat beforeField;
    for (const TRtfRun& run : p.runs) {
      if (run.format.field != field) {
        // The field's group ends its formatting too.
        if (!field.empty()) {
          Symbol("}}");
          state = beforeField;
        }
        field = run.format.field;
        if (!field.empty()) {
          beforeField = state;
          Symbol("{\\field{\\*\\fldinst ");
          WriteInstruction(field);
          Symbol("}{\\fldrslt ");
        }
      }
      WriteCharChange(state, run.format);
      state = run.format;
      state.font = FontOf(run.format);
      WriteText(run.text);
    }
    if (!field.empty()) {
      Symbol("}}");
      state = beforeField;
    }
    // An empty paragraph takes the format in force at its mark: changing it on
    // its own line would change the paragraph.
    if (p.runs.empty()) continue;
    const TRtfCharFormat mark =
        MarkFormat(state, i + 1 < doc_.paragraphs.size() ? FirstFormat(i + 1) : base_);
    WriteCharChange(state, mark);
    state = mark;
  }
  Symbol("\r\n\\par }\r\n");
  return std::move(out_);
}

void TComposer::WriteInstruction(const std::string& instruction) {
  for (const char ch : instruction) {
    const auto byte = static_cast<unsigned char>(ch);
    if (ch == '\\' || ch == '{' || ch == '}') {
      const char escaped[] = {'\\', ch, 0};
      Symbol(escaped);
    } else if (byte >= 0x80 || byte < 0x20) {
      HexByte(byte);
    } else {
      Plain(ch);
    }
  }
}

void TComposer::WriteText(std::u16string_view text) {
  for (const char16_t ch : text) {
    if (ch == '\t') {
      Word("\\tab");
    } else if (ch == 0x2028 || ch == 0x0B) {
      // VT is how a line break reads out as text; other control characters are
      // no line breaks and are written below, so that they read back as themselves.
      Word("\\line");
    } else if (ch == kRtfOptionalHyphen) {
      Symbol("\\-");
    } else if (ch == kRtfNonBreakingHyphen) {
      Symbol("\\_");
    } else if (ch == '\\' || ch == '{' || ch == '}') {
      const char escaped[] = {'\\', static_cast<char>(ch), 0};
      Symbol(escaped);
    } else if (ch == 0x00A0) {
      Symbol("\\~");  // the non-breaking blank as word processors write it
    } else if (ch >= 0x20 && ch < 0x80) {
      Plain(static_cast<char>(ch));
    } else {
      bool ok = false;
      const unsigned char byte = UnicodeToAnsi(ch, &ok);
      if (ok) {
        HexByte(byte);
      } else {
        Word("\\u", static_cast<int16_t>(ch));
        Symbol("?");
      }
    }
  }
}

}  // namespace

std::string ComposeRtf(const TRtfDocument& document) {
  if (IsDotMasterDocument(document)) return TComposer(InMasterWords(document)).Run();
  return TComposer(document).Run();
}

}  // namespace quorrel
