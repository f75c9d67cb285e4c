#include "sitebuild/BuildSource.h"

#include <QDate>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/SlowRead.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/MasterGroups.h"

namespace quorrel {

namespace {

constexpr size_t kStyleCheckLength = 1800;  // shorter pages need no bold or italic
constexpr size_t kClosingBraceReach = 31;
constexpr char kSectionMark[] = ".PG";

bool MenuNoticeShown = false;  // once per program session

void ResetBuildSource() {
  MenuNoticeShown = false;
}
const TResetEntry reset(ResetBuildSource);

// The section key: the ".pg" line round the caret up to its first "|".
std::string SectionKey(size_t caretOffset) {
  const std::string& text = CurrentText;
  size_t at = std::min(caretOffset, text.size());
  for (;;) {
    const size_t lineStart = at == 0 ? 0 : text.find_last_of('\n', at - 1);
    const size_t begin = lineStart == std::string::npos || at == 0 ? 0 : lineStart + 1;
    if (StartsWithNoCase(std::string_view(text).substr(begin), ".pg")) {
      const size_t end = text.find_first_of("\r\n", begin);
      const std::string line = text.substr(begin, end == std::string::npos ? end : end - begin);
      return line.substr(0, line.find('|'));
    }
    if (begin == 0) return "";
    at = begin - 1;
  }
}

bool StartsSection(const std::string& line, const std::string& key) {
  for (size_t at = line.find(key); at != std::string::npos; at = line.find(key, at + 1)) {
    const size_t after = at + key.size();
    if (after == line.size() || line[after] == '|') return true;
  }
  return false;
}

std::string ReadSource(bool oneSection, size_t caretOffset) {
  std::ifstream in(NativePath(CurrentFileName), std::ios::binary);
  if (!in) {
    ShowErrorAndAbort("Cannot read " + CurrentFileName + "\r" + std::strerror(errno));
  }
  const std::string key = oneSection ? SectionKey(caretOffset) : "";
  std::string source, line;
  bool collecting = !oneSection;
  bool started = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (oneSection) {
      if (!collecting && !started && !key.empty() && StartsSection(line, key)) {
        collecting = started = true;
      } else if (collecting && line.size() >= 8) {
        // The command follows the paragraph mark and any layout of its paragraph.
        const size_t command = LayoutEnd(line, 5);
        if (AnsiSameText(line.substr(command, 3), kSectionMark)) break;
      }
    }
    if (collecting) source += line;
  }
  if (in.bad()) ShowErrorAndAbort("Cannot read " + CurrentFileName + "\r" + std::strerror(errno));
  DropRtfEndMark(source);
  return source;
}

// Whether the closing brace at `at` closes no group opened in the text before it.
bool UnmatchedCloseAt(const std::string& text, size_t at) {
  int depth = 0;
  for (size_t k = 0; k < at; ++k) {
    if (text[k] == '\\') {
      ++k;  // an escaped brace is text
    } else if (text[k] == '{') {
      ++depth;
    } else if (text[k] == '}' && depth > 0) {
      --depth;
    }
  }
  return depth == 0;
}

bool EndsWith(const std::string& text, std::string_view end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A paragraph mark with nothing after it; the editor closes its documents with
// "\par }", so there an empty last paragraph shows as a second mark before it.
bool EndsWithEmptyParagraph(const std::string& source) {
  return EndsWith(source, "\\par ") || EndsWith(source, "\\par \\par }");
}

void CheckSource(std::string& source) {
  if (source.empty()) ShowErrorAndAbort("No records selected!");
  if (EndsWithEmptyParagraph(source)) {
    ShowErrorAndAbort("Remove blank line at end of page!");
  }
  if (source.back() != '\n') source += "\r\n\f";
  if (source.size() > kStyleCheckLength && !IsSlides && !ContainsNoCase(source, "\\b0") &&
      !ContainsNoCase(source, "\\i0") && !ContainsNoCase(source, "\\par .no") &&
      !ContainsNoCase(source, ".ta")) {
    ShowErrorAndAbort("No bold or italic text found!");
  }
}

}  // namespace

std::string ReadSiteMenu() {
  const std::string path = ResolveNoCase(CurrentFolder + "Menu.txt");
  if (path.empty()) return "";
  std::ifstream in(NativePath(path), std::ios::binary);
  if (!in) return "";
  std::string menu((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!MenuNoticeShown) {
    MenuNoticeShown = true;
    if (QFileInfo(AnsiToQString(path)).lastModified().date() == QDate::currentDate()) {
      ShowMsg("If you have updated Menu.txt you also need to update the code in EDecrypt.js");
    }
  }
  return ReplaceAll(menu, "\r\n", "\n", true);
}

std::string NormaliseBuildSource(std::string source) {
  source.erase(0, PosNoCaseOrAbort(kSectionMark, source) - 1);
  const size_t reach = std::min(source.size(), kClosingBraceReach);
  const size_t brace = source.rfind('}');
  // Only the document's own closing brace: one section may end in a link's group.
  if (brace != std::string::npos && brace >= source.size() - reach && UnmatchedCloseAt(source, brace)) {
    source.erase(brace);
  }
  source = MultiReplace(source, "\\par | \\b0| \\i0| \\u0", "\r\n|\\b0 |\\i0 |\\u0 ", true);
  source = ReadMasterGroups(source);
  return ReplaceAll(source, "\r\n\r\n\r\n", "\r\n\r\n", true);
}

std::string CollectBuildSource(bool oneSection, size_t caretOffset) {
  std::string source = ReadSource(oneSection, caretOffset);
  CheckSource(source);
  source = NormaliseBuildSource(std::move(source));
  const size_t triple = source.find("\r\n\r\n\r\n");
  if (triple != std::string::npos && MainMenu().Checked("ValSave")) {
    ShowErrorAndAbort("Two consecutive blank lines at offset " + std::to_string(triple + 1) +
                      " from start of page.\r\n\r\n" +
                      Excerpt(source, static_cast<long long>(triple) - 120, 240));
  }
  return source;
}

}  // namespace quorrel
