#include "sitebuild/LinkBlock.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/Abort.h"
#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "platform/Help.h"
#include "platform/Paths.h"
#include "platform/RtfModel.h"
#include "platform/RtfParse.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/Hooks.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/Headings.h"
#include "sitebuild/LinkTextWidth.h"
#include "sitebuild/PageCommands.h"
#include "sitebuild/PageWrite.h"
#include "sitebuild/SplitArguments.h"

namespace quorrel {

namespace {

// Leading small words, shown small and sorted by the word after them.
constexpr std::string_view kSmallWords[] = {"A ", "The ", "La ", "Le ", "An ", "Die "};
constexpr size_t kMarkerExcerpt = 134;
// Page titles longer than this are cut at their next comma.
constexpr size_t kLongTitle = 40;
constexpr char kShortened[] = "... ";
constexpr char kHiddenAnchor[] = "Hide";

struct TLine {
  std::string text;
  size_t offset;  // 1-based position of the line in its text
};

std::vector<TLine> LinesOf(std::string_view text) {
  std::vector<TLine> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back({line, start + 1});
    start = end + 1;
  }
  return lines;
}

// The command's argument text after its two letters and one blank.
std::string AfterCommand(const std::string& line) {
  std::string text = line.substr(std::min<size_t>(3, line.size()));
  if (!text.empty() && text[0] == ' ') text.erase(0, 1);
  return text;
}

std::string_view SmallWordOf(std::string_view text) {
  for (std::string_view word : kSmallWords) {
    if (text.substr(0, word.size()) == word) return word;
  }
  return {};
}

struct TEntry {
  std::string key;  // sorted by
  std::string link;
};

void SortEntries(std::vector<TEntry>& entries) {
  std::stable_sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) {
    return UpperCaseAnsi(a.key) < UpperCaseAnsi(b.key);
  });
}

std::string Links(std::vector<TEntry> entries, bool sorted) {
  if (sorted) SortEntries(entries);
  std::string links;
  for (const TEntry& entry : entries) links += entry.link;
  return links;
}

// "Links to dances on other pages" from the section's .DX lines.
std::string OtherPagesPart(TBuildRun& run, const std::vector<TLine>& section) {
  std::string links;
  for (const TLine& line : section) {
    if (!StartsWithNoCase(line.text, ".DX")) continue;
    const std::string text = AfterCommand(line.text);
    if (text.find('|') == std::string::npos) {
      ReportBuildError(run, "You must separate elements by \"|\":\r" + line.text);
    }
    SplitArguments(text);
    const std::vector<std::string> fields = SplitFields;
    if (fields.size() % 2 != 0) ReportBuildError(run, "Odd number of elements in\r" + line.text);
    for (size_t i = 0; i + 1 < fields.size(); i += 2) {
      links += "<A Href=\"" + std::string(TrimBlanks(fields[i])) + "\">" +
               std::string(TrimBlanks(fields[i + 1])) + "</A>";
    }
  }
  if (links.empty()) return "";
  return "<P><B>Links to dances on other pages</B><P><Div Class=XBlock>" + links +
         "</Div><Br Class=Clear>";
}

// The marker commands the options ask for; by default the first of .T2 and .DT.
std::vector<std::string> MarkersAsked(const std::string& options,
                                      const std::vector<TLine>& section) {
  std::vector<std::string> markers;
  if (options.find('2') != std::string::npos) markers.push_back(".T2");
  if (options.find('3') != std::string::npos) markers.push_back(".T3");
  if (options.find('D') != std::string::npos) markers.push_back(".DT");
  if (!markers.empty()) return markers;
  for (const TLine& line : section) {
    for (const char* marker : {".T2", ".DT"}) {
      if (StartsWithNoCase(line.text, marker)) return {marker};
    }
  }
  return {".T2"};
}

