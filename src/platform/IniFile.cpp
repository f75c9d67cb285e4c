#include "platform/IniFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "platform/FileWrites.h"
#include "platform/Paths.h"
#include "platform/WorkFileNames.h"

namespace quorrel {

namespace {

// A line break cannot be stored: it would start a new line of the file.
std::string_view CutAtLineBreak(std::string_view text) {
  return text.substr(0, text.find_first_of("\r\n"));
}

std::string FoldCase(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(c)));
  return folded;
}

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

// The value a reader sees: blanks around it trimmed, then one pair of matching
// quotes taken off, as the Windows profile functions do.
std::string ValueOfText(std::string_view text) {
  text = TrimBlanks(text);
  if (text.size() >= 2 && IsQuote(text.front()) && text.back() == text.front()) {
    text = text.substr(1, text.size() - 2);
  }
  return std::string(text);
}

// How a value is written so that it reads back unchanged: quoted when a reader
// would otherwise trim its blanks or take off its quotes.
std::string TextOfValue(std::string_view value) {
  value = CutAtLineBreak(value);
  const bool needsQuotes =
      !value.empty() &&
      (value.front() == ' ' || value.front() == '\t' || value.back() == ' ' ||
       value.back() == '\t' ||
       (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()));
  return needsQuotes ? "\"" + std::string(value) + "\"" : std::string(value);
}

struct FileSignature {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};

  bool operator==(const FileSignature& o) const {
    return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
           modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
  }
};

FileSignature SignatureOf(const std::string& nativePath) {
  FileSignature sig;
  struct stat st;
  if (stat(nativePath.c_str(), &st) == 0) {
    sig.exists = true;
    sig.device = st.st_dev;
    sig.inode = st.st_ino;
    sig.size = st.st_size;
    sig.modified = st.st_mtim;
  }
  return sig;
}

bool ReadWholeFile(const std::string& nativePath, std::string& text) {
  const int fd = open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[65536];
  bool ok = true;
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  if (!ok) text.clear();
  return ok;
}

// Holds an advisory lock on the lock file beside a settings file for as long as it
// lives, so that the read-modify-write of one process cannot overwrite the change
// another made in between. Readers need none: each write replaces the file whole.
// Where the lock file cannot be made (a folder we may not write), no lock is taken
// and the write fails on its own.
class TWriteLock {
 public:
  explicit TWriteLock(const std::string& nativePath) {
    const size_t slash = nativePath.rfind('/') + 1;
    const std::string lockPath =
        nativePath.substr(0, slash) + "." + nativePath.substr(slash) + ".lock";
    fd_ = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ~TWriteLock() {
    if (fd_ >= 0) close(fd_);  // closing lets the lock go
  }
  TWriteLock(const TWriteLock&) = delete;
  TWriteLock& operator=(const TWriteLock&) = delete;

  // The lock file counts the writes made under it, so that a process can tell
  // cheaply whether another one wrote since it last did. 0 when unknown.
  uint64_t Generation() const {
    char text[24] = {};
    if (fd_ < 0 || pread(fd_, text, sizeof text - 1, 0) <= 0) return 0;
    return std::strtoull(text, nullptr, 10);
  }
  void SetGeneration(uint64_t generation) {
    if (fd_ < 0) return;
    const std::string text = std::to_string(generation) + "\n";
    if (pwrite(fd_, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size())) {
      [[maybe_unused]] int ignored = ftruncate(fd_, static_cast<off_t>(text.size()));
    }
  }

 private:
  int fd_ = -1;
};

}  // namespace

// One parsed INI file, shared by every TIniFile on the same path. Lines are kept as
// they were read, so comments, blank lines and the spelling of names survive writes.
class IniDocument {
 public:
  explicit IniDocument(std::string nativePath) : native_(std::move(nativePath)) {}

  std::mutex mutex;

  void MakePrivate() { private_ = true; }

  // Whether a write must rewrite the file even when no value changed: a private
  // file that others can still read.
  bool WiderThanPrivate() const {
    struct stat st;
    return private_ && stat(native_.c_str(), &st) == 0 && (st.st_mode & 077) != 0;
  }

  // For a change: the file is locked against other processes' changes and read
  // again when another process wrote it since we last did, so that the change goes
  // onto what is on disk now.
  std::unique_ptr<TWriteLock> BeginChange() {
    auto lock = std::make_unique<TWriteLock>(native_);
    const uint64_t generation = lock->Generation();
    Refresh(generation != generation_);
    generation_ = generation;
    return lock;
  }

  // Re-reads the file when it changed on disk since we last read or wrote it.
  void Refresh(bool force) {
    const FileSignature sig = SignatureOf(native_);
    if (force || !loaded_ || !(sig == signature_)) Load(sig);
  }

