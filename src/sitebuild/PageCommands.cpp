#include "sitebuild/PageCommands.h"

#include <filesystem>

#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "publish/ServerPaths.h"
#include "shell/BreakLongUrl.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildReaderSteps.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/SplitArguments.h"

namespace quorrel {

namespace {

constexpr char kIndexPage[] = "index";
constexpr std::string_view kSectionLink = "\\'a7</A>";
constexpr char kPrintArgument[] = "PRINT";

std::string Trimmed(const std::string& text) {
  const size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// The first line of the document, from which the page extension is taken.
std::string FirstDocumentLine(TBuildRun& run) {
  const std::string& text = CurrentText.empty() ? run.RtfSource : CurrentText;
  size_t begin = 0;
  // The collected source starts with the paragraph mark's line end.
  while (begin < text.size() && (text[begin] == '\r' || text[begin] == '\n')) ++begin;
  return text.substr(begin, text.find_first_of("\r\n", begin) - begin);
}

// The document's folder joined with a folder argument ("\" as "/"), normalised,
// with a trailing "/".
std::string OutputFolderFor(const std::string& argument) {
  std::string relative = ReplaceAll(Trimmed(argument), "\\", "/", true);
  std::filesystem::path joined = std::filesystem::path(ExtractFilePath(CurrentFileName));
  if (!relative.empty() && relative != ".") joined /= relative;
  std::string folder = joined.lexically_normal().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string HeadMarkup(TBuildRun& run, const std::string& pageName, const std::string& title) {
  std::string head = "<!DOCTYPE HTML>\n<HTML>\n";
  if (AnsiSameText(pageName, kIndexPage) && !IsSlides) return head;
  head += "<Head>\n  <Title>" + title + "</Title>\n";
  // The command line's own line end follows the pushed text.
  if (!run.SiteMenu.empty()) {
    head += std::string("<Link Rel=\"shortcut icon\" Href=\"") + kShortcutIcon + "\">\n";
    head += "<Meta Name=viewport Content=\"width=device-width, initial-scale=1\">\n";
    head += "<script src=\"edecrypt.js\"></script>\r\n</Head>\n";
  } else if (IsSlides) {
    head += "<Script Src=\"slides.js\"></Script></Head>\r\n.bo\r\n.t1";
  } else {
    head += "</Head>\n";
  }
  return head;
}

[[noreturn]] void TooFewArguments(const std::string& text) {
  AskOkHelpCancel(".PG command has less than 2 arguments:\r" + text, kPageCommandHelp);
  Abort();
}

bool HasMainHeading(std::string_view section) {
  if (PosNoCase("<H1 Id=Content", section) != 0) return true;
  for (size_t at = PosNoCase(".T1", section); at != 0; at = PosNoCase(".T1", section, at + 1)) {
    if (at == 1 || section[at - 2] == '\n') return true;
  }
  return false;
}

}  // namespace

std::string_view RestOfSection(TBuildRun& run) {
  const std::string& source = run.RtfSource;
  const size_t start = std::min(run.SourcePos, source.size());
  const size_t next = PosNoCase("\n.PG", source, start + 1);
  const size_t end = next == 0 ? source.size() : next - 1;
  return std::string_view(source).substr(start, end - start);
}

std::string DocumentPageExt(const std::string& firstLine) {
  if (!StartsWithNoCase(firstLine, ".pg")) return ".htm";
  SplitArguments(firstLine.substr(3));
  const std::string name = Trimmed(SplitFields.front());
  const size_t dot = name.find('.');
  return dot == std::string::npos ? ".htm" : name.substr(dot);
}

void ShowLinkAddresses(std::string& source, size_t start) {
  for (size_t at = PosNoCase(kSectionLink, source, start + 1); at != 0;) {
    const size_t mark = at - 1;
    const size_t tag = source.rfind('<', mark);
    const size_t href = tag == std::string::npos ? 0 : PosNoCase("Href=\"", source, tag + 1);
    std::string shown = "?";
    if (href != 0 && href - 1 < mark) {
      const size_t valueStart = href - 1 + 6;
      const size_t valueEnd = source.find('"', valueStart);
      if (valueEnd != std::string::npos && valueEnd < mark) {
        std::string address = source.substr(valueStart, valueEnd - valueStart);
        if (!address.empty() && address.back() == '/') address.pop_back();
        shown = BreakLongUrl(address);
      }
    }
    source.replace(mark, 4, shown);
    at = PosNoCase(kSectionLink, source, mark + shown.size() + 1);
  }
}

void RunPageCommand(TBuildRun& run) {
  if (run.OpenQuote) ReportBuildError(run, "Missing quote near end.");
  run.RawMode = false;
  const std::string text = run.CommandText;
  const std::string firstLine = FirstDocumentLine(run);
  if (Trimmed(firstLine).empty()) TooFewArguments(text);
  run.PageExt = DocumentPageExt(firstLine);
  SplitArguments(text);
  const std::vector<std::string> fields = SplitFields;
  if (fields.size() < 2) TooFewArguments(text);
  const std::string title = fields[1];
  run.TopMenu = fields.size() >= 3 ? Trimmed(fields[2]) : "";
  run.PrintVersion = false;
  if (fields.size() == 4) {
    if (AnsiSameText(Trimmed(fields[3]), kPrintArgument)) {
      run.PrintVersion = true;
    } else {
      OutputFolder = OutputFolderFor(fields[3]);
    }
  }
  if (run.PageOpen) FlushPage(run);
  run.PossibleErrors.clear();
  const std::string name = Trimmed(fields[0]);
  run.PageName = name.substr(0, name.find('.'));
  // Messages name the page being built, not the section the caret is in.
  CurrentPageName = run.PageName + run.PageExt;
  run.PageTitle = title;
  run.BodySeen = false;
  run.PageOpen = true;
  run.RedOpen = false;
  run.VideoUsed = false;
  run.VideoCounter = 0;
  run.FirstT2Done = false;
  run.T2Anchors = false;
  run.T3Anchors = false;
  run.AllEntries = false;
  run.NoLineImage = false;
  run.BlockMode = kBlockNormal;
  run.ScriptOpener = 0;
  run.QuoteMode = false;
  run.OhTableOpen = false;
  run.OhRowCellPending = false;
  PageBuffer.clear();
  run.LineStartFlag = AnsiSameText(run.PageName, kIndexPage) && !IsSlides;
  ShowLinkAddresses(run.RtfSource, run.SourcePos);
  PushInput(run, HeadMarkup(run, run.PageName, title));
}

void RunBodyCommand(TBuildRun& run) {
  run.BodySeen = true;
  std::string argument = run.CommandText;
  if (!argument.empty() && argument.front() != ' ') argument.insert(0, " ");
  if (run.SiteMenu.empty()) {
    PushInput(run, IsSlides ? "<Body OnResize=\"Size()\">\n" : "<Body" + argument + ">\n");
    return;
  }
  std::string menu = run.SiteMenu;
  if (!run.TopMenu.empty()) {
    const size_t found = menu.find(run.TopMenu);
    if (found == std::string::npos) {
      ReportBuildError(run, "The specified top-level menu (third argument to .PG) is " +
                                run.TopMenu + "\rwhich does not appear in\r" + menu);
    }
    menu.insert(found == 0 ? 0 : found - 1, " Id=ThisMenu");
  }
  if (!HasMainHeading(RestOfSection(run))) ReportBuildError(run, "No .T1 or <H1 Id=Content>");
  PushInput(run, "<Body" + argument +
                     ">\n<A Class=Skip Href=\"#Content\">Skip to main content</A>\n<Div Id=All>\n" +
                     menu + "<Div Id=Main>");
}

}  // namespace quorrel
