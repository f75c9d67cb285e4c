#include "shell/DocumentKinds.h"

#include "shell/FastStrings.h"
#include "shell/Page.h"

namespace quorrel {

namespace {

size_t Index(TDocumentKind kind) {
  return static_cast<size_t>(kind);
}

bool Recognised(const TDocumentKindRow& row, const TRecognition& r) {
  if (*row.extensions && !r.ext.empty() && InBarListNoCase(r.ext, row.extensions) > 0) return true;
  return row.recognise && row.recognise(r);
}

}  // namespace

// Real files also write "X: 47", so blanks may stand before the number.
bool IsTuneNumberLine(const std::string& line) {
  if (!line.starts_with("X:")) return false;
  size_t i = 2;
  while (i < line.size() && line[i] == ' ') ++i;
  if (i == line.size()) return false;
  for (; i < line.size(); ++i) {
    if (line[i] < '0' || line[i] > '9') return false;
  }
  return true;
}

TKindSet RecogniseKinds(const TRecognition& r) {
  TKindSet kinds;
  for (const TDocumentKindRow& row : DocumentKindTable()) {
    if (Recognised(row, r)) kinds.set(Index(row.kind));
  }
  if (kinds.none()) kinds.set(Index(TDocumentKind::Other));
  return kinds;
}

TDocumentKind MainKind(const TKindSet& kinds) {
  for (const TDocumentKindRow& row : DocumentKindTable()) {
    if (kinds.test(Index(row.kind))) return row.kind;
  }
  return TDocumentKind::Other;
}

namespace {

template <class Test>
bool AnyRow(const TKindSet& kinds, Test test) {
  for (const TDocumentKindRow& row : DocumentKindTable()) {
    if (kinds.test(Index(row.kind)) && test(row)) return true;
  }
  return false;
}

}  // namespace

uint32_t FlagsOfKinds(const TKindSet& kinds) {
  uint32_t flags = 0;
  for (const TDocumentKindRow& row : DocumentKindTable()) {
    if (kinds.test(Index(row.kind))) flags |= row.flags;
  }
  return flags;
}

bool KindsColour(const TKindSet& kinds, TColouring colouring) {
  return AnyRow(kinds, [&](const TDocumentKindRow& row) { return row.colouring == colouring; });
}

bool KindsShowMenu(const TKindSet& kinds, TKindMenu menu) {
  return AnyRow(kinds, [&](const TDocumentKindRow& row) { return (row.menus & menu) != 0; });
}

TSectionRule SectionRuleOfKinds(const TKindSet& kinds, bool raw) {
  TSectionRule rule = TSectionRule::None;
  for (const TDocumentKindRow& row : DocumentKindTable()) {
    if (!kinds.test(Index(row.kind))) continue;
    const TSectionRule own = raw ? row.rawSections : row.sections;
    if (own != TSectionRule::None && (rule == TSectionRule::None || own < rule)) rule = own;
  }
  return rule;
}

std::string NotCheckedYetStatus(TDocumentKind kind) {
  std::string status = std::string(KindRow(kind).name) + " documents are not checked yet";
  status[0] = UpperCaseLatin1(status.substr(0, 1))[0];
  return status;
}

}  // namespace quorrel