  struct Line {
    std::string text;
    std::string key;  // trimmed name before "="; empty for other lines
  };
  struct Section {
    std::string name;
    std::string header;       // the header line as read; empty for a new section
    std::vector<Line> lines;  // the lines after the header
    std::unordered_map<std::string, size_t> keys;  // folded key -> first line

    void Index() {
      keys.clear();
      for (size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].key.empty()) keys.emplace(FoldCase(lines[i].key), i);
      }
    }
    const Line* Find(std::string_view key) const {
      auto it = keys.find(FoldCase(key));
      return it == keys.end() ? nullptr : &lines[it->second];
    }
  };

  const Section* FindSection(std::string_view name) const {
    auto it = sectionIndex_.find(FoldCase(name));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
  }
  std::vector<std::string> SectionNames() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < sections_.size(); ++i) {
      auto it = sectionIndex_.find(FoldCase(sections_[i].name));
      if (it->second == i) names.push_back(sections_[i].name);  // first of each name
    }
    return names;
  }

  // Each change returns whether the document changed (and so must be saved).
  bool Set(std::string_view section, std::string_view key, const std::string& text) {
    Section* sec = MutableSection(section);
    if (!sec) {
      sections_.push_back(Section{std::string(section), {}, {}, {}});
      sectionIndex_.emplace(FoldCase(section), sections_.size() - 1);
      sec = &sections_.back();
    }
    std::string lineText;
    auto it = sec->keys.find(FoldCase(key));
    if (it != sec->keys.end()) {
      Line& line = sec->lines[it->second];
      lineText = line.key + "=" + text;
      if (line.text == lineText) return false;
      line.text = std::move(lineText);
      return true;
    }
    // A new key goes after the section's last line that is not blank.
    size_t at = sec->lines.size();
    while (at > 0 && TrimBlanks(sec->lines[at - 1].text).empty()) --at;
    sec->lines.insert(sec->lines.begin() + static_cast<ptrdiff_t>(at),
                      Line{std::string(key) + "=" + text, std::string(key)});
    if (at + 1 == sec->lines.size()) {
      sec->keys.emplace(FoldCase(key), at);
    } else {
      sec->Index();
    }
    return true;
  }

  bool Delete(std::string_view section, std::string_view key) {
    bool changed = false;
    const std::string folded = FoldCase(key);
    for (Section& sec : sections_) {
      if (!AnsiSameText(sec.name, section)) continue;
      const size_t before = sec.lines.size();
      std::erase_if(sec.lines,
                    [&](const Line& l) { return !l.key.empty() && FoldCase(l.key) == folded; });
      if (sec.lines.size() != before) {
        sec.Index();
        changed = true;
      }
    }
    return changed;
  }

  bool Erase(std::string_view section) {
    const size_t before = sections_.size();
    std::erase_if(sections_, [&](const Section& s) { return AnsiSameText(s.name, section); });
    if (sections_.size() == before) return false;
    IndexSections();
    return true;
  }

  std::string Text() const {
    size_t size = 0;
    for (const std::string& l : preamble_) size += l.size() + 2;
    for (const Section& s : sections_) {
      size += s.name.size() + 4;
      for (const Line& l : s.lines) size += l.text.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const std::string& l : preamble_) text.append(l).append("\r\n");
    for (const Section& s : sections_) {
      text.append(s.header.empty() ? "[" + s.name + "]" : s.header).append("\r\n");
      for (const Line& l : s.lines) text.append(l.text).append("\r\n");
    }
    return text;
  }

  // Copies that killed writes left beside the file: every write holds the lock, so
  // while this one does, any other copy is nobody's work. They may hold a password.
  static void RemoveStaleCopies(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    std::vector<std::string> stale;
    while (const dirent* entry = readdir(dir)) {
      if (IsWriteCopyOf(entry->d_name, name)) stale.push_back(folder + entry->d_name);
    }
    closedir(dir);
    for (const std::string& copy : stale) {
      struct stat st;
      if (lstat(copy.c_str(), &st) == 0 && S_ISREG(st.st_mode)) unlink(copy.c_str());
    }
  }

  // Writes the whole file through a temporary file in the same folder and a rename,
  // so the file on disk is always either the old or the new one. False on failure.
  bool Save(TWriteLock& lock) {
    // A file we could not read must not be replaced by what little we know of it.
    if (!readable_) {
      loaded_ = false;  // forget the change: memory keeps agreeing with the disk
      return false;
    }
    const std::string text = Text();
    const std::string folder = native_.substr(0, native_.rfind('/') + 1);
    const std::string name = native_.substr(native_.rfind('/') + 1);
    std::string temp = folder + "." + name + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = true;
    struct stat old;
    if (stat(native_.c_str(), &old) == 0) {
      // The new file keeps what the old one had: its mode and, where we may, its owner.
      if (old.st_uid != geteuid() || old.st_gid != getegid()) {
        [[maybe_unused]] int ignored = fchown(fd, old.st_uid, old.st_gid);
      }
      ok = fchmod(fd, private_ ? kPrivateMode : old.st_mode & 07777) == 0;
    } else {
      static const mode_t newMode = 0666 & ~CurrentUmask();
      ok = fchmod(fd, private_ ? kPrivateMode : newMode) == 0;
    }
    ok = ok && WriteAllBytes(fd, text);
    if (close(fd) != 0) ok = false;
    if (ok && rename(temp.c_str(), native_.c_str()) != 0) ok = false;
    if (!ok) {
      unlink(temp.c_str());
      loaded_ = false;
      return false;
    }
    signature_ = SignatureOf(native_);
    lock.SetGeneration(++generation_);
    RemoveStaleCopies(folder, name);
    return true;
  }

 private:
  Section* MutableSection(std::string_view name) {
    auto it = sectionIndex_.find(FoldCase(name));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
  }

  void IndexSections() {
    sectionIndex_.clear();
    for (size_t i = 0; i < sections_.size(); ++i) {
      sectionIndex_.emplace(FoldCase(sections_[i].name), i);
    }
  }

  void Load(const FileSignature& sig) {
    preamble_.clear();
    sections_.clear();
    std::string text;
    readable_ = !sig.exists || ReadWholeFile(native_, text);
    size_t pos = 0;
    while (pos < text.size()) {
      size_t end = text.find('\n', pos);
      if (end == std::string::npos) end = text.size();
      std::string_view line(text.data() + pos, end - pos);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      pos = end + 1;
      AddLine(line);
    }
    IndexSections();
    for (Section& s : sections_) s.Index();
    signature_ = sig;
    loaded_ = true;
  }

  void AddLine(std::string_view line) {
    const std::string_view trimmed = TrimBlanks(line);
    if (!trimmed.empty() && trimmed.front() == '[') {
      // The name runs to the last "]", so a path with "]" in it stays whole.
      std::string_view name = trimmed.substr(1);
      const size_t close = name.rfind(']');
      if (close != std::string_view::npos) name = name.substr(0, close);
      sections_.push_back(Section{std::string(TrimBlanks(name)), std::string(line), {}, {}});
      return;
    }
    if (sections_.empty()) {
      preamble_.emplace_back(line);  // lines before the first section are kept, not read
      return;
    }
    std::string key;
    const size_t eq = line.find('=');
    if (eq != std::string_view::npos && trimmed.front() != ';')
      key = TrimBlanks(line.substr(0, eq));
    sections_.back().lines.push_back(Line{std::string(line), std::move(key)});
  }

  // The temporary file is made 0600 and only then filled, so a password is never
  // in a file others can read, not even for a moment.
  static constexpr mode_t kPrivateMode = 0600;

  std::string native_;
  bool private_ = false;
  bool loaded_ = false;
  bool readable_ = true;  // false: the file is there but could not be read
  FileSignature signature_;
  uint64_t generation_ = UINT64_MAX;  // the lock file's count at our last change
  std::vector<std::string> preamble_;
  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> sectionIndex_;  // folded name -> first section
};

