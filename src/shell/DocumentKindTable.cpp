// The table of document kinds: a row per kind, in the order in which a document's
// kind is chosen among the kinds it is recognised as. That order is the order in
// which the validators were always tried, so a page that is HTML by its name and
// XML by its first line is checked as HTML and coloured as both.
#include "platform/CodePage.h"
#include "shell/DocumentKinds.h"
#include "shell/FastStrings.h"

namespace quorrel {

namespace {

using K = TDocumentKind;
using V = TValidatorKind;
using C = TColouring;
using S = TSectionRule;

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

bool IncludeWithoutScript(const TRecognition& r) {
  return r.ext == ".INC" && PosNoCase("<%", r.text) == 0;
}
bool AbcCodesFile(const TRecognition& r) {
  return Contains(r.path, "ABCCodes.txt");
}
bool TuneFirstLine(const TRecognition& r) {
  return IsTuneNumberLine(r.firstLine) || r.firstLine.starts_with("%%scale");
}
bool TeiFirstLine(const TRecognition& r) {
  return r.firstLine.starts_with("<!doctype tei2");
}
bool LogFirstLine(const TRecognition& r) {
  return r.firstLine.starts_with("[") && r.ext != ".LOG";
}
bool AbcByNameOrLine(const TRecognition& r) {
  return r.ext == ".ABC" || AbcCodesFile(r) || TuneFirstLine(r);
}
// A page by its DOCTYPE; outside a site a name without an extension is a page
// saved from the web, unless its first line says otherwise.
bool HtmlByText(const TRecognition& r) {
  return r.firstLine.starts_with("<!DOCTYPE") ||
         (r.notInSite && r.ext.empty() && !TeiFirstLine(r) && !AbcByNameOrLine(r) &&
          !LogFirstLine(r)) ||
         (r.onTabChange && r.notInSite && ContainsNoCase(r.text, "<HTML"));
}
bool XmlFirstLine(const TRecognition& r) {
  return r.firstLine.starts_with("<?xml");
}
bool RtfByName(const TRecognition& r) {
  return r.path == "Content" || InBarListNoCase(r.ext, "|.RTF|.LTR|.SCR|") > 0;
}
bool DotCommandMaster(const TRecognition& r) {
  return RtfByName(r) && StartsWithNoCase(r.text, ".PG");
}
bool ContentDocument(const TRecognition& r) {
  return r.path == "Content";
}
bool SlidesFirstLine(const TRecognition& r) {
  return Contains(r.firstLine, "|Slides");
}
bool TextWithRules(const TRecognition& r) {
  return r.ext.empty() && Contains(r.text, "========") && !LogFirstLine(r);
}

constexpr uint32_t kServerPage = FlagServerPage | FlagHtml;
constexpr uint32_t kPageMenus = MenuPageTools | MenuColourWords | MenuOnlineCheck;

// clang-format off
const std::vector<TDocumentKindRow> kRows = {
// kind              name                extensions                             other test            flags                     validator   colouring       sections      as codes      menus                                                         help
  {K::PascalProject, "Pascal project",   "|.DPR|",                              nullptr,              0,                        V::Project, C::None,        S::None,      S::None,      0,                                                            0},
  {K::Pascal,        "Pascal",           "|.PAS|",                              nullptr,              FlagPascal,               V::Pascal,  C::None,        S::None,      S::None,      MenuColourWords,                                              0},
  {K::PascalInclude, "Pascal include",   "",                                    IncludeWithoutScript, 0,                        V::Pascal,  C::None,        S::None,      S::None,      0,                                                            0},
  {K::CSharp,        "C#",               "|.CS|",                               nullptr,              FlagCSharp,               V::Php,     C::Script,      S::CSharp,    S::CSharp,    MenuColourWords,                                              0},
  {K::JavaScript,    "JavaScript",       "|.JS|",                               nullptr,              FlagJs,                   V::Php,     C::Script,      S::Script,    S::Script,    MenuColourWords,                                              0},
  {K::Php,           "PHP",              "|.PHP|",                              nullptr,              FlagPhp | kServerPage,    V::Php,     C::Html,        S::Script,    S::Script,    kPageMenus,                                                   0},
  {K::Css,           "CSS",              "|.CSS|",                              nullptr,              FlagCss,                  V::Css,     C::CssComments, S::Css,       S::Css,       MenuColourWords | MenuOnlineCheck,                            0},
  {K::Vba,           "VBA",              "|.VBA|",                              nullptr,              0,                        V::Asp,     C::Vba,         S::Asp,       S::Asp,       0,                                                            0},
  {K::Asp,           "ASP",              "|.ASP|",                              nullptr,              FlagAsp | kServerPage,    V::Asp,     C::Html,        S::Asp,       S::Asp,       kPageMenus,                                                   0},
  {K::AbcCodes,      "ABC directives",   "",                                    AbcCodesFile,         FlagAbc,                  V::None,    C::Abc,         S::Abc,       S::Abc,       MenuAbc,                                                      55000},
  {K::Abc,           "ABC",              "|.ABC|",                              TuneFirstLine,        FlagAbc,                  V::Abc,     C::Abc,         S::Abc,       S::Abc,       MenuAbc,                                                      55000},
  {K::Html,          "HTML",             "|.HTM|.HTML|.SHTML|.DWT|.LBI|.ASAX|", HtmlByText,           FlagHtml,                 V::Html,    C::Html,        S::Html,      S::Html,      kPageMenus,                                                   0},
  {K::ServerPage,    "server page",      "|.ASPX|.ASCX|",                       nullptr,              kServerPage,              V::Html,    C::Html,        S::Html,      S::Html,      kPageMenus,                                                   0},
  {K::VbScript,      "VBScript",         "|.VBS|",                              nullptr,              FlagHtml,                 V::Html,    C::Html,        S::Html,      S::Html,      kPageMenus,                                                   0},
  {K::Xml,           "XML",              "",                                    XmlFirstLine,         FlagXml,                  V::Xml,     C::XmlComments, S::None,      S::None,      0,                                                            0},
  {K::Tei,           "TEI",              "",                                    TeiFirstLine,         FlagTei,                  V::None,    C::None,        S::None,      S::None,      0,                                                            0},
  {K::DotPage,       "dot-command",      "",                                    DotCommandMaster,     FlagDotPage | FlagRtf,    V::Rtf,     C::None,        S::DotPage,   S::DotPage,   MenuBuild | MenuRtfTools | MenuColourWords | MenuOnlineCheck, 58020},
  {K::Script,        "script",           "|.SCR|",                              nullptr,              FlagScript | FlagRtf,     V::Rtf,     C::None,        S::Play,      S::None,      MenuScript | MenuRtfTools,                                    0},
  {K::ContentDoc,    "content",          "",                                    ContentDocument,      FlagContentDoc | FlagRtf, V::Rtf,     C::None,        S::Plain,     S::None,      MenuRtfTools,                                                 0},
  {K::Rtf,           "RTF",              "|.RTF|.LTR|",                         nullptr,              FlagRtf,                  V::Rtf,     C::None,        S::Plain,     S::None,      MenuRtfTools,                                                 0},
  {K::Log,           "log",              "",                                    LogFirstLine,         FlagLog,                  V::None,    C::None,        S::Bracketed, S::Bracketed, 0,                                                            0},
  {K::PlainText,     "plain text",       "|.TXT|",                              TextWithRules,        FlagPlainText,            V::None,    C::PlainText,   S::Plain,     S::Plain,     0,                                                            0},
  {K::Ini,           "settings file",    "|.INI|",                              nullptr,              0,                        V::None,    C::Ini,         S::None,      S::None,      0,                                                            0},
  {K::Sql,           "SQL",              "|.SQL|",                              nullptr,              0,                        V::None,    C::None,        S::Sql,       S::Sql,       0,                                                            0},
  {K::ListedText,    "listed text",      "|.XXX|",                              nullptr,              0,                        V::None,    C::None,        S::Plain,     S::Plain,     0,                                                            0},
  {K::Slides,        "slides",           "",                                    SlidesFirstLine,      FlagSlides,               V::None,    C::None,        S::None,      S::None,      MenuViewNotes,                                                0},
};
// clang-format on

const TDocumentKindRow kOther = {K::Other, "document", "",      nullptr, 0, V::None,
                                 C::None,  S::None,    S::None, 0,       0};

}  // namespace

const std::vector<TDocumentKindRow>& DocumentKindTable() {
  return kRows;
}

const TDocumentKindRow& KindRow(TDocumentKind kind) {
  for (const TDocumentKindRow& row : kRows) {
    if (row.kind == kind) return row;
  }
  return kOther;
}

}  // namespace quorrel
