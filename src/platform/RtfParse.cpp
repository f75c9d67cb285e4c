#include "platform/RtfParse.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/CodePage.h"
#include "platform/RtfTokens.h"

namespace quorrel {

namespace {

// ---- code pages ------------------------------------------------------------

using TByteTable = std::array<char16_t, 256>;

bool IsDoubleByteCodePage(int codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
         codePage == 1361;
}

std::string IconvName(int codePage) {
  switch (codePage) {
    case 10000:
      return "MACINTOSH";
    case 1361:
      return "JOHAB";
    default:
      return "CP" + std::to_string(codePage);
  }
}

// The character of each byte of a single-byte code page; built once per code page.
const TByteTable& SingleByteTable(int codePage) {
  static std::map<int, std::unique_ptr<TByteTable>> tables;
  auto found = tables.find(codePage);
  if (found != tables.end()) return *found->second;
  auto table = std::make_unique<TByteTable>();
  for (int b = 0; b < 256; ++b) (*table)[b] = AnsiToUnicode(static_cast<unsigned char>(b));
  if (codePage != 1252) {
    const std::string name = IconvName(codePage);
    for (int b = 0x80; b < 256; ++b) {
      std::string out;
      if (ConvertCodePage(name, "UTF-16LE", std::string(1, static_cast<char>(b)), out) &&
          out.size() == 2) {
        (*table)[b] = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                            (static_cast<unsigned char>(out[1]) << 8));
      }
    }
  }
  return *tables.emplace(codePage, std::move(table)).first->second;
}

int CodePageOfCharset(int charset, int documentCodePage) {
  switch (charset) {
    case 77:
      return 10000;
    case 128:
      return 932;
    case 129:
      return 949;
    case 130:
      return 1361;
    case 134:
      return 936;
    case 136:
      return 950;
    case 161:
      return 1253;
    case 162:
      return 1254;
    case 163:
      return 1258;
    case 177:
      return 1255;
    case 178:
      return 1256;
    case 186:
      return 1257;
    case 204:
      return 1251;
    case 222:
      return 874;
    case 238:
      return 1250;
    case 255:
      return 437;
    default:
      return documentCodePage;  // 0 ANSI, 1 default, 2 symbol and the rest
  }
}

// ---- reader state ------------------------------------------------------------

enum class TDest { Text, Skip, FontTable, ColorTable, FieldInstruction };

struct TState {
  TDest dest = TDest::Text;
  int font = -1;  // -1: the document's default font
  int halfPoints = 24;
  bool bold = false, italic = false, underline = false, strike = false, caps = false;
  bool hidden = false;
  int script = 0;
  int color = 0;      // index into the colour table
  int highlight = 0;  // index into the colour table
  int uc = 1;         // bytes of fallback after \uN
  char tabKind = 'l';
  TRtfParaFormat para;
  std::string field;  // the instruction of the field being read
};

struct TFont {
  std::string name;
  int codePage = 1252;
};

// A field instruction without the blanks and line ends round it.
std::string TrimmedInstruction(const std::string& text) {
  const size_t start = text.find_first_not_of(" \r\n");
  if (start == std::string::npos) return "";
  return text.substr(start, text.find_last_not_of(" \r\n") - start + 1);
}

// Destinations whose content is never text of the document.
bool IsSkippedDestination(std::string_view word) {
  static const std::unordered_map<std::string_view, bool> kSkipped = [] {
    std::unordered_map<std::string_view, bool> m;
    for (std::string_view w : {"pict",         "object",
                               "objdata",      "stylesheet",
                               "info",         "header",
                               "footer",       "headerl",
                               "headerr",      "headerf",
                               "footerl",      "footerr",
                               "footerf",      "footnote",
                               "annotation",   "fldinst",
                               "themedata",    "colorschememapping",
                               "latentstyles", "datastore",
                               "listtable",    "listoverridetable",
                               "revtbl",       "rsidtbl",
                               "generator",    "xmlnstbl",
                               "mmathPr",      "filetbl",
                               "pgdsctbl",     "pn",
                               "pntxtb",       "pntxta",
                               "bkmkstart",    "bkmkend",
                               "template",     "docvar",
                               "userprops",    "nonshppict",
                               "shp",          "shpinst",
                               "shptxt",       "sp",
                               "sn",           "sv",
                               "atnid",        "atnauthor",
                               "atnref",       "atndate",
                               "private",      "xe",
                               "tc",           "txe",
                               "ftnsep",       "ftnsepc",
                               "ftncn",        "aftnsep",
                               "aftnsepc",     "aftncn",
                               "comment",      "doccomm",
                               "author",       "title",
                               "subject",      "keywords",
                               "operator",     "company",
                               "manager",      "category",
                               "creatim",      "revtim",
                               "printim",      "buptim",
                               "hlinkbase",    "falt",
                               "panose",       "fontemb",
                               "fontfile",     "listpicture",
                               "protusertbl",  "wgrffmtfilter",
                               "background",   "do"}) {
      m.emplace(w, true);
    }
    return m;
  }();
  return kSkipped.count(word) != 0;
}

class TParser {
 public:
  explicit TParser(std::string_view source) : tokens_(source) {}
  TRtfDocument Run();

