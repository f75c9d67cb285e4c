#include "shell/Scrambled.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "platform/Abort.h"
#include "platform/FileWrites.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

uint8_t RotateSeed = 0;
uint8_t AddSeed = 0;
uint8_t CountSeed = 0;

namespace {

bool keySet = false;

constexpr size_t kPartialLimit = 65536;

uint8_t RotateLeft(uint8_t x, unsigned bits) {
  bits &= 7;
  return bits == 0 ? x : static_cast<uint8_t>((x << bits) | (x >> (8 - bits)));
}

uint8_t RotateRight(uint8_t x, unsigned bits) {
  bits &= 7;
  return bits == 0 ? x : static_cast<uint8_t>((x >> bits) | (x << (8 - bits)));
}

// How many body bytes the 1A 15 00 01 format scrambles: a 16-bit count.
size_t PartialExtent(size_t length) {
  size_t extent = length % kPartialLimit;
  return extent == 0 && length > 0 ? kPartialLimit : extent;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream in(NativePath(path), std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

void MarkActiveTab(bool scrambled) {
  TMainWindow* window = MainWindow();
  if (window && window->ActiveTab() >= 0) {
    window->SetTabHelpContext(window->ActiveTab(), scrambled ? ScrambledTabContext : 0);
  }
}

}  // namespace

TScrambleKey DeriveScrambleKey(const std::string& password) {
  std::string source = (password + "Quillpen").substr(0, 8);
  uint8_t derived[9] = {};
  unsigned a = 99;
  for (unsigned i = 1; i <= 8; ++i) {
    unsigned c = static_cast<unsigned char>(source[i - 1]);
    unsigned d = c * 137 + a * 119 + i * 73;
    derived[i] = static_cast<uint8_t>(d % 256);
    a = d / 256 + 11;
  }
  return {static_cast<uint8_t>(derived[2] % 8), derived[5], static_cast<uint8_t>(derived[8] % 4)};
}

TScrambleKey CurrentScrambleKey() {
  return {RotateSeed, AddSeed, CountSeed};
}

bool HasScrambleKey() {
  return keySet;
}

void SetScramblePassword(const std::string& password) {
  TScrambleKey key = DeriveScrambleKey(password);
  RotateSeed = key.rotate;
  AddSeed = key.add;
  CountSeed = key.count;
  keySet = true;
}

std::string ScrambleBytes(const std::string& body, const TScrambleKey& key, size_t extent) {
  std::string out = body;
  unsigned rot = key.rotate, add = key.add, count = key.count;
  if (extent > body.size()) extent = body.size();
  for (size_t i = 0; i < extent; ++i) {
    uint8_t y = static_cast<uint8_t>(RotateLeft(static_cast<uint8_t>(body[i]), rot) + add);
    uint8_t s;
    if (count > 0) {
      s = y;
      --count;
    } else {
      s = static_cast<uint8_t>(~y);
      count = 4;
    }
    out[i] = static_cast<char>(s);
    rot = s % 8;
    add = (add + s % 8) % 256;
  }
  return out;
}

std::string UnscrambleBytes(const std::string& stored, const TScrambleKey& key, size_t extent) {
  std::string out = stored;
  unsigned rot = key.rotate, add = key.add, count = key.count;
  if (extent > stored.size()) extent = stored.size();
  for (size_t i = 0; i < extent; ++i) {
    uint8_t s = static_cast<uint8_t>(stored[i]);
    uint8_t y;
    if (count > 0) {
      y = s;
      --count;
    } else {
      y = static_cast<uint8_t>(~s);
      count = 4;
    }
    out[i] = static_cast<char>(RotateRight(static_cast<uint8_t>(y - add), rot));
    rot = s % 8;
    add = (add + s % 8) % 256;
  }
  return out;
}

bool IsScrambledData(const std::string& bytes) {
  return bytes.size() >= 2 && bytes[0] == '\x1A' && bytes[1] == '\x15';
}

std::string ScrambleDocumentBytes(const std::string& text, const TScrambleKey& key) {
  if (text.size() >= kPartialLimit) {
    return std::string(kScrambledHeaderWhole, kScrambledHeaderSize) +
           ScrambleBytes(text, key, text.size());
  }
  return std::string(kScrambledHeader, kScrambledHeaderSize) +
         ScrambleBytes(text, key, text.size());
}

std::string UnscrambleDocumentBytes(const std::string& fileBytes, const TScrambleKey& key) {
  if (fileBytes.size() <= kScrambledHeaderSize) return "";
  std::string body = fileBytes.substr(kScrambledHeaderSize);
  bool whole =
      fileBytes.compare(0, kScrambledHeaderSize, kScrambledHeaderWhole, kScrambledHeaderSize) == 0;
  return UnscrambleBytes(body, key, whole ? body.size() : PartialExtent(body.size()));
}

void EdPassword() {
  HideSplash();
  // A find over many files opens each with the key it already has.
  if (CurrentCommand == FindCommand && keySet) return;
  std::string password;
  if (!UserDialogs().InputQuery("Quorrel", "Enter password", password, true)) Abort();
  SetScramblePassword(password);
}

std::string ReadScrambledFile(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return "";
  EdPassword();
  return UnscrambleDocumentBytes(bytes, CurrentScrambleKey());
}

bool WriteScrambledFile(const std::string& path, const std::string& text) {
  std::string bytes = ScrambleDocumentBytes(text, CurrentScrambleKey());
  // A new file is for its owner's eyes only; a replaced one keeps its mode.
  int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = WriteAllBytes(fd, bytes);
  if (::close(fd) != 0) ok = false;
  return ok;
}

bool ScrambleBackupInPlace(const std::string& backupPath) {
  std::string bytes;
  if (!ReadWholeFile(backupPath, bytes)) return true;
  if (IsScrambledData(bytes)) return true;
  // Writing over the old bytes (never truncating first) leaves no plain copy in
  // the file's blocks; the scrambled form is 4 bytes longer, so it covers them all.
  int fd = ::open(NativePath(backupPath).c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = WriteAllBytes(fd, ScrambleDocumentBytes(bytes, CurrentScrambleKey()));
  if (::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  return ok;
}

void ReadScrambledDocument() {
  std::string text = ReadScrambledFile(CurrentFileName);
  if (CurrentEditor) CurrentEditor->SetText(text);
  DocModified = true;
  GetEditorText();
  MainMenu().SetChecked("Encrypted", true);
  MarkActiveTab(true);
}

bool WriteScrambledDocument() {
  return WriteScrambledFile(CurrentFileName, CurrentText);
}

void EncryptFClick(const std::function<void()>& saveDocument) {
  TMenuModel& menu = MainMenu();
  if (IsRtf) {
    ShowMsg("You cannot encrypt an RTF file.");
    menu.SetChecked("Encrypted", false);
    return;
  }
  bool on = menu.Checked("Encrypted");
  if (on) {
    try {
      EdPassword();
    } catch (const EAbort&) {
      // Left ticked without a key, the next save would scramble the text under a
      // key nobody knows.
      menu.SetChecked("Encrypted", false);
      throw;
    }
  }
  // The tab keeps the mark, so that the item is ticked again whenever the tab
  // comes back to the front and every save of it stays scrambled.
  MarkActiveTab(on);
  saveDocument();
  if (!on) return;
  std::string backup = CurrentFileName + ".Bak";
  if (!ScrambleBackupInPlace(backup) && ::unlink(NativePath(backup).c_str()) != 0) {
    ShowMsg("Could not scramble the back-up file\r" + backup);
  }
}

void ResetScrambled() {
  RotateSeed = AddSeed = CountSeed = 0;
  keySet = false;
}

namespace {
const TResetEntry resetScrambled(ResetScrambled);
}  // namespace

}  // namespace quorrel
