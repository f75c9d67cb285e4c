#pragma once
// The colouring rules of each kind of document, each giving the runs it paints
// over a text (offsets into the text; sorted, not overlapping). Colours come from
// ColourScheme.
#include <string>
#include <vector>

#include "shell/MyRich.h"

namespace quorrel {

// The copy of a text that a colouring run scans: the text followed by twelve
// blanks, so that looking ahead never runs off its end.
struct TScanText {
  explicit TScanText(const std::string& text)
      : text(text + std::string(12, ' ')), length(text.size()) {}
  std::string text;
  size_t length;  // the text's own length
};

// Every open ... close stretch (any case) in "Comments": CSS and XML comments.
std::vector<TColourRun> CommentRuns(const TScanText& scan, const std::string& open,
                                    const std::string& close, int defaultColour);
// Lines beginning with "[" in "Comments" (settings files).
std::vector<TColourRun> IniRuns(const TScanText& scan, int defaultColour);
// The line after each "========" line in "Comments" (plain text).
std::vector<TColourRun> PlainTextRuns(const TScanText& scan, int defaultColour);
// ".VBA" text: "/*" ... "*/" and "//" comments outside strings in "Comments".
std::vector<TColourRun> VbaRuns(const TScanText& scan, int defaultColour);
// The lines at the given offsets in "Functions", to the line end or, with toParen,
// only when a "(" follows on the line, up to it.
std::vector<TColourRun> SectionLineRuns(const TScanText& scan, const std::vector<size_t>& sections,
                                        bool toParen);
// The ABC tune in [from, to): titles, bar lines, comments, parts and voices.
std::vector<TColourRun> AbcRuns(const TScanText& scan, size_t from, size_t to, int defaultColour);
// Web addresses beginning "www.", "http://" or "https://" in [from, to) in "U".
std::vector<TColourRun> UrlRuns(const TScanText& scan, size_t from, size_t to);

}  // namespace quorrel
