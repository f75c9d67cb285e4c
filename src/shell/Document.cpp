#include "shell/Document.h"

#include "platform/ResetRegistry.h"

namespace quorrel {

std::vector<TDocument> Documents;

namespace {

int currentSlot = -1;
TDocument noTab;

}  // namespace

TDocument* DocumentAt(int slot) {
  if (slot < 0 || static_cast<size_t>(slot) >= Documents.size()) return nullptr;
  return &Documents[slot];
}

TDocument& CurrentDocument() {
  TDocument* document = DocumentAt(currentSlot);
  return document ? *document : noTab;
}

int CurrentSlot() {
  return DocumentAt(currentSlot) ? currentSlot : -1;
}

void SetCurrentDocument(int slot) {
  currentSlot = DocumentAt(slot) ? slot : -1;
  if (currentSlot < 0) noTab = TDocument{};
}

int AddDocument(const std::string& path) {
  Documents.push_back(TDocument{});
  Documents.back().FileName = path;
  return static_cast<int>(Documents.size()) - 1;
}

void ClearDocuments() {
  // The record of no tab takes over what the current one held, as the current
  // document's names stand until another tab is entered.
  if (TDocument* current = DocumentAt(currentSlot)) noTab = *current;
  currentSlot = -1;
  Documents.clear();
}

std::vector<std::string> OpenFiles() {
  std::vector<std::string> paths;
  paths.reserve(Documents.size());
  for (const TDocument& document : Documents) paths.push_back(document.FileName);
  return paths;
}

void ResetDocumentRecords() {
  Documents.clear();
  currentSlot = -1;
  noTab = TDocument{};
}

namespace {
const TResetEntry resetDocumentRecords(ResetDocumentRecords);
}  // namespace

}  // namespace quorrel
