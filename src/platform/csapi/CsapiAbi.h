#pragma once
// The calls and records of the speller library that the spelling back end loads at
// run time by name (our libquorrel-csapi.so over Hunspell, or any engine with the
// same sixteen entry points). Plain C types only: the library and the program share
// nothing but this header. Texts are 8-bit runs in the code page of the language
// the main dictionary was opened for; file paths are as the file system spells them.
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t TCsapiSession;
typedef uint32_t TCsapiMdr;  // an open main dictionary
typedef uint16_t TCsapiUdr;  // an open user dictionary, or one of the lists below
typedef uint16_t TCsapiStatus;

enum {
  kCsapiOk = 0,
  kCsapiBadSession = 1,
  kCsapiBadArgument = 2,
  kCsapiFileError = 3,
  kCsapiInternalError = 4,
  kCsapiUnknownCommand = 5,
  kCsapiNoDictionary = 6,
};

// The commands of SpellCheck.
enum { kCsapiVerifyBuffer = 2, kCsapiSuggest = 3, kCsapiSuggestMore = 4 };
// The spell state of the input: a run that starts a sentence, or continues one.
enum { kCsapiContinued = 1, kCsapiSentenceStart = 2 };
// Lists of the session that SpellAddUdr and SpellAddChangeUdr take in place of a
// user dictionary.
enum { kCsapiChangeOnce = 65532, kCsapiChangeAlways = 65533, kCsapiIgnoreAlways = 65534 };

// How the caller's text marks hyphens, dashes and breaks.
typedef struct {
  uint8_t ignore;
  uint8_t hardHyphen;
  uint8_t softHyphen;
  uint8_t nonBreakingHyphen;
  uint8_t emDash;
  uint8_t enDash;
  uint8_t ellipsis;
  uint8_t lineBreak[2];
  uint8_t paragraphBreak[2];
} TCsapiSpecialChars;

typedef struct {
  uint16_t length;  // bytes of text
  uint16_t mdrCount;
  uint16_t udrCount;
  uint16_t spellState;
  const char* text;
  const TCsapiMdr* mdrs;
  const TCsapiUdr* udrs;
} TCsapiInput;

// The engine writes at most suggestionsSize bytes of NUL-terminated strings, the
// list ended by an empty string, and at most ratingsSize ratings.
typedef struct {
  uint16_t errorPosition;
  uint16_t errorLength;
  uint16_t code;  // the spelling result, 0 (no errors) to 14
  char* suggestions;
  uint32_t suggestionsSize;
  uint8_t* ratings;
  uint32_t ratingsSize;
} TCsapiResult;

TCsapiStatus SpellVer(uint16_t* version, uint16_t* engine, uint16_t* spellType);
TCsapiStatus SpellInit(TCsapiSession* session, const TCsapiSpecialChars* specialChars);
TCsapiStatus SpellOptions(TCsapiSession session, uint32_t optionsMask);
TCsapiStatus SpellCheck(TCsapiSession session, uint16_t command, const TCsapiInput* input,
                        TCsapiResult* result);
TCsapiStatus SpellTerminate(TCsapiSession session, int force);
TCsapiStatus SpellVerifyMdr(const char* path, uint16_t expectedLanguage, uint16_t* language);
TCsapiStatus SpellOpenMdr(TCsapiSession session, const char* path, uint16_t language,
                          TCsapiMdr* mdr);
TCsapiStatus SpellOpenUdr(TCsapiSession session, const char* path, int create, TCsapiUdr* udr,
                          int* readOnly);
TCsapiStatus SpellAddUdr(TCsapiSession session, TCsapiUdr udr, const char* word);
TCsapiStatus SpellAddChangeUdr(TCsapiSession session, TCsapiUdr udr, const char* word,
                               const char* change);
TCsapiStatus SpellDelUdr(TCsapiSession session, TCsapiUdr udr, const char* word);
TCsapiStatus SpellClearUdr(TCsapiSession session, TCsapiUdr udr);
TCsapiStatus SpellGetSizeUdr(TCsapiSession session, TCsapiUdr udr, uint16_t* count);
// Fills the result's suggestion buffer with the words from the first-th on.
TCsapiStatus SpellGetListUdr(TCsapiSession session, TCsapiUdr udr, uint16_t first,
                             TCsapiResult* result);
TCsapiStatus SpellCloseMdr(TCsapiSession session, TCsapiMdr mdr);
TCsapiStatus SpellCloseUdr(TCsapiSession session, TCsapiUdr udr, int save);

#ifdef __cplusplus
}
#endif
