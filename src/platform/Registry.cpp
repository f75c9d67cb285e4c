#include "platform/Registry.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/UserFolders.h"

namespace quorrel {

namespace {

const char kDefaultValueName[] = "@";
// Written and removed at once: it leaves the section of a key that has no value yet.
const char kKeyMarker[] = "@key";

const char* RootName(TRootKey root) {
  switch (root) {
    case TRootKey::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case TRootKey::CurrentUser:
      return "HKEY_CURRENT_USER";
    case TRootKey::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case TRootKey::Users:
      return "HKEY_USERS";
    case TRootKey::CurrentConfig:
      return "HKEY_CURRENT_CONFIG";
  }
  return "HKEY_CURRENT_USER";
}

// "a\\b\" -> "a\b": empty parts mean nothing in a key path.
std::string CleanPath(const std::string& path) {
  std::string clean;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) {
      if (!clean.empty()) clean += '\\';
      clean.append(path, start, end - start);
    }
    start = end + 1;
  }
  return clean;
}

std::string ValueKey(const std::string& name) {
  return name.empty() ? kDefaultValueName : name;
}

TIniFile File() {
  return TIniFile(RegistryFileName());
}

}  // namespace

std::string RegistryFileName() {
  return UserConfigFolder() + "Registry.ini";
}

TRegistry::TRegistry(TRootKey root) : root_(root) {}

void TRegistry::SetRootKey(TRootKey root) {
  CloseKey();
  root_ = root;
}

std::string TRegistry::Resolve(const std::string& key) const {
  if (!key.empty() && key.front() == '\\') return CleanPath(key);
  if (!open_ || current_.empty()) return CleanPath(key);
  return CleanPath(current_ + "\\" + key);
}

std::string TRegistry::Section(const std::string& path) const {
  return path.empty() ? RootName(root_) : std::string(RootName(root_)) + "\\" + path;
}

bool TRegistry::KeyExists(const std::string& key) const {
  const std::string section = Section(Resolve(key));
  TIniFile file = File();
  if (file.SectionExists(section)) return true;
  // A key that only has keys below it exists too.
  const std::string prefix = section + "\\";
  const std::vector<std::string> sections = file.ReadSections();
  return std::any_of(sections.begin(), sections.end(),
                     [&](const std::string& s) { return StartsWithNoCase(s, prefix); });
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  const std::string path = Resolve(key);
  if (!KeyExists("\\" + path)) {
    if (!canCreate) return false;
    try {
      TIniFile file = File();
      file.WriteString(Section(path), kKeyMarker, "");
      file.DeleteKey(Section(path), kKeyMarker);
    } catch (const std::runtime_error&) {
      return false;
    }
  }
  current_ = path;
  open_ = true;
  writable_ = true;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
  const std::string path = Resolve(key);
  if (!KeyExists("\\" + path)) return false;
  current_ = path;
  open_ = true;
  writable_ = false;
  return true;
}

void TRegistry::CloseKey() {
  current_.clear();
  open_ = false;
  writable_ = false;
}

bool TRegistry::DeleteKey(const std::string& key) {
  const std::string path = Resolve(key);
  if (path.empty() || !KeyExists("\\" + path)) return false;
  const std::string section = Section(path);
  TIniFile file = File();
  try {
    for (const std::string& s : file.ReadSections()) {
      if (AnsiSameText(s, section) || StartsWithNoCase(s, section + "\\")) file.EraseSection(s);
    }
  } catch (const std::runtime_error&) {
    return false;
  }
  if (open_ && (AnsiSameText(current_, path) || StartsWithNoCase(current_, path + "\\"))) {
    CloseKey();
  }
  return true;
}

std::vector<std::string> TRegistry::GetKeyNames() const {
  std::vector<std::string> names;
  if (!open_) return names;
  const std::string prefix = Section(current_) + "\\";
  for (const std::string& s : File().ReadSections()) {
    if (!StartsWithNoCase(s, prefix)) continue;
    const std::string rest = s.substr(prefix.size());
    const std::string name = rest.substr(0, rest.find('\\'));
    const bool known = std::any_of(names.begin(), names.end(),
                                   [&](const std::string& n) { return AnsiSameText(n, name); });
    if (!name.empty() && !known) names.push_back(name);
  }
  return names;
}

std::vector<std::string> TRegistry::GetValueNames() const {
  std::vector<std::string> names;
  if (!open_) return names;
  for (const std::string& name : File().ReadSection(Section(current_))) {
    names.push_back(name == kDefaultValueName ? "" : name);
  }
  return names;
}

bool TRegistry::ValueExists(const std::string& name) const {
  return open_ && File().ValueExists(Section(current_), ValueKey(name));
}

std::string TRegistry::ReadString(const std::string& name) const {
  if (!open_) return "";
  return File().ReadString(Section(current_), ValueKey(name), "");
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  if (!open_ || !writable_) {
    throw ERegistryError("Failed to set data for '" + name + "'");
  }
  try {
    File().WriteString(Section(current_), ValueKey(name), value);
  } catch (const std::runtime_error&) {
    throw ERegistryError("Failed to set data for '" + name + "'");
  }
}

bool TRegistry::DeleteValue(const std::string& name) {
  if (!open_ || !writable_ || !ValueExists(name)) return false;
  try {
    File().DeleteKey(Section(current_), ValueKey(name));
  } catch (const std::runtime_error&) {
    return false;
  }
  return true;
}

}  // namespace quorrel
