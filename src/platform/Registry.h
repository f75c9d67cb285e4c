#pragma once
// The registry, kept per user in Registry.ini in the program's configuration folder:
// each key is a section named by its root and path ("HKEY_LOCAL_MACHINE\SOFTWARE"),
// each value a line of it, the unnamed value under "@". Key paths and value
// names compare without regard to case, as in the registry. Only what the program
// itself stores lives here; what a key means to the desktop (file associations,
// starting with the session) is carried out by the unit that writes it.
#include <stdexcept>
#include <string>
#include <vector>

namespace quorrel {

enum class TRootKey { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// A value that cannot be written: no key open for writing, or the file failed.
class ERegistryError : public std::runtime_error {
 public:
  explicit ERegistryError(const std::string& message) : std::runtime_error(message) {}
};

// The file that holds every key.
std::string RegistryFileName();

class TRegistry {
 public:
  explicit TRegistry(TRootKey root = TRootKey::CurrentUser);

  TRootKey RootKey() const { return root_; }
  // Changing the root closes the open key.
  void SetRootKey(TRootKey root);

  // A key beginning with "\" is taken from the root, any other from the open key.
  // OpenKey opens for reading and writing, making the key (and the keys above it)
  // when canCreate is set; false when the key does not exist and may not be made.
  bool OpenKey(const std::string& key, bool canCreate);
  bool OpenKeyReadOnly(const std::string& key);
  void CloseKey();
  // The open key's path below its root, without a leading "\"; "" when none is open.
  const std::string& CurrentPath() const { return current_; }

  bool KeyExists(const std::string& key) const;
  // Removes the key with its values and every key below it.
  bool DeleteKey(const std::string& key);
  // The names of the keys directly below the open key.
  std::vector<std::string> GetKeyNames() const;
  std::vector<std::string> GetValueNames() const;

  // Values of the open key; "" is the key's unnamed value.
  bool ValueExists(const std::string& name) const;
  std::string ReadString(const std::string& name) const;  // "" when missing
  void WriteString(const std::string& name, const std::string& value);
  bool DeleteValue(const std::string& name);

 private:
  std::string Resolve(const std::string& key) const;
  std::string Section(const std::string& path) const;

  TRootKey root_;
  std::string current_;
  bool open_ = false;
  bool writable_ = false;
};

}  // namespace quorrel
