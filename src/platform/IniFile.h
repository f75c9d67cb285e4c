#pragma once
// INI files with Windows semantics: section and key names compare without regard
// to case, key order is kept, values are kept byte for byte. Every TIniFile on the
// same path shares one document, so two objects on one file always agree, and a
// change another program makes to the file is seen at the next call. Each change is
// written at once, through a temporary file and a rename.
//
// Values read as Windows reads them (blanks around them trimmed, one pair of
// surrounding quotes taken off); a value that would lose something that way is
// written in quotes, so every value reads back as written, up to its first line
// break. A change that cannot be written, or a key name that could not be read back
// (empty, holding "=", beginning with "[" or ";"), throws std::runtime_error
// "Unable to write settings file " + path.
#include <memory>
#include <string>
#include <vector>

namespace quorrel {

class IniDocument;

// A settings file that holds a password is Private: every write leaves it readable
// and writable by its owner alone (0600), also when it replaces a file others could
// read. Reading it is the same either way. Once any TIniFile has opened a file as
// Private, every write to it is, for as long as the file is open.
enum class TIniPrivacy { Shared, Private };

class TIniFile {
 public:
  explicit TIniFile(const std::string& path, TIniPrivacy privacy = TIniPrivacy::Shared);
  ~TIniFile();

  const std::string& FileName() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
  void WriteInteger(const std::string& section, const std::string& key, int value);
  // "1"/"0" on write; any number other than 0 reads as true.
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
  void WriteBool(const std::string& section, const std::string& key, bool value);

  std::vector<std::string> ReadSection(const std::string& section) const;        // key names
  std::vector<std::string> ReadSectionValues(const std::string& section) const;  // "key=value"
  std::vector<std::string> ReadSections() const;
  void EraseSection(const std::string& section);
  void DeleteKey(const std::string& section, const std::string& key);
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;

  // Re-reads the file from disk (another program may have changed it).
  void Reload();

 private:
  std::string path_;
  std::shared_ptr<IniDocument> doc_;
};

}  // namespace quorrel