namespace {

std::mutex registryMutex;

std::map<std::string, std::weak_ptr<IniDocument>>& Registry() {
  static std::map<std::string, std::weak_ptr<IniDocument>> documents;
  return documents;
}

// The file system's name of the file, with links resolved, so that every spelling
// of one file finds one document.
std::string CanonicalName(const std::string& path) {
  std::filesystem::path native(NativePath(path));
  std::error_code error;
  if (native.is_relative()) native = std::filesystem::current_path(error) / native;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(native, error);
  return error ? native.lexically_normal().string() : canonical.string();
}

std::shared_ptr<IniDocument> DocumentOf(const std::string& path) {
  const std::string native = CanonicalName(path);
  std::lock_guard lock(registryMutex);
  auto& documents = Registry();
  std::erase_if(documents, [](const auto& entry) { return entry.second.expired(); });
  if (auto doc = documents[native].lock()) return doc;
  auto doc = std::make_shared<IniDocument>(native);
  documents[native] = doc;
  return doc;
}

// Names that could not be read back as they were written.
bool IsStorableKey(std::string_view key) {
  return !key.empty() && key.find_first_of("=\r\n") == std::string_view::npos &&
         key.front() != '[' && key.front() != ';';
}

bool IsStorableSection(std::string_view section) {
  return section.find_first_of("\r\n") == std::string_view::npos;
}

// Decimal, or hexadecimal after "0x" or "$"; nullopt for anything else.
std::optional<int> ParseInteger(std::string_view text) {
  if (text.empty()) return std::nullopt;
  int base = 10;
  bool negative = false;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16, text.remove_prefix(2);
  } else if (text.size() > 1 && text[0] == '$') {
    base = 16, text.remove_prefix(1);
  } else if (text[0] == '-' || text[0] == '+') {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || (base == 16 && text.size() > 8)) return std::nullopt;
  long long value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return std::nullopt;
    value = value * base + digit;
    if (base == 10 && value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
  }
  if (base == 16) return static_cast<int>(static_cast<unsigned int>(value));  // 0xFFFFFFFF is -1
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

TIniFile::TIniFile(const std::string& path, TIniPrivacy privacy)
    : path_(path), doc_(DocumentOf(path)) {
  if (privacy == TIniPrivacy::Private) {
    std::lock_guard lock(doc_->mutex);
    doc_->MakePrivate();
  }
}

TIniFile::~TIniFile() = default;

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
  std::lock_guard lock(doc_->mutex);
  doc_->Refresh(false);
  const IniDocument::Section* sec = doc_->FindSection(TrimBlanks(section));
  const IniDocument::Line* line = sec ? sec->Find(TrimBlanks(key)) : nullptr;
  if (!line) return defaultValue;
  return ValueOfText(std::string_view(line->text).substr(line->text.find('=') + 1));
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  const std::string_view sectionName = TrimBlanks(section);
  const std::string_view keyName = TrimBlanks(key);
  if (!IsStorableSection(sectionName) || !IsStorableKey(keyName)) {
    throw std::runtime_error("Unable to write settings file " + path_ + ": [" + section + "] " +
                             key + " is not a name a settings file can hold");
  }
  std::lock_guard lock(doc_->mutex);
  const auto fileLock = doc_->BeginChange();
  const bool changed = doc_->Set(sectionName, keyName, TextOfValue(value));
  if ((changed || doc_->WiderThanPrivate()) && !doc_->Save(*fileLock)) {
    throw std::runtime_error("Unable to write settings file " + path_);
  }
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key,
                          int defaultValue) const {
  return ParseInteger(TrimBlanks(ReadString(section, key, ""))).value_or(defaultValue);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key,
                        bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
  std::lock_guard lock(doc_->mutex);
  doc_->Refresh(false);
  std::vector<std::string> keys;
  if (const IniDocument::Section* sec = doc_->FindSection(TrimBlanks(section))) {
    for (size_t i = 0; i < sec->lines.size(); ++i) {
      const std::string& key = sec->lines[i].key;
      if (!key.empty() && sec->keys.at(FoldCase(key)) == i) keys.push_back(key);
    }
  }
  return keys;
}

