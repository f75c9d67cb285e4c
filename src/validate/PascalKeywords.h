#pragma once
// The keywords the Pascal formatter knows by their place in one table, and the
// characters a Pascal word is made of.
#include <string_view>

namespace quorrel {

// Codes of the table, as the formatter's rules name them.
enum PascalCode : int {
  PasNone = 0,
  PasBegin = 1,
  PasTry = 2,
  PasAsm = 3,
  PasCase = 4,
  PasRepeat = 5,
  PasWith = 6,
  PasWhile = 7,
  PasFor = 8,
  PasExcept = 9,
  PasFinally = 10,
  PasPrivate = 11,
  PasAutomated = 15,
  PasUses = 16,
  PasType = 17,
  PasVar = 18,
  PasConst = 19,
  PasLabel = 20,
  PasIf = 21,
  PasElse = 22,
  PasEnd = 23,
  PasUntil = 24,
  PasImplementation = 25,
  PasProcedure = 26,
  PasFunction = 27,
  PasConstructor = 28,
  PasDestructor = 29,
  PasInterface = 30,
  PasInherited = 32,
  PasInitialization = 37,
  PasFinalization = 38,
  PasKeywordCount = 39,
  // The formatter's own codes for a line's leading word.
  PasInterfaceSection = -1,  // the first INTERFACE of a unit
  PasCaseElse = -2,          // an ELSE that closes the branches of a CASE
};

// The 1-based place of an upper-case word in the table, 0 when it is not there.
int PascalKeywords(std::string_view upperWord);

// The table's word for a code 1 to 39.
std::string_view PascalKeyword(int code);

// "!", "$", ".", digits, "@", letters A to Z and a to z, "_"; nothing from 128 up.
bool IsPascalWordChar(char c);

}  // namespace quorrel
