// The sixteen entry points of the speller library. Each one catches everything:
// no C++ exception may cross into a caller that knows only C.
#include <unistd.h>

#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "platform/csapi/CsapiAbi.h"
#include "platform/csapi/CsapiSession.h"

using quorrel::csapi::TSession;

namespace {

std::mutex sessionsMutex;
std::map<TCsapiSession, std::unique_ptr<TSession>> sessions;
TCsapiSession nextSession = 1;

template <class Call>
TCsapiStatus Guarded(Call call) noexcept {
  try {
    return call();
  } catch (...) {
    return kCsapiInternalError;
  }
}

// Runs a call on an open session.
template <class Call>
TCsapiStatus OnSession(TCsapiSession id, Call call) noexcept {
  return Guarded([&]() -> TCsapiStatus {
    std::lock_guard lock(sessionsMutex);
    auto found = sessions.find(id);
    if (found == sessions.end()) return kCsapiBadSession;
    return call(*found->second);
  });
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) TCsapiStatus SpellVer(uint16_t* version, uint16_t* engine,
                                                             uint16_t* spellType) {
  return Guarded([&]() -> TCsapiStatus {
    if (version) *version = 0x0100;
    if (engine) *engine = 1;  // Hunspell
    if (spellType) *spellType = 0;
    return kCsapiOk;
  });
}

__attribute__((visibility("default"))) TCsapiStatus SpellInit(
    TCsapiSession* session, const TCsapiSpecialChars* specialChars) {
  return Guarded([&]() -> TCsapiStatus {
    if (!session) return kCsapiBadArgument;
    std::lock_guard lock(sessionsMutex);
    const TCsapiSession id = nextSession++;
    sessions.emplace(id, std::make_unique<TSession>(specialChars));
    *session = id;
    return kCsapiOk;
  });
}

__attribute__((visibility("default"))) TCsapiStatus SpellOptions(TCsapiSession session,
                                                                 uint32_t optionsMask) {
  return OnSession(session, [&](TSession& s) {
    s.SetOptions(optionsMask);
    return static_cast<TCsapiStatus>(kCsapiOk);
  });
}

__attribute__((visibility("default"))) TCsapiStatus SpellCheck(TCsapiSession session,
                                                               uint16_t command,
                                                               const TCsapiInput* input,
                                                               TCsapiResult* result) {
  return OnSession(session, [&](TSession& s) { return s.Check(command, input, result); });
}

__attribute__((visibility("default"))) TCsapiStatus SpellTerminate(TCsapiSession session,
                                                                   int force) {
  return Guarded([&]() -> TCsapiStatus {
    std::lock_guard lock(sessionsMutex);
    auto found = sessions.find(session);
    if (found == sessions.end()) return kCsapiBadSession;
    // Words are kept as they are added; what is left unsaved goes now.
    const TCsapiStatus saved = found->second->SaveAll();
    if (saved != kCsapiOk && !force) return saved;
    sessions.erase(found);
    return kCsapiOk;
  });
}

__attribute__((visibility("default"))) TCsapiStatus SpellVerifyMdr(const char* path,
                                                                   uint16_t expectedLanguage,
                                                                   uint16_t* language) {
  return Guarded([&]() -> TCsapiStatus {
    if (!path) return kCsapiBadArgument;
    std::string aff = path;
    const size_t dot = aff.rfind('.');
    aff = (dot == std::string::npos ? aff : aff.substr(0, dot)) + ".aff";
    if (access(path, R_OK) != 0 || access(aff.c_str(), R_OK) != 0) return kCsapiFileError;
    if (language) *language = expectedLanguage;
    return kCsapiOk;
  });
}

__attribute__((visibility("default"))) TCsapiStatus SpellOpenMdr(TCsapiSession session,
                                                                 const char* path,
                                                                 uint16_t language,
                                                                 TCsapiMdr* mdr) {
  return OnSession(session, [&](TSession& s) { return s.OpenMdr(path, language, mdr); });
}

__attribute__((visibility("default"))) TCsapiStatus SpellOpenUdr(TCsapiSession session,
                                                                 const char* path, int create,
                                                                 TCsapiUdr* udr, int* readOnly) {
  return OnSession(session,
                   [&](TSession& s) { return s.OpenUdr(path, create != 0, udr, readOnly); });
}

__attribute__((visibility("default"))) TCsapiStatus SpellAddUdr(TCsapiSession session,
                                                                TCsapiUdr udr, const char* word) {
  return OnSession(session, [&](TSession& s) { return s.AddUdr(udr, word); });
}

__attribute__((visibility("default"))) TCsapiStatus SpellAddChangeUdr(TCsapiSession session,
                                                                      TCsapiUdr udr,
                                                                      const char* word,
                                                                      const char* change) {
  return OnSession(session, [&](TSession& s) { return s.AddChangeUdr(udr, word, change); });
}

__attribute__((visibility("default"))) TCsapiStatus SpellDelUdr(TCsapiSession session,
                                                                TCsapiUdr udr, const char* word) {
  return OnSession(session, [&](TSession& s) { return s.DelUdr(udr, word); });
}

__attribute__((visibility("default"))) TCsapiStatus SpellClearUdr(TCsapiSession session,
                                                                  TCsapiUdr udr) {
  return OnSession(session, [&](TSession& s) { return s.ClearUdr(udr); });
}

__attribute__((visibility("default"))) TCsapiStatus SpellGetSizeUdr(TCsapiSession session,
                                                                    TCsapiUdr udr,
                                                                    uint16_t* count) {
  return OnSession(session, [&](TSession& s) { return s.GetSizeUdr(udr, count); });
}

__attribute__((visibility("default"))) TCsapiStatus SpellGetListUdr(TCsapiSession session,
                                                                    TCsapiUdr udr, uint16_t first,
                                                                    TCsapiResult* result) {
  return OnSession(session, [&](TSession& s) { return s.GetListUdr(udr, first, result); });
}

__attribute__((visibility("default"))) TCsapiStatus SpellCloseMdr(TCsapiSession session,
                                                                  TCsapiMdr mdr) {
  return OnSession(session, [&](TSession& s) { return s.CloseMdr(mdr); });
}

__attribute__((visibility("default"))) TCsapiStatus SpellCloseUdr(TCsapiSession session,
                                                                  TCsapiUdr udr, int save) {
  return OnSession(session, [&](TSession& s) { return s.CloseUdr(udr, save != 0); });
}

}  // extern "C"
