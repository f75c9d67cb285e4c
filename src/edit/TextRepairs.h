#pragma once
// Repairs of the bytes a file brings in when it is opened: UTF-8 punctuation and
// pseudo-blanks (UTF-16 and zero bytes are the reader's, shell/TextFiles.h). Texts
// are Windows-1252 bytes; a file may hold UTF-8, whose multi-byte sequences are
// never taken apart by these rules.
#include <cstddef>
#include <string>

namespace quorrel {

// The length of the valid UTF-8 sequence of two to four bytes that starts at
// text[at]; 0 when none starts there.
size_t Utf8SequenceAt(const std::string& text, size_t at);

// Plain text pasted from a word processor: the UTF-8 curly quotes become "'", the
// en and em dashes "-", the ellipsis ":", a no-break blank a blank; every other C2
// byte goes; four and then three CR LF pairs in a row become two. An A0 byte that
// belongs to another UTF-8 character stays.
std::string Utf8PunctuationToAscii(const std::string& text);

// The UTF-8 hyphen, dashes, right quote, prime and double prime in an HTML page:
// "-", "&ndash;", "&mdash;", "&rsquo;", "'" and a double quote.
std::string HtmlUtf8Punctuation(const std::string& text);

// Where the first pseudo-blank is: the 1-based position of the first A0 byte that
// is not part of another UTF-8 character, else of the first such C2 byte; 0 when
// there is none. A C2 A0 pair counts as one pseudo-blank.
size_t FirstPseudoBlank(const std::string& text);

// Every pseudo-blank (a C2 A0 pair, or an A0 or C2 byte standing alone) replaced by
// `blank`; with dropC2, a C2 standing alone is removed instead.
std::string ReplacePseudoBlanks(const std::string& text, const std::string& blank, bool dropC2);

// The Windows-1252 ellipsis, double dagger, curly double quotes and dashes (85, 87,
// 93, 94, 96, 97) as ":", "-", a double quote and "-"; bytes of UTF-8 characters
// stay as they are.
std::string PlainPunctuation(const std::string& text);

// FixPseudoBlanks(text) -> changed: the pseudo-blanks of the current document made
// real blanks (or "&nbsp;"), asking first for a document in a site, and the
// Windows-1252 punctuation made plain. Returns whether the text changed.
bool FixPseudoBlanks(std::string& text);

}  // namespace quorrel
