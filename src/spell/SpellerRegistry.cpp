#include "spell/SpellerRegistry.h"

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/UserFolders.h"

namespace quorrel {

const char kCustomDictionariesKey[] =
    "\\SOFTWARE\\Microsoft\\Shared Tools\\Proofing Tools\\Custom Dictionaries";
const char kSpellerLibraryName[] = "libquorrel-csapi.so";

std::string SpellingKey(TLanguage language) {
  return "\\SOFTWARE\\Microsoft\\Shared Tools\\Proofing Tools\\Spelling\\" +
         std::to_string(language) + "\\Normal";
}

std::string SpellerLibraryPath() {
  return ExecutableDir() + kSpellerLibraryName;
}

std::string DefaultCustomDictionary() {
  return UserDataFolder() + "CUSTOM.DIC";
}

int RegisterHunspellDictionaries(const std::string& folder) {
  int made = 0;
  for (const std::string& name : ListFiles(folder, "*.dic")) {
    const std::string dictionary = folder + name;
    if (ExtractFileExt(name) != ".dic" || !FileExists(ChangeFileExt(dictionary, ".aff"))) {
      continue;
    }
    // Only a name that is exactly a locale we know: "en_GB", not "en_GB-large".
    const std::string locale = ChangeFileExt(name, "");
    const int lcid = LcidOfLocaleName(locale);
    if (lcid == 0 || lcid > 0xFFFF || LocaleNameOfLcid(lcid) != locale) continue;
    TRegistry registry(TRootKey::LocalMachine);
    const std::string key = SpellingKey(static_cast<TLanguage>(lcid));
    if (registry.KeyExists(key) || !registry.OpenKey(key, true)) continue;
    registry.WriteString("Engine", SpellerLibraryPath());
    registry.WriteString("Dictionary", dictionary);
    ++made;
  }
  return made;
}

}  // namespace quorrel
