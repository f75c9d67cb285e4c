#include "spell/ISpellConfig.h"

#include <QDir>
#include <filesystem>
#include <system_error>

#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/UserFolders.h"
#include "spell/CharsetNames.h"

namespace quorrel {

const char kISpellKey[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ispell.exe";
const char kISpellPathValue[] = "Path";
const char kISpellIniName[] = "ispell.ini";
const char kISpellFolderPlaceholder[] = "%UniRed%ispell";

namespace {

// Debian's ispell dictionaries the first start knows: the hash file's name and
// the language it checks.
struct TDebianDictionary {
  const char* name;
  TLanguage language;
};
constexpr TDebianDictionary kDebianDictionaries[] = {{"british", 2057}, {"american", 1033}};

std::vector<std::string> SubFolders(const std::string& folder) {
  std::vector<std::string> names;
  const QDir dir(AnsiToQString(folder));
  for (const QString& name :
       dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
    names.push_back(QStringToAnsi(name));
  return names;
}

TISpellSection ReadSection(const TIniFile& ini, const std::string& section,
                           const std::string& subFolder) {
  TISpellSection found;
  found.SubFolder = subFolder;
  found.Name = section.empty() ? subFolder : section;
  const int langNo = ini.ReadInteger(section, "LangNo", 0);
  found.LangNo = langNo > 0 && langNo <= 0xFFFF ? static_cast<TLanguage>(langNo) : 0;
  found.Cmd = ini.ReadString(section, "Cmd", "");
  found.Charset = ini.ReadString(section, "Charset", "");
  found.Surrogate = ini.ReadString(section, "Surrogate", "-");
  found.Flag = ini.ReadString(section, "Flag", subFolder);
  return found;
}

}  // namespace

std::string ISpellFolder() {
  TRegistry registry(TRootKey::LocalMachine);
  if (!registry.OpenKeyReadOnly(kISpellKey)) return {};
  std::string folder = registry.ReadString(kISpellPathValue);
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

std::optional<TISpellSection> FindISpellSection(TLanguage language, const std::string& name) {
  const std::string folder = ISpellFolder();
  if (folder.empty()) return std::nullopt;
  for (const std::string& subFolder : SubFolders(folder)) {
    const std::string iniPath = folder + subFolder + "/" + kISpellIniName;
    if (!FileExists(iniPath)) continue;
    const TIniFile ini(iniPath);
    for (const std::string& section : ini.ReadSections()) {
      TISpellSection found = ReadSection(ini, section, subFolder);
      if (language != 0 ? found.LangNo == language : AnsiSameText(found.Name, name)) return found;
    }
  }
  return std::nullopt;
}

int RegisterISpellLanguages(const std::string& dictionaryFolder) {
  TRegistry registry(TRootKey::LocalMachine);
  if (registry.OpenKeyReadOnly(kISpellKey) && registry.ValueExists(kISpellPathValue)) return 0;
  const std::string folder = UserDataFolder() + "ispell/";
  if (!registry.OpenKey(kISpellKey, true)) return 0;
  registry.WriteString(kISpellPathValue, folder);
  std::error_code ignored;  // a folder that cannot be made fails on the first write to it
  std::filesystem::create_directories(NativePath(folder), ignored);
  if (FindProgram("ispell").empty()) return 0;
  int written = 0;
  for (const TDebianDictionary& dictionary : kDebianDictionaries) {
    if (!FileExists(dictionaryFolder + dictionary.name + ".hash")) continue;
    const std::string subFolder = folder + dictionary.name + "/";
    std::filesystem::create_directories(NativePath(subFolder), ignored);
    TIniFile ini(subFolder + kISpellIniName);
    ini.WriteInteger(dictionary.name, "LangNo", dictionary.language);
    ini.WriteString(dictionary.name, "Cmd", std::string("ispell -a -d ") + dictionary.name);
    // Debian's English ispell dictionaries read and write UTF-8.
    ini.WriteString(dictionary.name, "Charset", kUtf8CharsetName);
    ++written;
  }
  return written;
}

}  // namespace quorrel
