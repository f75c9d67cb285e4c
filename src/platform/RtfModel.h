#pragma once
// A rich-text document as the RTF reader and writer see it: paragraphs of runs,
// each run one stretch of text in one character format. The editor control turns
// it into its own document and back; core uses it to read and write RTF source
// without a display. Lengths are twips (1/1440 inch), as RTF gives them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorrel {

struct TRtfCharFormat {
  std::string font;  // the name in the font table (Windows-1252 bytes)
  int halfPoints = 24;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  bool caps = false;
  int script = 0;          // 0 normal, 1 superscript, -1 subscript
  int32_t color = -1;      // 0xRRGGBB, -1 the automatic colour
  int32_t highlight = -1;  // 0xRRGGBB, -1 none
  // RTF the editor cannot show is kept as written, so that open and save leave it
  // in place: here the instruction of the field whose result the text is
  // ("HYPERLINK "https://..."" for a link), in Windows-1252, "" for none.
  std::string field;

  bool operator==(const TRtfCharFormat&) const = default;
};

// Windows' 0x00BBGGRR colours (settings, the Parts) as the model's 0xRRGGBB and back.
constexpr int32_t RgbOfBgr(int bgr) {
  return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}
constexpr int BgrOfRgb(int32_t rgb) {
  return RgbOfBgr(rgb);
}

// A change of character format: the fields that hold a value are set, the
// others keep what each character has.
struct TRtfFormatChange {
  std::optional<std::string> font;
  std::optional<int> halfPoints;
  std::optional<bool> bold;
  std::optional<bool> italic;
  std::optional<bool> underline;
  std::optional<bool> strike;
  std::optional<int> script;
  std::optional<int32_t> color;
  std::optional<int32_t> highlight;

  void ApplyTo(TRtfCharFormat& format) const;
  // Takes on the fields that a later change sets.
  void Add(const TRtfFormatChange& later);
};

enum class TRtfAlign { Left, Center, Right, Justify };

struct TRtfTab {
  int position = 0;  // twips from the left indent
  char kind = 'l';   // 'l' left, 'c' centred, 'r' right, 'd' decimal

  bool operator==(const TRtfTab&) const = default;
};

struct TRtfParaFormat {
  TRtfAlign align = TRtfAlign::Left;
  int firstIndent = 0;  // \fi, relative to the left indent
  int leftIndent = 0;
  int rightIndent = 0;
  int spaceBefore = 0;
  int spaceAfter = 0;
  int lineSpacing = 0;         // \sl: 0 single; > 0 at least; < 0 exactly
  bool lineMultiple = false;   // \slmult1: lineSpacing / 240 lines
  bool keep = false;           // \keep
  bool keepNext = false;       // \keepn
  bool noHyphenation = false;  // \hyphpar0
  // A bulleted list item: the bullet stands before the text, not in it.
  bool bullet = false;
  std::vector<TRtfTab> tabs;

  bool operator==(const TRtfParaFormat&) const = default;
};

// Text holds UTF-16: a tab is U+0009, a line break inside the paragraph (\line)
// U+2028, an optional hyphen (\-) the soft hyphen U+00AD (byte AD of
// Windows-1252), a non-breaking hyphen (\_) U+2011.
inline constexpr char16_t kRtfOptionalHyphen = 0x00AD;
inline constexpr char16_t kRtfNonBreakingHyphen = 0x2011;

struct TRtfRun {
  std::u16string text;
  TRtfCharFormat format;

  bool operator==(const TRtfRun&) const = default;
};

struct TRtfParagraph {
  TRtfParaFormat format;
  // The character format of the paragraph mark: what an empty paragraph shows
  // and what typing into it starts with. For a paragraph with text the reader
  // makes it the first run's format.
  TRtfCharFormat markFormat;
  std::vector<TRtfRun> runs;  // adjacent runs differ in format; none is empty

  bool operator==(const TRtfParagraph&) const = default;
};

struct TRtfDocument {
  std::vector<TRtfParagraph> paragraphs;  // never empty once read

  bool operator==(const TRtfDocument&) const = default;
};

// Appends text to a paragraph, joining it to the last run when the format is the same.
void AppendRun(TRtfParagraph& paragraph, std::u16string_view text, const TRtfCharFormat& format);

// The document's text as the editor reads it out: Windows-1252, paragraphs joined
// by CR LF, a line break as VT (0x0B), characters outside the code page as "?".
std::string RtfPlainText(const TRtfDocument& document);

// A document of plain text in one format: each CR LF, lone CR or lone LF ends a
// paragraph; VT is a line break.
TRtfDocument RtfDocumentOfText(const std::string& ansi, const TRtfCharFormat& format);

// The UTF-16 text of Windows-1252 text as a run holds it (VT becomes U+2028).
std::u16string RtfTextOfAnsi(const std::string& ansi);

// Number of editor positions: characters plus one per paragraph boundary.
size_t RtfLength(const TRtfDocument& document);

// Replaces [pos, pos + length) in editor positions by text, as typing over a
// selection does: the new text takes the format of the character before it (at a
// paragraph start, of the character after it); each '\n' in it starts a paragraph
// with the format of the paragraph it is typed into.
void RtfReplace(TRtfDocument& document, size_t pos, size_t length, std::u16string_view text);

// Puts a document into another at an editor position, in place of length
// positions there: the inserted paragraphs keep their formatting, the first joins
// the paragraph it is inserted into and the text after the position follows the
// last.
void RtfInsertDocument(TRtfDocument& target, size_t pos, size_t length, const TRtfDocument& insert);

// The format of the character at an editor position; at a paragraph's end (or in
// an empty paragraph) the format of its last character (or of its mark).
TRtfCharFormat RtfFormatAt(const TRtfDocument& document, size_t pos);

// Changes the format of [pos, pos + length) in one pass over the runs: runs
// are split where the range begins and ends, and runs that end up alike join.
// An empty paragraph wholly inside the range has its mark changed.
void RtfChangeFormat(TRtfDocument& document, size_t pos, size_t length,
                     const TRtfFormatChange& change);

// Aligns the paragraphs that [pos, pos + length) touches.
void RtfAlignParagraphs(TRtfDocument& document, size_t pos, size_t length, TRtfAlign align);

// Symbol fonts keep their own character set in the font table.
bool IsSymbolFont(const std::string& name);

}  // namespace quorrel
