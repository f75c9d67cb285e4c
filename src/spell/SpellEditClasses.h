#pragma once
// The kinds of editor the spell checker can check, by class name.
#include <string>

namespace quorrel {

struct TEditClass {
  const char* name;
  bool languagePerCharacter;  // the language is read from each word's format
  bool wideInterface;         // the text can be read as Unicode
};

// The entry of a class name, compared without case; nullptr for any other kind.
const TEditClass* FindEditClass(const std::string& className);

}  // namespace quorrel
