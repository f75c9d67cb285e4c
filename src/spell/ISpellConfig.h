#pragma once
// Where the ispell back end finds its programs: a registry value names the ispell
// folder, and each sub-folder of it may hold an "ispell.ini" whose sections
// describe one language each (how to start the program, its charset).
#include <optional>
#include <string>

#include "spell/Spellers.h"

namespace quorrel {

// Under HKEY_LOCAL_MACHINE; its value "Path" is the ispell folder.
extern const char kISpellKey[];
extern const char kISpellPathValue[];
// The file of each sub-folder that describes its languages.
extern const char kISpellIniName[];
// Stands for the ispell folder in a section's "Cmd", in any case.
extern const char kISpellFolderPlaceholder[];

// The ispell folder, ending with "/"; "" when the registry names none.
std::string ISpellFolder();

// One language's section.
struct TISpellSection {
  std::string SubFolder;  // its folder's name
  std::string Name;       // the section's name; the folder's when empty
  TLanguage LangNo = 0;
  std::string Cmd;
  std::string Charset;
  std::string Surrogate = "-";
  std::string Flag;  // the folder's name when not given
};

// The first section, sub-folder by sub-folder in order of their names, whose
// "LangNo" is the language (not 0), or, for language 0, whose name is name (case
// ignored). None when there is no ispell folder or no such section.
std::optional<TISpellSection> FindISpellSection(TLanguage language, const std::string& name);

// The first start names a folder in the user's data folder as the ispell folder
// and gives each of Debian's ispell dictionaries installed in dictionaryFolder
// (ibritish, iamerican) a sub-folder with its section. A later start, which
// finds the registry value there, changes nothing. Returns how many sections it
// wrote.
int RegisterISpellLanguages(const std::string& dictionaryFolder = "/usr/lib/ispell/");

}  // namespace quorrel
