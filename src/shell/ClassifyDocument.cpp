#include "shell/ClassifyDocument.h"

#include <stdexcept>

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "shell/FastStrings.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

// "X:" and a tune number, as the first line of an ABC file has it. Real files
// also write "X: 47", so blanks may stand before the number.
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

// The name's extension, upper-cased, with its dot; a dot in a folder name is no
// extension.
std::string UpperExtension(const std::string& path) {
  return UpperCaseLatin1(ExtractFileExt(path));
}

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

TDocumentType ClassifyText(const std::string& path, const std::string& firstLine,
                           const std::string& text, bool onTabChange,
                           const std::string& tempFolder) {
  TDocumentType t;
  t.ext = UpperExtension(path);
  const std::string& ext = t.ext;
  t.isPhp = ext == ".PHP";
  t.isAsp = ext == ".ASP";
  t.isCss = ext == ".CSS";
  t.isCSharp = ext == ".CS";
  t.isJs = ext == ".JS";
  t.isServerPage = t.isAsp || ext == ".ASPX" || ext == ".ASCX" || t.isPhp;
  t.notInSite = IsNotInSite(path, tempFolder);
  t.isLog = firstLine.starts_with("[") && ext != ".LOG";
  t.isXml = firstLine.starts_with("<?xml");
  t.isTei = firstLine.starts_with("<!doctype tei2");
  t.isAbc = ext == ".ABC" || Contains(path, "ABCCodes.txt") || IsTuneNumberLine(firstLine) ||
            firstLine.starts_with("%%scale");
  t.isHtml =
      t.isServerPage ||
      (!ext.empty() && InBarListNoCase(ext, "|.HTM|.HTML|.SHTML|.DWT|.LBI|.VBS|.ASAX|") > 0) ||
      firstLine.starts_with("<!DOCTYPE") ||
      (t.notInSite && ext.empty() && !t.isTei && !t.isAbc && !t.isLog) ||
      (onTabChange && t.notInSite && ContainsNoCase(text, "<HTML"));
  t.isScript = ext == ".SCR";
  t.isContentDoc = path == "Content";
  t.isRtf = ext == ".RTF" || ext == ".LTR" || t.isScript || t.isContentDoc;
  t.isPascal = ext == ".PAS";
  t.isSlides = Contains(firstLine, "|Slides");
  t.isOfficeHtml = ContainsNoCase(text, "<o:");
  t.isPlainText = ext == ".TXT" || (ext.empty() && Contains(text, "========") && !t.isLog);
  t.isDotPage = t.isRtf && StartsWithNoCase(text, ".PG");
  t.hasBaseTag = !t.isDotPage && ContainsNoCase(text, "<base ");
  // A page saved from the web without a name ending: it is HTML.
  if (ext.empty() && t.notInSite && text.starts_with("<!DOCTYPE")) t.ext = ".HTM";
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

TDocumentType CurrentDocumentType() {
  TDocumentType t;
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

}  // namespace quorrel
