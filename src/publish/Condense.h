#pragma once
// What an upload sends of a page or style sheet: with "Condense on upload" the
// line breaks and repeated blanks go (scripts are sent as they are), and style
// sheets lose the blanks their rules do not need. ASP.NET pages get their
// sources fixed. Texts are Windows-1252 bytes with LF line ends; paths are local.
#include <string>
#include <string_view>

namespace quorrel {

// One stretch of text without its line breaks: blanks and control characters go
// from both ends, a run of blanks becomes one, and a line break with the blanks
// round it becomes one blank, or nothing where a tag ends before it (">") or
// begins after it ("<"), so that no two words are joined. With styleSheet, the
// break also goes next to the punctuation of a rule ("{", "}", ";", ":", ",").
std::string CondenseStretch(std::string_view text, bool styleSheet = false);

// A page condensed outside its scripts: each outside stretch condensed and followed
// by one LF, each script element (from "<script" to "</script>" and the character
// after it) as it is. A script element with only a source and no content stays in
// the outside stretch. A "<script" that is never closed stops the command with the
// string search's message.
std::string CondensePage(const std::string& text);

// A style sheet condensed, its rules written tightly (" {", ": ", ", " and ";}"
// lose their blanks and the last semicolon) and its colours shortened.
std::string CondenseStyleSheet(const std::string& text);

// Every value colour "#aabbcc" (three pairs of equal digits, followed by a blank,
// ";" or "}") as "#abc", in the case it was written. Only values count (after a
// ":" in a rule), never an id selector that looks like one.
std::string ShortenColours(std::string text);

// The file an upload sends: the path itself, or, for a page (".HTM", ".HTML") or
// style sheet (".CSS") with "Condense on upload" ticked, outside On-line validate
// all, a condensed copy in the work folder ("Temp" + the upper-cased extension).
// A page holding "<pre>" is sent as it is. With "Debug" the condensed sheet is also
// opened in a tab as "Temp.txt".
std::string CondenseForUpload(const std::string& path);
// Whether CondenseForUpload sends the file condensed: a page or style sheet while
// "Condense" is ticked, a page only when it holds no preformatted text.
bool CondensedOnUpload(const std::string& path);

// Sources of an ASP.NET page made root-relative: every Src="..." whose tag holds a
// "/" gets one in front of its value, unless the value begins with "/" already or is
// a full address. changed tells whether any was.
std::string FixAspxText(const std::string& text, bool& changed);
// The file an upload sends for an ".ASPX" page: the path itself, or "Temp.ASPX" in
// the work folder when a source was fixed.
std::string FixAspxSources(const std::string& path);

}  // namespace quorrel