 private:
  void OnWord(const TRtfToken& token);
  void OnSymbol(char symbol);
  void OnText(std::string_view bytes);
  void OnByte(unsigned char byte);
  void OnGroupStart();
  void OnGroupEnd();
  bool CharacterWord(std::string_view w, bool has, int p);
  bool ParagraphWord(std::string_view w, bool has, int p);
  void FontTableToken(const TRtfToken& token);
  void ColorTableToken(const TRtfToken& token);
  void EndFontEntry();

  void AddChar(char16_t ch);
  void DecodeBytes();
  void Flush();
  void EndParagraph();
  void EndListMark();
  void Finish();
  TRtfCharFormat CurrentFormat() const;
  int CodePageNow() const;
  int32_t ColorAt(int index) const;

  TRtfTokenizer tokens_;
  TState state_;
  std::vector<TState> stack_;
  int overflowDepth_ = 0;
  bool finished_ = false;
  int documentCodePage_ = 1252;
  int defaultFont_ = 0;
  std::map<int, TFont> fonts_;
  std::vector<int32_t> colors_;
  // Font table entry being read.
  int entryFont_ = -1;
  int entryCharset_ = 0;
  int entryCodePage_ = 0;
  std::string entryName_;
  // Colour table entry being read.
  int red_ = 0, green_ = 0, blue_ = 0;
  bool colorGiven_ = false;
  // Text not yet put into a run.
  std::string pendingBytes_;  // in the code page of the current font
  int pendingCodePage_ = 1252;
  std::u16string pendingText_;
  int fallbackToSkip_ = 0;
  TRtfDocument document_;
  TRtfParagraph paragraph_;
  // The group depth of a list item's mark being read (0: none), the runs the
  // paragraph had when it began, and a bullet for the paragraph being read.
  size_t markText_ = 0;
  size_t markRuns_ = 0;
  bool bulletPending_ = false;
  // The token before was the "\\*" of a destination; the instruction of the
  // field being read.
  bool afterStar_ = false;
  std::string fieldText_;
};

TRtfDocument TParser::Run() {
  constexpr size_t kMaxDepth = 1000;
  for (;;) {
    const TRtfToken token = tokens_.Next();
    if (token.kind == TRtfTokenKind::End || finished_) break;
    const bool afterStar = afterStar_;
    afterStar_ = false;
    switch (token.kind) {
      case TRtfTokenKind::GroupStart:
        if (stack_.size() >= kMaxDepth) {
          ++overflowDepth_;
        } else {
          OnGroupStart();
        }
        break;
      case TRtfTokenKind::GroupEnd:
        if (overflowDepth_ > 0) {
          --overflowDepth_;
        } else {
          OnGroupEnd();
        }
        break;
      case TRtfTokenKind::Word:
        if (state_.dest == TDest::Skip && token.name == "fldinst" && afterStar) {
          // A field's instruction: kept with the field's result text.
          state_.dest = TDest::FieldInstruction;
          fieldText_.clear();
        } else if (state_.dest == TDest::FieldInstruction) {
          // Switches and nested fields of an instruction are not kept.
        } else if (state_.dest == TDest::FontTable) {
          FontTableToken(token);
        } else if (state_.dest == TDest::ColorTable) {
          ColorTableToken(token);
        } else if (state_.dest == TDest::Text) {
          OnWord(token);
        }
        break;
      case TRtfTokenKind::Symbol:
        if (token.symbol == '*') {
          Flush();
          afterStar_ = state_.dest != TDest::FieldInstruction;
          state_.dest = TDest::Skip;
        } else if (state_.dest == TDest::FieldInstruction) {
          if (token.symbol == '\\' || token.symbol == '{' || token.symbol == '}') {
            fieldText_ += token.symbol;
          }
        } else if (state_.dest == TDest::Text) {
          OnSymbol(token.symbol);
        }
        break;
      case TRtfTokenKind::Hex:
        if (state_.dest == TDest::FieldInstruction) {
          fieldText_ += static_cast<char>(token.byte);
        } else if (state_.dest == TDest::FontTable) {
          FontTableToken(token);
        } else if (state_.dest == TDest::Text) {
          OnByte(token.byte);
        }
        break;
      case TRtfTokenKind::Text:
        if (state_.dest == TDest::FieldInstruction) {
          fieldText_ += token.name;
        } else if (state_.dest == TDest::FontTable) {
          FontTableToken(token);
        } else if (state_.dest == TDest::ColorTable) {
          ColorTableToken(token);
        } else if (state_.dest == TDest::Text) {
          OnText(token.name);
        }
        break;
      case TRtfTokenKind::Binary:
      case TRtfTokenKind::End:
        break;
    }
  }
  Finish();
  return std::move(document_);
}

void TParser::OnGroupStart() {
  Flush();
  fallbackToSkip_ = 0;
  stack_.push_back(state_);
}

void TParser::OnGroupEnd() {
  Flush();
  fallbackToSkip_ = 0;
  if (markText_ != 0 && stack_.size() == markText_) EndListMark();
  if (state_.dest == TDest::FontTable) EndFontEntry();
  if (stack_.empty()) return;  // a stray closing brace
  if (stack_.size() == 1) {
    // The end of the document's own group: what follows it is not part of it.
    Finish();
    finished_ = true;
  }
  const bool instructionEnds = state_.dest == TDest::FieldInstruction;
  state_ = stack_.back();
  stack_.pop_back();
  // The field's group holds its result: the text read in it carries the instruction.
  if (instructionEnds && state_.dest == TDest::Text) state_.field = TrimmedInstruction(fieldText_);
}

void TParser::FontTableToken(const TRtfToken& token) {
  if (token.kind == TRtfTokenKind::Word) {
    if (token.name == "f") {
      EndFontEntry();
      entryFont_ = token.parameter;
    } else if (token.name == "fcharset") {
      entryCharset_ = token.parameter;
    } else if (token.name == "cpg") {
      entryCodePage_ = token.parameter;
    } else if (IsSkippedDestination(token.name)) {
      state_.dest = TDest::Skip;
    }
    return;
  }
  if (token.kind == TRtfTokenKind::Hex) {
    entryName_ += static_cast<char>(token.byte);
    return;
  }
  for (char c : token.name) {
    if (c == ';') {
      EndFontEntry();
    } else {
      entryName_ += c;
    }
  }
}

void TParser::EndFontEntry() {
  size_t start = entryName_.find_first_not_of(' ');
  size_t end = entryName_.find_last_not_of(' ');
  if (entryFont_ >= 0 && start != std::string::npos) {
    TFont font;
    font.name = entryName_.substr(start, end - start + 1);
    font.codePage =
        entryCodePage_ > 0 ? entryCodePage_ : CodePageOfCharset(entryCharset_, documentCodePage_);
    fonts_[entryFont_] = font;
  }
  entryFont_ = -1;
  entryCharset_ = 0;
  entryCodePage_ = 0;
  entryName_.clear();
}

void TParser::ColorTableToken(const TRtfToken& token) {
  if (token.kind == TRtfTokenKind::Word) {
    const int value = token.parameter < 0 ? 0 : (token.parameter > 255 ? 255 : token.parameter);
    if (token.name == "red") {
      red_ = value, colorGiven_ = true;
    } else if (token.name == "green") {
      green_ = value, colorGiven_ = true;
    } else if (token.name == "blue") {
      blue_ = value, colorGiven_ = true;
    }
    return;
  }
  for (char c : token.name) {
    if (c != ';') continue;
    colors_.push_back(colorGiven_ ? (red_ << 16) | (green_ << 8) | blue_ : -1);
    red_ = green_ = blue_ = 0;
    colorGiven_ = false;
  }
}

void TParser::OnWord(const TRtfToken& token) {
  const std::string_view w = token.name;
  const bool has = token.hasParameter;
  const int p = token.parameter;
  const bool structural = w == "par" || w == "sect" || w == "page" || w == "row" || w == "cell";
  if (fallbackToSkip_ > 0 && !structural) {
    --fallbackToSkip_;
    return;
  }
  fallbackToSkip_ = 0;
  if (w == "par" || w == "row") {
    EndParagraph();
  } else if (w == "sect" || w == "page" || w == "column") {
    // A break of its own after a paragraph mark adds no empty paragraph.
    Flush();
    if (!paragraph_.runs.empty()) EndParagraph();
  } else if (w == "tab" || w == "cell" || w == "nestcell") {
    AddChar(u'\t');
  } else if (w == "line" || w == "lbr") {
    AddChar(char16_t{0x2028});
  } else if (w == "u") {
    if (has) {
      AddChar(static_cast<char16_t>(p < 0 ? p + 65536 : p));
      fallbackToSkip_ = state_.uc;
    }
  } else if (w == "uc") {
    state_.uc = has && p >= 0 ? p : 1;
  } else if (w == "bullet") {
    AddChar(char16_t{0x2022});
  } else if (w == "endash") {
    AddChar(char16_t{0x2013});
  } else if (w == "emdash") {
    AddChar(char16_t{0x2014});
  } else if (w == "lquote") {
    AddChar(char16_t{0x2018});
  } else if (w == "rquote") {
    AddChar(char16_t{0x2019});
  } else if (w == "ldblquote") {
    AddChar(char16_t{0x201C});
  } else if (w == "rdblquote") {
    AddChar(char16_t{0x201D});
  } else if (w == "emspace" || w == "enspace" || w == "qmspace") {
    AddChar(u' ');
  } else if (w == "pntext" || w == "listtext") {
    // The text of a list item's number or bullet, for readers without lists.
    Flush();
    markText_ = stack_.size();
    markRuns_ = paragraph_.runs.size();
  } else if (w == "fonttbl") {
    Flush();
    state_.dest = TDest::FontTable;
  } else if (w == "colortbl") {
    Flush();
    state_.dest = TDest::ColorTable;
    colors_.clear();
  } else if (IsSkippedDestination(w)) {
    Flush();
    state_.dest = TDest::Skip;
  } else if (w == "ansicpg") {
    if (has && p > 0) documentCodePage_ = p;
  } else if (w == "mac") {
    documentCodePage_ = 10000;
  } else if (w == "pc") {
    documentCodePage_ = 437;
  } else if (w == "pca") {
    documentCodePage_ = 850;
  } else if (w == "deff") {
    defaultFont_ = p;
  } else if (!CharacterWord(w, has, p)) {
    ParagraphWord(w, has, p);
  }
}

// Character formatting; true when the word was one.
bool TParser::CharacterWord(std::string_view w, bool has, int p) {
  const bool on = !has || p != 0;
  TState& s = state_;
  auto change = [&](auto& field, auto value) {
    if (field == value) return;
    Flush();
    field = value;
  };
  if (w == "plain") {
    Flush();
    s.font = -1, s.halfPoints = 24, s.bold = s.italic = s.underline = s.strike = false;
    s.caps = s.hidden = false, s.script = 0, s.color = s.highlight = 0;
  } else if (w == "b") {
    change(s.bold, on);
  } else if (w == "i") {
    change(s.italic, on);
  } else if (w == "ulnone") {
    change(s.underline, false);
  } else if (w.substr(0, 2) == "ul" && w.substr(0, 3) != "ulc") {
    change(s.underline, on);
  } else if (w == "strike" || w == "striked") {
    change(s.strike, on);
  } else if (w == "caps") {
    change(s.caps, on);
  } else if (w == "v") {
    change(s.hidden, on);
  } else if (w == "super") {
    change(s.script, 1);
  } else if (w == "sub") {
    change(s.script, -1);
  } else if (w == "nosupersub") {
    change(s.script, 0);
  } else if (w == "up") {
    change(s.script, has && p == 0 ? 0 : 1);
  } else if (w == "dn") {
    change(s.script, has && p == 0 ? 0 : -1);
  } else if (w == "f") {
    change(s.font, has ? p : 0);
  } else if (w == "fs") {
    change(s.halfPoints, !has || p <= 0 ? 24 : (p < 2 ? 2 : (p > 3276 ? 3276 : p)));
  } else if (w == "cf") {
    change(s.color, has ? p : 0);
  } else if (w == "highlight" || w == "cb" || w == "chcbpat") {
    change(s.highlight, has ? p : 0);
  } else {
    return false;
  }
  return true;
}

bool TParser::ParagraphWord(std::string_view w, bool has, int p) {
  TRtfParaFormat& f = state_.para;
  const int value = has ? p : 0;
  if (w == "pard") {
    f = TRtfParaFormat();
    state_.tabKind = 'l';
  } else if (w == "ql") {
    f.align = TRtfAlign::Left;
  } else if (w == "qc") {
    f.align = TRtfAlign::Center;
  } else if (w == "qr") {
    f.align = TRtfAlign::Right;
  } else if (w == "qj" || w == "qd") {
    f.align = TRtfAlign::Justify;
  } else if (w == "fi") {
    f.firstIndent = value;
  } else if (w == "li" || w == "lin") {
    f.leftIndent = value;
  } else if (w == "ri" || w == "rin") {
    f.rightIndent = value;
  } else if (w == "sb") {
    f.spaceBefore = value;
  } else if (w == "sa") {
    f.spaceAfter = value;
  } else if (w == "sl") {
    f.lineSpacing = value;
  } else if (w == "slmult") {
    f.lineMultiple = value != 0;
  } else if (w == "keep") {
    f.keep = !has || p != 0;
  } else if (w == "keepn") {
    f.keepNext = !has || p != 0;
  } else if (w == "hyphpar") {
    f.noHyphenation = has && p == 0;
  } else if (w == "tqr") {
    state_.tabKind = 'r';
  } else if (w == "tqc") {
    state_.tabKind = 'c';
  } else if (w == "tqdec") {
    state_.tabKind = 'd';
  } else if (w == "tx") {
    if (f.tabs.size() < 256) f.tabs.push_back(TRtfTab{value, state_.tabKind});
    state_.tabKind = 'l';
  } else {
    return false;
  }
  return true;
}

void TParser::OnSymbol(char symbol) {
  if (fallbackToSkip_ > 0) {
    --fallbackToSkip_;
    return;
  }
  switch (symbol) {
    case '\\':
    case '{':
    case '}':
      OnByte(static_cast<unsigned char>(symbol));
      break;
    case '~':
      AddChar(char16_t{0x00A0});
      break;
    case '_':
      AddChar(kRtfNonBreakingHyphen);
      break;
    case '-':
      AddChar(kRtfOptionalHyphen);
      break;
    case '\t':
      AddChar(u'\t');
      break;
    default:  // \: index subentry, \| formula: nothing to show
      break;
  }
}

void TParser::OnText(std::string_view bytes) {
  if (fallbackToSkip_ > 0) {
    const size_t skip = std::min<size_t>(bytes.size(), static_cast<size_t>(fallbackToSkip_));
    fallbackToSkip_ -= static_cast<int>(skip);
    bytes.remove_prefix(skip);
  }
  if (bytes.empty() || state_.hidden) return;
  const int codePage = CodePageNow();
  if (IsDoubleByteCodePage(codePage)) {
    if (pendingCodePage_ != codePage) DecodeBytes();
    pendingCodePage_ = codePage;
    pendingBytes_.append(bytes);
    return;
  }
  DecodeBytes();
  const TByteTable& table = SingleByteTable(codePage);
  for (char c : bytes) pendingText_ += table[static_cast<unsigned char>(c)];
}

void TParser::OnByte(unsigned char byte) {
  if (fallbackToSkip_ > 0) {
    --fallbackToSkip_;
    return;
  }
  const char c = static_cast<char>(byte);
  OnText(std::string_view(&c, 1));
}

void TParser::AddChar(char16_t ch) {
  if (state_.hidden) return;
  DecodeBytes();
  pendingText_ += ch;
}

void TParser::DecodeBytes() {
  if (pendingBytes_.empty()) return;
  std::string out;
  if (ConvertCodePage(IconvName(pendingCodePage_), "UTF-16LE", pendingBytes_, out)) {
    for (size_t i = 0; i + 1 < out.size(); i += 2) {
      pendingText_ += static_cast<char16_t>(static_cast<unsigned char>(out[i]) |
                                            (static_cast<unsigned char>(out[i + 1]) << 8));
    }
  } else {
    pendingText_.append(pendingBytes_.size(), u'?');
  }
  pendingBytes_.clear();
}

void TParser::Flush() {
  DecodeBytes();
  if (pendingText_.empty()) return;
  AppendRun(paragraph_, pendingText_, CurrentFormat());
  pendingText_.clear();
}

// A list item's mark that is a bullet makes the paragraph a bulleted one; any
// other (a number) stays text.
void TParser::EndListMark() {
  markText_ = 0;
  if (markRuns_ != 0) return;  // text came before it: no mark of a list item
  std::u16string mark;
  for (size_t i = markRuns_; i < paragraph_.runs.size(); ++i) mark += paragraph_.runs[i].text;
  std::erase_if(mark, [](char16_t c) { return c == u'\t' || c == u' '; });
  if (mark != u"\u2022" && mark != u"\u00B7" && mark != u"\uF0B7") return;
  paragraph_.runs.resize(markRuns_);
  bulletPending_ = true;
}

void TParser::EndParagraph() {
  Flush();
  paragraph_.format = state_.para;
  paragraph_.format.bullet = bulletPending_;
  bulletPending_ = false;
  paragraph_.markFormat = paragraph_.runs.empty() ? CurrentFormat() : paragraph_.runs[0].format;
  document_.paragraphs.push_back(std::move(paragraph_));
  paragraph_ = TRtfParagraph();
}

// The text after the last paragraph mark is a paragraph of its own only when it
// holds something: the last mark closes the document's last paragraph.
void TParser::Finish() {
  if (finished_) return;
  Flush();
  if (!paragraph_.runs.empty() || document_.paragraphs.empty()) EndParagraph();
}

int TParser::CodePageNow() const {
  auto found = fonts_.find(state_.font < 0 ? defaultFont_ : state_.font);
  return found == fonts_.end() ? documentCodePage_ : found->second.codePage;
}

int32_t TParser::ColorAt(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= colors_.size()) return -1;
  return colors_[index];
}

TRtfCharFormat TParser::CurrentFormat() const {
  TRtfCharFormat f;
  auto found = fonts_.find(state_.font < 0 ? defaultFont_ : state_.font);
  if (found == fonts_.end()) found = fonts_.find(defaultFont_);
  if (found != fonts_.end()) f.font = found->second.name;
  f.halfPoints = state_.halfPoints;
  f.bold = state_.bold;
  f.italic = state_.italic;
  f.underline = state_.underline;
  f.strike = state_.strike;
  f.caps = state_.caps;
  f.script = state_.script;
  f.color = ColorAt(state_.color);
  f.highlight = state_.highlight == 0 ? -1 : ColorAt(state_.highlight);  // 0: none
  f.field = state_.field;
  return f;
}

}  // namespace

TRtfDocument ParseRtf(std::string_view source) {
  return TParser(source).Run();
}

}  // namespace quorrel
