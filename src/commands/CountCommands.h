#pragma once
// The Edit menu's counts and reports: Word count, Section count and Section names,
// the pop-up box of an RTF document (F9) and Double-space. Texts are Windows-1252
// bytes.
#include <cstddef>
#include <string>
#include <vector>

namespace quorrel {

inline constexpr char SectionCountHeader[] =
    "Section                                  Words     Total";
inline constexpr char SceneCountHeader[] =
    "Scene                                               Words     Total      Minutes     Total";
inline constexpr char NoFirstSceneMessage[] = "Cannot find first Scene!";
inline constexpr char NoPopUpMessage[] = "No .PU in text";
inline constexpr int NoPopUpHelp = 58150;
// Spoken words a minute of a stage play, and display lines a page.
inline constexpr size_t kWordsPerMinute = 150;
inline constexpr size_t kLinesPerPage = 14;

// The line Word count adds to a plain document: "dd-mmm-yy:  " and the count.
std::string WordCountLine(size_t words, int64_t secondsSinceEpoch);

// One section of the report: its label and the text it holds.
struct TSectionText {
  std::string label;
  std::string text;
};
// The sections of a text by their start offsets (sorted, as SectionLines gives
// them) and labels.
std::vector<TSectionText> SectionTexts(const std::string& text, const std::vector<size_t>& starts,
                                       const std::vector<std::string>& labels);
// The Section count report: header, blank line, and a line per section with its
// words and the running total (a stage-play script: scene numbers and minutes).
std::string SectionCountReport(const std::vector<TSectionText>& sections, bool script);
// The two closing lines of a script's report, from its display lines.
std::string ScriptPagesLines(size_t lines);
// Where the script's scenes begin: the first "Scene:" or else "Scene 1:"; npos when
// neither is there.
size_t FirstScene(const std::string& text);

// The text a ".PU" line begins: from the fifth character after the line feed
// before the first line that begins ".PU" (or from the fifth of the text). False
// when there is no such line.
bool PopUpText(const std::string& text, std::string& popUp);

// RTF source double-spaced, or back to single spacing when it is double-spaced
// already: every "\sl480" removed when there is one, otherwise every "\pard"
// followed by "\sl480".
std::string ToggleDoubleSpacing(const std::string& rtf);

void WordCountClick();
void SectCountClick(bool names);
void PuClick();
void DoubleSpaceClick();

// Registers the commands with their items.
void InstallCountCommands();

}  // namespace quorrel