std::string SectionLinks(TBuildRun& run, const std::string& options,
                         const std::vector<TLine>& section, size_t sectionStart) {
  const bool all = options.find('A') != std::string::npos;
  const std::vector<std::string> markers = MarkersAsked(options, section);
  std::vector<TEntry> entries;
  std::string names;
  bool found = false;
  for (const TLine& line : section) {
    std::string marker;
    for (const std::string& m : markers) {
      if (StartsWithNoCase(line.text, m)) marker = m;
    }
    if (marker.empty()) continue;
    found = true;
    if (AnsiSameText(marker, ".T2")) run.T2Anchors = true;
    if (AnsiSameText(marker, ".T3")) run.T3Anchors = true;
    if (AnsiSameText(marker, ".DT")) run.NoLineImage = true;
    std::string text = AfterCommand(line.text);
    if (TrimBlanks(text).empty()) {
      // The marker's 1-based offset in the source, and the text before it.
      const long long at = static_cast<long long>(sectionStart + line.offset - 1);
      ReportBuildError(run,
                       "No text in marker at offset " + std::to_string(at) + " following:\r" +
                           Excerpt(run.RtfSource, at - 1 - static_cast<long long>(kMarkerExcerpt),
                                   kMarkerExcerpt));
    }
    if (static_cast<unsigned char>(text[0]) <= ' ')
      ReportBuildError(run, text + " starts with a space.");
    text = ReplaceAll(text, "\\'e9", "&eacute;", true);
    if (text[0] == '!') {
      if (!all) continue;
      text.erase(0, 1);
    }
    const size_t bar = text.find('|');
    const std::string shown = text.substr(0, bar);
    std::string anchor = bar == std::string::npos ? AnchorFromText(shown) : text.substr(bar + 1);
    anchor = anchor.substr(0, anchor.find_first_of("|:"));
    if (!all && anchor == kHiddenAnchor) continue;
    std::string link;
    if (!anchor.empty() && anchor[0] == '*') {
      anchor.erase(0, 1);
      link = "<Br Class=Clear><HR><P>";
    }
    link += "<A Href=\"#" + anchor + "\">" + ShownLinkText(shown) + "</A>";
    const std::string_view small = SmallWordOf(shown);
    const std::string key =
        small.empty() ? shown : shown.substr(small.size()) + ", " + std::string(small);
    entries.push_back({key, link});
    names += shown + "\r\n";
  }
  if (!found) {
    AskOkHelpCancel("Page does not contain any markers required by .BB" + options, kLinkBlockHelp);
    Abort();
  }
  run.AllEntries = all;
  if (all && AskYesNo("Show list of names?")) {
    OpenBySenderHook("NewTXT");
    if (CurrentEditor) CurrentEditor->SetText(names);
    Abort();
  }
  return Links(entries, options.find('U') == std::string::npos);
}

// The text of a master as lines: an RTF file through its words.
std::string MasterText(TBuildRun& run, const std::string& argument) {
  const std::string path = MasterFolderFile(argument);
  std::string text;
  if (!ReadOldPage(path, text)) ReportBuildError(run, "Cannot read " + path);
  if (text.compare(0, 5, "{\\rtf") == 0) return RtfPlainText(ParseRtf(text));
  return text;
}

// A link to every page of a master, with the text of the page's main heading.
void AddPageLinks(TBuildRun& run, const std::string& text, std::vector<TEntry>& entries) {
  const std::vector<TLine> lines = LinesOf(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!StartsWithNoCase(lines[i].text, ".PG")) continue;
    const std::string arguments = AfterCommand(lines[i].text);
    if (!arguments.empty() && arguments[0] == ' ') {
      ReportBuildError(run, arguments + " starts with a space.");
    }
    const std::string name = arguments.substr(0, arguments.find('|'));
    const std::string page = name.substr(0, name.find('.'));
    std::string title;
    bool found = false;
    // Only the page's own section: the next page's heading is not this page's.
    for (size_t j = i + 1; j < lines.size() && !StartsWithNoCase(lines[j].text, ".PG"); ++j) {
      if (!StartsWithNoCase(lines[j].text, ".T1")) continue;
      const std::string heading = AfterCommand(lines[j].text);
      title = std::string(TrimBlanks(heading.substr(0, heading.find('|'))));
      found = true;
      break;
    }
    if (!found) {
      AskOkHelpCancel(".T1 not found after offset " + std::to_string(lines[i].offset),
                      kMissingMainHeadingHelp);
      Abort();
    }
    if (title.empty()) {
      ReportBuildError(run, page + "\r.T1 must have a value when referred to by .BB command.");
    }
    if (title.size() > kLongTitle) title = title.substr(0, title.find(',', kLongTitle));
    entries.push_back({title, "<A Href=\"" + page + ".htm\">" + title + "</A>"});
  }
}

