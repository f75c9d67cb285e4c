#pragma once
// Reading files as text, the list of binary file kinds and the open and save
// dialogs, for every subsystem. Paths and texts are Windows-1252 bytes.
#include <string>
#include <vector>

namespace quorrel {

// The file kinds no text command touches: each extension with its dot, followed
// by a dot.
extern const char BinaryExtensions[];
// Whether an extension ("." and letters, any case) is in BinaryExtensions; an
// empty extension never is.
bool IsBinaryExtension(const std::string& ext);

// The whole file; false when it cannot be read.
bool FileBytes(const std::string& path, std::string& bytes);

// The text of a file's bytes as the editor shows it: up to the first zero byte,
// with every line end (CR LF, LF or CR) as CR LF.
std::string LoadedText(std::string bytes);

// A file's lines as a string list reads them: CR, LF and CR LF each end a line, and
// the text ends at its first zero byte.
std::vector<std::string> SplitTextLines(const std::string& bytes);

// Whether bytes begin with a UTF-16 byte-order mark (either order).
bool IsUtf16(const std::string& bytes);
// UTF-16 text (after its byte-order mark) as Windows-1252; characters the code
// page lacks become "?". An odd last byte is dropped.
std::string Utf16ToAnsi(const std::string& bytes);

// The slow read: the file's lines (CR, LF or CR LF each end one) joined by CR LF,
// each zero byte as the byte 01. zeroBytes receives how many there were.
std::string SlowReadText(const std::string& bytes, size_t* zeroBytes);

// A zero byte ends the text a normal read keeps, so a save would cut the file there:
// every read of such a file asks this question first.
inline constexpr const char* SlowReadQuestion = "File size discrepancy.  Use slow read?";
inline constexpr int SlowReadHelp = 20210;
inline bool HoldsZeroByte(const std::string& bytes) {
  return bytes.find('\0') != std::string::npos;
}

// Loads the lines of a file (opened for reading only; other programs may go on
// reading and writing it). Throws std::runtime_error with the reason when the file
// cannot be opened.
void LoadListShared(std::vector<std::string>& list, const std::string& path);

// Set when ReadTextFile could not read a file during a find over several files.
extern bool ReadFailed;

// A file as the editor would show it: CR LF line ends, up to its first zero byte.
// An empty path means "index.html", a path ending in "/" gets "index.html"; a path
// that is not a local one ("/...") is first made one (ToLocalPath). A file that
// cannot be read stops the command with the reason, except during Find, when its
// lines go to ReadList instead (ReadFailed set when that fails too) and the result
// is "".
std::string ReadTextFile(const std::string& path);

// The platform's open or save dialog. The filter is written "Pages|*.htm;*.html|All
// files|*.*"; path is the proposed name on entry (its extension is the default
// one) and the chosen path on return. A save dialog asks before replacing a file.
// Returns whether a file was chosen.
bool ShowFileDialog(const std::string& filter, const std::string& folder, bool save,
                    std::string& path, const std::string& title);

// Copies a file byte for byte; the copy is written completely beside its target
// before it takes the target's name. False when the source cannot be read or the
// target written; a copy onto the file itself leaves it as it is.
bool CopyFileBytes(const std::string& from, const std::string& to);

// Back to the state of a freshly started program.
void ResetTextFiles();

}  // namespace quorrel
