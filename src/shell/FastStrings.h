#pragma once
// Fast string search and replace over whole document texts (Windows-1252 bytes).
// Positions are 1-based; 0 means "not found".
#include <array>
#include <string>
#include <string_view>

namespace quorrel {

// Entry i is byte i upper-cased by the Windows-1252 code page.
extern const std::array<unsigned char, 256> UpperCaseTable;

size_t PosNoCase(std::string_view pattern, std::string_view text, size_t start = 1);
size_t PosCase(std::string_view pattern, std::string_view text, size_t start = 1);
// Last occurrence beginning at or before start; start 0 searches from the end.
size_t PosBackNoCase(std::string_view pattern, std::string_view text, size_t start = 0);
// The message PosNoCaseOrAbort shows when the pattern is not found from start (1-based).
std::string NotFoundMessage(std::string_view pattern, std::string_view text, size_t start = 1);
// PosNoCase, or a message and the silent abort when there is no occurrence.
size_t PosNoCaseOrAbort(std::string_view pattern, std::string_view text, size_t start = 1);

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replace,
                       bool caseSensitive);
// Replaces each "|"-separated find by the replace at the same place in the other list.
std::string MultiReplace(std::string_view text, std::string_view finds, std::string_view replaces,
                         bool caseSensitive);

// Whether part occurs in text, without regard to case.
bool ContainsNoCase(std::string_view text, std::string_view part);

// Membership in a list written as "|a|b|c|": the position of "|" + item + "|", 0 when absent.
size_t InBarList(std::string_view item, std::string_view list);
size_t InBarListNoCase(std::string_view item, std::string_view list);

// Bytes 97-122 and 224-255 lowered by 32; nothing else changes.
std::string UpperCaseLatin1(std::string_view text);
// Windows-1252 upper case through UpperCaseTable.
std::string UpperCaseAnsi(std::string_view text);

// Every from character as to (a path's '\\' as '/', say).
std::string ReplaceChar(std::string text, char from, char to);
std::string ReplaceNoCase(std::string_view text, std::string_view find, std::string_view replace);
std::string ReplaceCase(std::string_view text, std::string_view find, std::string_view replace);

// The last n characters (the whole text when shorter).
std::string RightChars(std::string_view text, size_t n);
// The characters from 1-based position from to the end ("" beyond the end).
std::string CopyToEnd(std::string_view text, size_t from);

}  // namespace quorrel