std::string PageLinks(TBuildRun& run, const std::string& options,
                      const std::vector<std::string>& files) {
  std::vector<TEntry> entries;
  AddPageLinks(run, CurrentText.empty() ? run.RtfSource : CurrentText, entries);
  for (const std::string& file : files) AddPageLinks(run, MasterText(run, file), entries);
  return Links(entries, options.find('U') == std::string::npos);
}

}  // namespace

std::string MasterFolderFile(const std::string& argument) {
  const std::string joined =
      std::filesystem::path(CurrentFolder +
                            ReplaceChar(std::string(TrimBlanks(argument)), '\\', '/'))
          .lexically_normal()
          .string();
  const std::string found = ResolveNoCase(joined);
  return found.empty() ? joined : found;
}

std::string ShownLinkText(const std::string& text) {
  std::string start = text;
  std::string whole;
  if (LinkTextWidth(text) > kMaxLinkTextWidth) {
    size_t length = text.size();
    while (length > 0 && LinkTextWidth(text.substr(0, length) + kShortened) > kMaxLinkTextWidth) {
      --length;
    }
    start = text.substr(0, length);
    whole = "&hellip;<TT>" + text + "</TT>";
  }
  const std::string_view small = SmallWordOf(start);
  if (!small.empty()) {
    start = "<Small>" + std::string(small) + "</Small>" + start.substr(small.size());
  }
  return start + whole;
}

void RunLinkBlockCommand(TBuildRun& run) {
  SplitArguments(run.CommandText);
  const std::vector<std::string> arguments = SplitFields;
  const std::string options(TrimBlanks(arguments[0]));
  if (options == "?") {
    ShowHelpContext(kLinkBlockHelp);
    Abort();
  }
  const std::string_view rest = RestOfSection(run);
  const size_t sectionStart = std::min(run.SourcePos, run.RtfSource.size()) + 1;
  const std::vector<TLine> section = LinesOf(rest);
  std::string block = options == "D" ? "" : OtherPagesPart(run, section);
  if (options.find('*') == std::string::npos) {
    block += "<Div Class=BBlock>" + SectionLinks(run, options, section, sectionStart);
  } else {
    block +=
        "<Div Class=XBlock>" +
        PageLinks(run, options, std::vector<std::string>(arguments.begin() + 1, arguments.end()));
  }
  PushInput(run, block + "</Div>");
}

void RunOtherPagesCommand(TBuildRun& run) {
  const std::string text = run.CommandText;
  if (ContainsNoCase(text, "</A>")) ReportBuildError(run, ".dx cannot contain </A>\r" + text);
  SplitArguments(text);
  const std::vector<std::string> fields = SplitFields;
  if (fields.size() % 2 != 0) ReportBuildError(run, "Odd number of elements in\r.DX" + text);
  std::string links = "<P>";
  for (size_t i = 0; i + 1 < fields.size(); i += 2) {
    links += "<A Class=Other Href=\"" + std::string(TrimBlanks(fields[i])) + "\">" +
             std::string(TrimBlanks(fields[i + 1])) + "</A>&nbsp;&nbsp;";
  }
  PushInput(run, links);
}

}  // namespace quorrel
