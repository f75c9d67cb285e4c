#pragma once
// The kinds of document the editor knows, and one table with a row per kind: how
// the kind is recognised, which validator checks it, how it is coloured, which
// rule finds its sections, which menus it brings and its help topic. Adding a
// kind is adding its enum value and its row (DocumentKindTable.cpp).
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

namespace quorrel {

enum class TDocumentKind {
  Other,  // none of the rows below: no validator, no colouring of its own
  PascalProject,
  Pascal,
  PascalInclude,  // ".INC" without server script
  CSharp,
  JavaScript,
  Php,
  Css,
  Vba,
  Asp,
  AbcCodes,  // the music tools' directives file: ABC in name only
  Abc,
  Html,
  ServerPage,  // ".ASPX", ".ASCX"
  VbScript,
  Xml,
  Tei,
  DotPage,  // an RTF master of dot commands that builds pages
  Script,   // a stage-play script
  ContentDoc,
  Rtf,
  Slides,
  Log,
  PlainText,
  Ini,
  Sql,
  ListedText,  // ".XXX": sections as in plain text
  Count
};
inline constexpr size_t DocumentKindCount = static_cast<size_t>(TDocumentKind::Count);

// The kinds whose recognition holds for one document: a page may be HTML by its
// name and XML by its first line.
using TKindSet = std::bitset<DocumentKindCount>;

// Which validator checks a kind.
enum class TValidatorKind { None, Project, Pascal, Php, Css, Asp, Abc, Html, Xml, Rtf };

// The colouring a kind adds to the editor's text; a document gets the colouring of
// every kind it is recognised as.
enum class TColouring {
  None,
  Abc,          // the tune at the caret
  Script,       // section lines of C# and JavaScript
  Vba,          // section lines and VBA comments
  PlainText,    // underlined headings
  CssComments,  // unless CSS colouring is left to the page
  Ini,
  XmlComments,
  Html,  // tags, server scripts, PHP names
};

// The rule that finds a kind's sections. The values stand in the order in which
// they win when a document is recognised as several kinds.
enum class TSectionRule {
  None,
  DotPage,
  CSharp,
  Script,  // JavaScript and PHP
  Abc,
  Asp,  // and ".VBA"
  Html,
  Play,  // a stage-play script shown formatted
  Bracketed,
  Plain,  // plain text, formatted RTF, ".XXX"
  Sql,
  Css,
};

// The flags a kind sets (IsHtml ... in ShellState.h).
enum TKindFlag : uint32_t {
  FlagHtml = 1u << 0,
  FlagServerPage = 1u << 1,
  FlagPhp = 1u << 2,
  FlagAsp = 1u << 3,
  FlagCss = 1u << 4,
  FlagJs = 1u << 5,
  FlagCSharp = 1u << 6,
  FlagPascal = 1u << 7,
  FlagXml = 1u << 8,
  FlagTei = 1u << 9,
  FlagRtf = 1u << 10,
  FlagAbc = 1u << 11,
  FlagLog = 1u << 12,
  FlagScript = 1u << 13,
  FlagContentDoc = 1u << 14,
  FlagDotPage = 1u << 15,
  FlagSlides = 1u << 16,
  FlagPlainText = 1u << 17,
};

// The menus a kind shows or enables.
enum TKindMenu : uint32_t {
  MenuAbc = 1u << 0,          // the ABC menu
  MenuScript = 1u << 1,       // the Script menu
  MenuBuild = 1u << 2,        // "Build Web pages" and "Build this page"
  MenuViewNotes = 1u << 3,    // the speaker's notes of slides
  MenuPageTools = 1u << 4,    // the Web menu's tools for pages of a site
  MenuRtfTools = 1u << 5,     // alignment, colours, styles and fonts of formatted text
  MenuColourWords = 1u << 6,  // "Colour": a colour word or value at the caret
  MenuOnlineCheck = 1u << 7,  // the on-line validators
};

// What recognition looks at: the name, its upper-cased extension, the first line,
// the text, and whether the document lies outside any site.
struct TRecognition {
  const std::string& path;
  const std::string& ext;
  const std::string& firstLine;
  const std::string& text;
  bool notInSite;
  bool onTabChange;
};

struct TDocumentKindRow {
  TDocumentKind kind;
  const char* name;                          // how messages name the kind
  const char* extensions;                    // "|.PHP|": recognised by these alone; "" for none
  bool (*recognise)(const TRecognition& r);  // other tests; nullptr for none
  uint32_t flags;                            // TKindFlag bits
  TValidatorKind validator;
  TColouring colouring;
  TSectionRule sections;     // as shown formatted
  TSectionRule rawSections;  // an RTF kind shown as its codes
  uint32_t menus;            // TKindMenu bits
  int helpTopic;             // 0: none of its own
};

// The rows, one per kind but Other, in the order in which a document's kind is
// chosen among the kinds it is recognised as.
const std::vector<TDocumentKindRow>& DocumentKindTable();
const TDocumentKindRow& KindRow(TDocumentKind kind);

// Every kind whose recognition holds; Other when none does.
TKindSet RecogniseKinds(const TRecognition& r);
// The document's kind: the first row of the table among the kinds recognised.
TDocumentKind MainKind(const TKindSet& kinds);

// The flags of a set of kinds.
uint32_t FlagsOfKinds(const TKindSet& kinds);
// Whether any of the kinds colours this way, shows this menu.
bool KindsColour(const TKindSet& kinds, TColouring colouring);
bool KindsShowMenu(const TKindSet& kinds, TKindMenu menu);
// The sections rule that wins among the kinds (raw: an RTF document shown as its codes).
TSectionRule SectionRuleOfKinds(const TKindSet& kinds, bool raw);

// Helpers of the recognition, shared with ClassifyText.
// "X:" and a tune number, as the first line of an ABC file has it.
bool IsTuneNumberLine(const std::string& line);

}  // namespace quorrel