std::vector<std::string> TIniFile::ReadSectionValues(const std::string& section) const {
  std::lock_guard lock(doc_->mutex);
  doc_->Refresh(false);
  std::vector<std::string> values;
  if (const IniDocument::Section* sec = doc_->FindSection(TrimBlanks(section))) {
    for (size_t i = 0; i < sec->lines.size(); ++i) {
      const IniDocument::Line& line = sec->lines[i];
      if (line.key.empty() || sec->keys.at(FoldCase(line.key)) != i) continue;
      values.push_back(line.key + "=" +
                       ValueOfText(std::string_view(line.text).substr(line.text.find('=') + 1)));
    }
  }
  return values;
}

std::vector<std::string> TIniFile::ReadSections() const {
  std::lock_guard lock(doc_->mutex);
  doc_->Refresh(false);
  return doc_->SectionNames();
}

void TIniFile::EraseSection(const std::string& section) {
  std::lock_guard lock(doc_->mutex);
  const auto fileLock = doc_->BeginChange();
  const bool changed = doc_->Erase(TrimBlanks(section));
  if ((changed || doc_->WiderThanPrivate()) && !doc_->Save(*fileLock)) {
    throw std::runtime_error("Unable to write settings file " + path_);
  }
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  std::lock_guard lock(doc_->mutex);
  const auto fileLock = doc_->BeginChange();
  const bool changed = doc_->Delete(TrimBlanks(section), TrimBlanks(key));
  if ((changed || doc_->WiderThanPrivate()) && !doc_->Save(*fileLock)) {
    throw std::runtime_error("Unable to write settings file " + path_);
  }
}

bool TIniFile::SectionExists(const std::string& section) const {
  std::lock_guard lock(doc_->mutex);
  doc_->Refresh(false);
  return doc_->FindSection(TrimBlanks(section)) != nullptr;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  std::lock_guard lock(doc_->mutex);
  doc_->Refresh(false);
  const IniDocument::Section* sec = doc_->FindSection(TrimBlanks(section));
  return sec && sec->Find(TrimBlanks(key)) != nullptr;
}

void TIniFile::Reload() {
  std::lock_guard lock(doc_->mutex);
  doc_->Refresh(true);
}

}  // namespace quorrel
