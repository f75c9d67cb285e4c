#pragma once
// The bytes a document becomes on disk, and the small rules of saving around
// them. Texts are Windows-1252 bytes.
#include <cstddef>
#include <cstdint>
#include <string>

namespace quorrel {

class TMyRich;

// A document text as it is written: the text ends with a line end (an empty text
// stays empty); each line (split at LF) loses its trailing blanks, CRs and
// vertical tabs (RTF source: only CRs and vertical tabs, its blanks are codes) and
// gets LF (lfOnly, HTML) or CR LF; RTF source ends with one zero byte.
std::string TextForDisk(const std::string& text, bool lfOnly, bool rtf);

// Whether a file's bytes end their lines with LF only: one LF at least and no CR.
bool HasLfOnlyLineEnds(const std::string& bytes);

// Where RTF source holds a zero byte (0-based), std::string::npos when nowhere.
size_t RtfZeroByte(const std::string& source);

// The message that stops the save of RTF source holding a zero byte at offset.
std::string RtfZeroByteMessage(size_t offset);

// RTF source with every blank before "\line" removed.
std::string TightenRtfLineBreaks(const std::string& source);

// Whether a save that took a file from oldSize to newSize bytes lost enough of it
// to warn about (more than 500 bytes).
bool SaveShrankFile(int64_t oldSize, int64_t newSize);

// "Warning: Old size was 10000; New size is 9400".
std::string ShrinkWarning(int64_t oldSize, int64_t newSize);

// Removes, from a formatted editor, every blank and no-break blank (A0) that
// stands before the end of a paragraph (the text's end too) or a line break.
// Returns how many went.
size_t RemoveBlanksBeforeLineEnds(TMyRich& editor);

}  // namespace quorrel
