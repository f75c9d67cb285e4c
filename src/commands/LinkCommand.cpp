#include "commands/LinkCommand.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "commands/InsertCommands.h"
#include "commands/MarkupPaths.h"
#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "publish/OpenUnit.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/LinkPick.h"
#include "shell/MyRich.h"
#include "shell/PageTitle.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

constexpr int kLinkHelp = 50660;
// How far before the text an anchor may stand.
constexpr size_t kAnchorReach = 60;
// The folder's files that links lead to; "*.htm" also finds ".html" files.
constexpr char kLinkedFiles[] = "*.htm|*.asp|*.php|*.doc|*.pdf";
constexpr char kEntrySeparator[] = ":  ";
// Larger files are not searched, as in the search of a folder's files.
constexpr uintmax_t kLargestSearched = 10'000'000;

std::string ReadWholeFile(const std::string& path) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(NativePath(path), error);
  if (error || size > kLargestSearched) return "";
  std::ifstream in(NativePath(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string WithoutSmall(const std::string& page) {
  return ReplaceNoCase(ReplaceNoCase(page, "<Small>", ""), "</Small>", "");
}

// The start of the last "name=" or "id=" attribute in page[from, to); npos when none.
size_t LastAnchorIn(const std::string& page, size_t from, size_t to) {
  const std::string_view window = std::string_view(page).substr(from, to - from);
  size_t best = std::string::npos;
  for (const char* attribute : {"name=", "id="}) {
    for (size_t at = PosBackNoCase(attribute, window); at != 0;
         at = at > 1 ? PosBackNoCase(attribute, window, at - 1) : 0) {
      const size_t start = from + at - 1;
      // "grid=" is not "id=".
      if (start > 0 && (IsLetter(page[start - 1]) || IsDigit(page[start - 1]) ||
                        page[start - 1] == '-' || page[start - 1] == '_')) {
        continue;
      }
      if (best == std::string::npos || start > best) best = start;
      break;
    }
  }
  return best;
}

// An entry's caption stays on one line.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  }
  return text;
}

void AddOnce(std::vector<std::string>& entries, std::string entry) {
  if (std::find(entries.begin(), entries.end(), entry) == entries.end()) {
    entries.push_back(std::move(entry));
  }
}

// The value of the "name=" or "id=" that text begins with, "" when it begins with
// neither.
std::string AnchorValue(const std::string& text) {
  const size_t equals = text.find('=');
  if (!StartsWithNoCase(text, "name=") && !StartsWithNoCase(text, "id=")) return "";
  size_t from = equals + 1;
  size_t to;
  if (from < text.size() && (text[from] == '"' || text[from] == '\'')) {
    to = text.find(text[from], from + 1);
    ++from;
  } else {
    to = text.find_first_of(" \t>", from);
  }
  if (to == std::string::npos) to = text.size();
  return text.substr(from, to - from);
}

std::string StemOf(const std::string& file) {
  return file.substr(0, file.size() - ExtractFileExt(file).size());
}

bool IsPageFile(const std::string& path) {
  const std::string ext = UpperCaseAnsi(ExtractFileExt(path));
  return ext == ".HTM" || ext == ".HTML" || ext == ".ASP" || ext == ".ASPX";
}

// Link with nothing selected: a file of the site file list, its title as the text.
void LinkToChosenFile(TMyRich& editor) {
  if (!ShowOpenForm()) return;
  const std::string path = ChosenPath;
  std::string href = SiteRelativePath(path);
  if (href.empty()) href = ExtractFileName(path);
  const std::string title =
      IsPageFile(path) ? GetPageTitle(WithoutSmall(ReadWholeFile(path))) : ExtractFileName(path);
  editor.SetSelText("<A Href=\"" + HrefPath(href) + "\">" + EscapeText(title) + "</A>");
}

}  // namespace

void AddLinkCandidates(const std::string& name, const std::string& page, const std::string& text,
                       std::vector<std::string>& entries) {
  if (text.empty()) return;
  for (size_t at = PosNoCase(text, page); at != 0; at = PosNoCase(text, page, at + 1)) {
    const size_t found = at - 1;
    if (found > 0 && page[found - 1] == '=') continue;
    const size_t anchor =
        LastAnchorIn(page, found > kAnchorReach ? found - kAnchorReach : 0, found);
    if (anchor == std::string::npos) continue;
    size_t end = page.find('<', anchor);
    const size_t nbsp = PosNoCase("&nbsp;", page, anchor + 1);
    if (nbsp != 0 && nbsp - 1 < end) end = nbsp - 1;
    AddOnce(entries, name + kEntrySeparator + OneLine(page.substr(anchor, end - anchor)));
  }
  const std::string title = GetPageTitle(page);
  if (ContainsNoCase(title, text)) AddOnce(entries, name + kEntrySeparator + OneLine(title));
}

std::string LinkOfEntry(const std::string& entry, const std::string& text,
                        const std::string& selfPage) {
  const size_t separator = entry.find(kEntrySeparator);
  const std::string file = entry.substr(0, separator);
  const std::string rest =
      separator == std::string::npos ? "" : entry.substr(separator + sizeof(kEntrySeparator) - 1);
  const std::string value = AnchorValue(rest);
  const std::string anchor = value.empty() ? "" : "#" + HrefPath(value);
  std::string href = HrefPath(file) + anchor;
  if (!selfPage.empty() && !anchor.empty() &&
      UpperCaseAnsi(StemOf(file)) == UpperCaseAnsi(selfPage)) {
    href = anchor;
  }
  return "<A Href=\"" + href + "\">" + text + "</A>";
}

std::string DotPageNameAt(const std::string& text, size_t offset) {
  const std::string_view before = std::string_view(text).substr(0, std::min(offset, text.size()));
  size_t at = PosBackNoCase(".PG", before);
  while (at > 1 && text[at - 2] != '\n' && text[at - 2] != '\r') {
    at = PosBackNoCase(".PG", before, at - 1);
  }
  if (at == 0) return "";
  const size_t from = at - 1 + 3;
  const size_t to = text.find_first_of("|\r\n", from);
  return std::string(TrimBlanks(std::string_view(text).substr(from, to - from)));
}

void LinkClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const std::string text = NarrowSelection(*editor);
  if (text.empty()) {
    LinkToChosenFile(*editor);
    return;
  }
  const std::string ownName = ExtractFileName(CurrentFileName);
  std::vector<std::string> entries;
  if (!IsDotPage) AddLinkCandidates(ownName, editor->GetText(), text, entries);
  if (entries.empty()) {
    for (const std::string& name : ListFiles(CurrentFolder, kLinkedFiles)) {
      if (EndsWithNoCase(name, "bak") || (!IsDotPage && name == ownName)) continue;
      AddLinkCandidates(name, WithoutSmall(ReadWholeFile(CurrentFolder + name)), text, entries);
    }
  }
  if (entries.empty()) {
    ShowMsg("Link text " + text + "\rnot found in " + CurrentFolder);
    return;
  }
  if (entries.size() == 1) {
    ChosenLink = entries.front();
  } else if (!PickLink("Links with " + text, entries, kLinkHelp)) {
    return;
  }
  const std::string selfPage =
      IsDotPage ? DotPageNameAt(editor->GetText(), editor->PosToOffset(editor->SelStart())) : "";
  editor->SetSelText(LinkOfEntry(ChosenLink, text, selfPage));
}

}  // namespace quorrel
