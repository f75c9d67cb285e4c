#include "spell/Spellers.h"

namespace quorrel {

void CheckSpellStatus(uint16_t status) {
  if (status != 0) throw ESpellError("Spelling error No " + std::to_string(status));
}

TAbstractSpeller::TAbstractSpeller(TLanguage language, TSpellOptions options,
                                   TSpellChecker* checker)
    : Language(language), Options(options), Checker(checker) {}

}  // namespace quorrel
