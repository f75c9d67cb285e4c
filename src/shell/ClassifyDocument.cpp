#include "shell/ClassifyDocument.h"

#include <stdexcept>

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "shell/FastStrings.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

// The name's extension, upper-cased, with its dot; a dot in a folder name is no
// extension.
std::string UpperExtension(const std::string& path) {
  return UpperCaseLatin1(ExtractFileExt(path));
}

// The current document's kind, beside its flags in ShellState.
TDocumentKind currentKind = TDocumentKind::Other;
TKindSet currentKinds;

std::string FirstLineOf(const std::string& text) {
  size_t end = text.find_first_of("\r\n");
  return end == std::string::npos ? text : text.substr(0, end);
}

}  // namespace

bool IsNotInSite(const std::string& path, const std::string& tempFolder) {
  // Temporary, download and program folders are written the Linux way.
  return Contains(path, "Temporary Internet Files") || Contains(path, "/Temp/") ||
         Contains(path, "/tmp/") || (!tempFolder.empty() && path.starts_with(tempFolder)) ||
         path.starts_with("/usr/") || path.starts_with("/opt/") || StartsWithNoCase(path, "http") ||
         Contains(path, "Untitled.htm") || Contains(path, "/Download");
}

void SetKindFlags(TDocumentType& t) {
  const uint32_t flags = FlagsOfKinds(t.kinds);
  auto has = [&](TKindFlag flag) { return (flags & flag) != 0; };
  t.isHtml = has(FlagHtml);
  t.isServerPage = has(FlagServerPage);
  t.isPhp = has(FlagPhp);
  t.isAsp = has(FlagAsp);
  t.isCss = has(FlagCss);
  t.isJs = has(FlagJs);
  t.isCSharp = has(FlagCSharp);
  t.isPascal = has(FlagPascal);
  t.isXml = has(FlagXml);
  t.isTei = has(FlagTei);
  t.isRtf = has(FlagRtf);
  t.isAbc = has(FlagAbc);
  t.isLog = has(FlagLog);
  t.isScript = has(FlagScript);
  t.isContentDoc = has(FlagContentDoc);
  t.isDotPage = has(FlagDotPage);
  t.isSlides = has(FlagSlides);
  t.isPlainText = has(FlagPlainText);
}

TDocumentType ClassifyText(const std::string& path, const std::string& firstLine,
                           const std::string& text, bool onTabChange,
                           const std::string& tempFolder) {
  TDocumentType t;
  t.ext = UpperExtension(path);
  t.notInSite = IsNotInSite(path, tempFolder);
  t.kinds = RecogniseKinds({path, t.ext, firstLine, text, t.notInSite, onTabChange});
  t.kind = MainKind(t.kinds);
  SetKindFlags(t);
  t.isOfficeHtml = ContainsNoCase(text, "<o:");
  t.hasBaseTag = !t.isDotPage && ContainsNoCase(text, "<base ");
  // A page saved from the web without a name ending: it is HTML.
  if (t.ext.empty() && t.notInSite && text.starts_with("<!DOCTYPE")) t.ext = ".HTM";
  return t;
}

void ClassifyDocument(bool onTabChange) {
  std::string firstLine;
  if (CurrentEditor) {
    firstLine = CurrentEditor->TextRange(0, CurrentEditor->LineLength(0));
  } else {
    firstLine = FirstLineOf(CurrentText);
  }
  std::string temp;
  try {
    temp = TempFolder();
  } catch (const std::runtime_error&) {
    // Without a private work folder no document lies in it.
  }
  SetCurrentDocumentType(ClassifyText(CurrentFileName, firstLine, CurrentText, onTabChange, temp));
}

TDocumentKind CurrentKind() {
  return currentKind;
}

const TKindSet& CurrentKinds() {
  return currentKinds;
}

void AddCurrentKind(TDocumentKind kind) {
  TDocumentType t = CurrentDocumentType();
  t.kinds.set(static_cast<size_t>(kind));
  t.kinds.reset(static_cast<size_t>(TDocumentKind::Other));
  t.kind = MainKind(t.kinds);
  SetKindFlags(t);
  SetCurrentDocumentType(t);
}

TDocumentType CurrentDocumentType() {
  TDocumentType t;
  t.kind = currentKind;
  t.kinds = currentKinds;
  t.ext = CurrentExt;
  t.isHtml = IsHtml;
  t.isServerPage = IsServerPage;
  t.isPhp = IsPhp;
  t.isAsp = IsAsp;
  t.isCss = IsCss;
  t.isJs = IsJs;
  t.isCSharp = IsCSharp;
  t.isPascal = IsPascal;
  t.isXml = IsXml;
  t.isTei = IsTei;
  t.isRtf = IsRtf;
  t.isAbc = IsAbc;
  t.isLog = IsLog;
  t.isScript = IsScript;
  t.isContentDoc = IsContentDoc;
  t.isDotPage = IsDotPage;
  t.isSlides = IsSlides;
  t.isOfficeHtml = IsOfficeHtml;
  t.isPlainText = IsPlainText;
  t.notInSite = NotInSite;
  t.hasBaseTag = HasBaseTag;
  return t;
}

void SetCurrentDocumentType(const TDocumentType& t) {
  CurrentDocument().Type = t;
  currentKind = t.kind;
  currentKinds = t.kinds;
  CurrentExt = t.ext;
  IsHtml = t.isHtml;
  IsServerPage = t.isServerPage;
  IsPhp = t.isPhp;
  IsAsp = t.isAsp;
  IsCss = t.isCss;
  IsJs = t.isJs;
  IsCSharp = t.isCSharp;
  IsPascal = t.isPascal;
  IsXml = t.isXml;
  IsTei = t.isTei;
  IsRtf = t.isRtf;
  IsAbc = t.isAbc;
  IsLog = t.isLog;
  IsScript = t.isScript;
  IsContentDoc = t.isContentDoc;
  IsDotPage = t.isDotPage;
  IsSlides = t.isSlides;
  IsOfficeHtml = t.isOfficeHtml;
  IsPlainText = t.isPlainText;
  NotInSite = t.notInSite;
  HasBaseTag = t.hasBaseTag;
}

namespace {
const TResetEntry resetCurrentKind([] {
  currentKind = TDocumentKind::Other;
  currentKinds.reset();
});
}  // namespace

}  // namespace quorrel
