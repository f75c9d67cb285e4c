#pragma once
// Which kind of document the current tab holds, from its path, its extension, its
// first line and its text, and the facts about it that are not kinds.
#include <string>

#include "shell/DocumentKinds.h"

namespace quorrel {

struct TDocumentType {
  TDocumentKind kind = TDocumentKind::Other;
  TKindSet kinds;   // every kind recognised; kind is the first of them in the table
  std::string ext;  // upper case, with the dot; "" when the name has none
  // The kind flags the older code reads, set from kinds by SetKindFlags alone.
  bool isHtml = false;
  bool isServerPage = false;
  bool isPhp = false;
  bool isAsp = false;
  bool isCss = false;
  bool isJs = false;
  bool isCSharp = false;
  bool isPascal = false;
  bool isXml = false;
  bool isTei = false;
  bool isRtf = false;
  bool isAbc = false;
  bool isLog = false;
  bool isScript = false;
  bool isContentDoc = false;
  bool isDotPage = false;
  bool isSlides = false;
  bool isOfficeHtml = false;
  bool isPlainText = false;
  // Facts that are not kinds.
  bool notInSite = false;
  bool hasBaseTag = false;
};

// Whether a path lies outside any site: downloads, temporary and program folders,
// web addresses and untitled pages. tempFolder is this user's work folder.
bool IsNotInSite(const std::string& path, const std::string& tempFolder);

// Sets the kind flags of a type from its kinds.
void SetKindFlags(TDocumentType& t);

// The kind and facts of a document. firstLine is its first line without the line end, text
// its working text. On a tab change an out-of-site text holding "<HTML" is HTML too.
TDocumentType ClassifyText(const std::string& path, const std::string& firstLine,
                           const std::string& text, bool onTabChange,
                           const std::string& tempFolder);

// The current document's kind and the kinds it is recognised as.
TDocumentKind CurrentKind();
const TKindSet& CurrentKinds();

// Sets CurrentExt, the kind and the document-type flags from CurrentFileName, the current
// editor's first line and CurrentText.
void ClassifyDocument(bool onTabChange = false);

// A command turned the current document into one of a kind (plain text into RTF):
// the kind joins the kinds it is recognised as, and the flags follow.
void AddCurrentKind(TDocumentKind kind);

// CurrentExt and the document-type flags as they stand, and set from a type (a
// command that classifies another file puts the document's own back); setting
// also keeps the type in the current document's record.
TDocumentType CurrentDocumentType();
void SetCurrentDocumentType(const TDocumentType& t);

}  // namespace quorrel
