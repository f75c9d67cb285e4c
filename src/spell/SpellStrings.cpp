#include "spell/SpellStrings.h"

#include <array>

namespace quorrel {
namespace {

using TSet = std::array<std::string, ssCount>;

const TSet kEnglish = {
    "&Variants",
    "&Delete",
    "&Change",
    "Change A&ll",
    "&Skip",
    "S&kip All",
    "&Add",
    "Ca&ncel",
    "&Undo Edit",
    "Unknown word",
    "Illegal hyphenations",
    "Capitalization error",
    "Possible abbreviation",
    "Sentence capitalization error",
    "Extra spaces",
    "Missing space",
    "Numerals in start of word",
    "Repeated word",
    "Spelling check complete",
    "Message",
    "Spelling - %s",
    "Spelling error No %d",
    "Error loading Spell DLL %s",
    "Error unloading Spell DLL %s",
    "Language %s not installed",
    "Start",
};

// Windows-1252: 0xE4 a-umlaut, 0xF6 o-umlaut, 0xFC u-umlaut, 0xDF sharp s.
const TSet kGerman = {
    "&Varianten",
    "&L\xF6schen",
    "&\xC4ndern",
    "&Alle \xE4ndern",
    "\xDC&berspringen",
    "Alle \xFC&berspringen",
    "&Hinzuf\xFCgen",
    "Abbre&chen",
    "&R\xFC"
    "ckg\xE4ngig",
    "Unbekanntes Wort",
    "Ung\xFCltige Silbentrennung",
    "Fehler in Gro\xDF- und Kleinschreibung",
    "M\xF6gliche Abk\xFCrzung",
    "Satzanfang nicht gro\xDF geschrieben",
    "\xDC"
    "berz\xE4hlige Leerzeichen",
    "Fehlendes Leerzeichen",
    "Ziffern am Wortanfang",
    "Wiederholtes Wort",
    "Rechtschreibpr\xFC"
    "fung abgeschlossen",
    "Meldung",
    "Rechtschreibung - %s",
    "Rechtschreibfehler Nr. %d",
    "Fehler beim Laden der Rechtschreib-DLL %s",
    "Fehler beim Entladen der Rechtschreib-DLL %s",
    "Sprache %s ist nicht installiert",
    "Start",
};

}  // namespace

const std::string& SpellString(TUserLanguage language, TSpellString which) {
  const TSet& set = language == TUserLanguage::ulOwn ? kGerman : kEnglish;
  return set.at(which < ssCount ? which : ssVariants);
}

}  // namespace quorrel
