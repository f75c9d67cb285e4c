#pragma once
// Password-scrambled documents: a four-byte header and the document's bytes run
// through a key derived from a password. There is no password check; a wrong
// password yields unreadable text.
//
// Header 1A 15 00 01: the first (length mod 65536) bytes of the body are
// scrambled, all of them when that is 0, the rest stored as they are.
// Header 1A 15 00 02: the whole body is scrambled. Bodies of 65536 bytes or more
// are written this way, so that long documents are not left mostly readable.
#include <cstdint>
#include <functional>
#include <string>

namespace quorrel {

inline constexpr char kScrambledHeader[] = "\x1A\x15\x00\x01";
inline constexpr char kScrambledHeaderWhole[] = "\x1A\x15\x00\x02";
inline constexpr size_t kScrambledHeaderSize = 4;

// The key, derived from the last password entered and kept for every later save
// and open.
extern uint8_t RotateSeed;  // 0 to 7
extern uint8_t AddSeed;
extern uint8_t CountSeed;  // 0 to 3

struct TScrambleKey {
  uint8_t rotate = 0;
  uint8_t add = 0;
  uint8_t count = 0;
};

TScrambleKey DeriveScrambleKey(const std::string& password);
// The key of the seeds above.
TScrambleKey CurrentScrambleKey();
// Whether a password has been entered since start.
bool HasScrambleKey();
// Makes the key of this password the current one.
void SetScramblePassword(const std::string& password);

// The byte transform in both directions, over the first `extent` bytes of body
// (the rest is copied unchanged).
std::string ScrambleBytes(const std::string& body, const TScrambleKey& key, size_t extent);
std::string UnscrambleBytes(const std::string& stored, const TScrambleKey& key, size_t extent);

// The help context of a tab marks it as holding a scrambled document, so that the
// mark goes with the tab.
inline constexpr int ScrambledTabContext = 1;

// Whether bytes (a file's start) mark a scrambled document.
bool IsScrambledData(const std::string& bytes);

// The whole file for a document text, header included.
std::string ScrambleDocumentBytes(const std::string& text, const TScrambleKey& key);
// The document text of a whole scrambled file (header included).
std::string UnscrambleDocumentBytes(const std::string& fileBytes, const TScrambleKey& key);

// Asks for the password and makes its key current. A Find running over several
// files keeps the key it has. Cancelling ends the command silently.
void EdPassword();

// Reads the scrambled file, asking for the password: the document's text.
std::string ReadScrambledFile(const std::string& path);
// Creates or replaces the file with the scrambled text under the current key.
// Returns false when the file could not be written.
bool WriteScrambledFile(const std::string& path, const std::string& text);

// A plain back-up left beside a scrambled document would give its text away:
// overwrites such a file in place with its scrambled form under the current key.
// A file that is missing or already scrambled is left alone. Returns false when
// the file could not be rewritten.
bool ScrambleBackupInPlace(const std::string& backupPath);

// Opens the file of CurrentFileName as a scrambled document: asks the password,
// puts the text into the current editor and marks the tab and "Encrypted".
void ReadScrambledDocument();
// Writes CurrentText scrambled to CurrentFileName. False when it could not.
bool WriteScrambledDocument();

// The "Encrypted" command: asks the password when it was just ticked and saves
// the document at once with saveDocument, scrambled or plain. Ticking it never
// leaves the plain text behind in the ".Bak" back-up; cancelling the password
// unticks it again.
void EncryptFClick(const std::function<void()>& saveDocument);

// Back to the state of a freshly started program (no key).
void ResetScrambled();

}  // namespace quorrel
