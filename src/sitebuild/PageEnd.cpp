#include "sitebuild/PageEnd.h"

#include <fstream>

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "publish/ServerPaths.h"
#include "shell/CommandNames.h"
#include "shell/CompareProgram.h"
#include "shell/DBoxUnit.h"
#include "shell/Hooks.h"
#include "shell/MenuModel.h"
#include "shell/ProgUnit.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "sitebuild/Archiver.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildReaderSteps.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/PageWrite.h"
#include "sitebuild/SlideShow.h"

namespace quorrel {

namespace {

constexpr char kIndexPage[] = "index";

constexpr char kVideoPopup[] =
    "<Div Id=Hider></Div><Div Id=VideoDiv><Div Style=\"Display: Table; Width: 100%\"><Div "
    "Id=Close OnClick=\"ClosePopup()\">Close &nbsp;<Img Src=\"images/Close.png\" Alt=\"Close "
    "video\"></Div><Div Id=VHeading></Div></Div><IFrame Id=Video Width=800 Height=450 "
    "Allowfullscreen></IFrame><Div OnClick=\"NoPicture()\">Click here if there's no "
    "picture.</Div><HR><Div Id=VComment Style=\"Margin-top: 3px; Width: 800px\"></Div>\r\n</Div>";

void CheckPageEnd(TBuildRun& run) {
  if (run.OpenQuote) ReportBuildError(run, "Missing quote near end.");
  if ((run.BlockMode != kBlockNormal && run.BlockMode != kBlockScript) || run.OhTableOpen) {
    ReportBuildError(run, "Not in .fs mode at end of page " + run.PageName);
  }
  if (!run.BodySeen) ReportBuildError(run, "No .BO marker");
  if (run.RedOpen) {
    ReportBuildError(
        run, "\\cf1 has no corresponding \\cf0 - Press [F2] to check your raw HTML.\rSection " +
                 run.PageName);
  }
}

void SaveForCompare(const std::string& name, const std::string& text) {
  std::ofstream out(NativePath(TempFolder() + name), std::ios::binary | std::ios::trunc);
  out << text;
}

void WritePage(TBuildRun& run, const std::string& fileName) {
  const std::string page = WithLfLineEnds(PageBuffer);
  TPageWriteResult result = WritePageIfChanged(OutputFolder, fileName, page);
  if (result.outcome == TPageWrite::Failed) ReportBuildError(run, result.error);
  if (result.hadOld && MainMenu().Checked("Debug")) {
    SaveForCompare("Old.htm", result.oldText);
    SaveForCompare("New.htm", page);
    RunExamDiff(TempFolder() + "Old.htm", TempFolder() + "New.htm");
  }
}

void ShowPossibleErrors(TBuildRun& run) {
  if (run.PossibleErrors.empty()) return;
  // Shown for reading, never sent to the printer.
  TProgress box("Possible errors", 0, false, true);
  box.SetWidth(kPossibleErrorsWidth);
  box.Add(run.PossibleErrors);
  run.PossibleErrors.clear();
  box.Destroy();
}

// Every page is checked as an HTML page of a master, whatever a box shown earlier
// in the run let happen meanwhile (an event, a command) to the current command or
// the document's flags.
void ValidateBuiltPage() {
  struct TRestore {
    std::string command = CurrentCommand;
    bool dotPage = IsDotPage;
    ~TRestore() {
      CurrentCommand = command;
      IsDotPage = dotPage;
    }
  } restore;
  CurrentCommand = BuildAllCommand;
  IsDotPage = true;
  ValidateDocumentHook("");
}

}  // namespace

std::string EncodeTitle(const std::string& title) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : title) {
    const auto byte = static_cast<unsigned char>(ch);
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                       (byte >= '0' && byte <= '9') || ch == '-' || ch == '_' || ch == '.' ||
                       ch == '~';
    if (plain) {
      out += ch;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

std::string ClosingMarkup(TBuildRun& run) {
  const bool index = AnsiSameText(run.PageName, kIndexPage);
  std::string end;
  if (run.BlockMode == kBlockScript) {
    // A script or style block left open at the page end is closed by its own tag.
    if (!PageBuffer.empty() && PageBuffer.back() == '\\') PageBuffer.back() = '}';
    end += run.ScriptOpener == 'Y' ? "\n</Style>" : "\n</Script>";
  }
  if (run.OhTableOpen) end += "\n</Table>";
  if (!run.SiteMenu.empty()) {
    if (PageBuffer.size() > kShortIndexPage || !index) {
      end += "\n<div Id=Feedback>";
      if (!index) {
        end += "<a href=\"feedback.asp?Page=" + run.PageName +
               "&amp;Title=" + EncodeTitle(run.PageTitle) +
               "\"><img src=\"images/Feedback.png\" alt=\"\" title=\"\"></a>";
      }
      end +=
          "\n<Div Id=Up></Div>\n<Script>\nGetDate()\n</Script>\n</Div>\n</Div>\n</Div>\n"
          "</Body>\n</HTML>";
    } else {
      end += "\n</Div>\n</Div>\n</Body>\n</HTML>";
    }
    return end;
  }
  if (IsSlides) {
    const std::string& document = CurrentText.empty() ? run.RtfSource : CurrentText;
    return end + SlideShowEnd(SlidesOf(document), run.PageName, run.PageExt);
  }
  return end + "\n</Body>\n</HTML>";
}

void FlushPage(TBuildRun& run) {
  if (!run.PageOpen) return;
  if (MainMenu().Checked("ValSave")) CheckPageEnd(run);
  if (run.VideoUsed) EmitText(run, kVideoPopup);
  EmitText(run, ClosingMarkup(run));
  run.PageOpen = false;
  const std::string fileName = run.PageName + run.PageExt;
  ShowStatus(fileName);
  // The HTML validator checks the page buffer of a master; an invalid page stops here.
  if (CurrentEditor) ValidateBuiltPage();
  WritePage(run, fileName);
  run.VideoUsed = false;
  ShowPossibleErrors(run);
}

void EndBuildRun(TBuildRun& run) {
  if (!run.BuildRunning) return;
  run.BuildRunning = false;
  run.QuoteMode = false;
  // One section is not the site: its archive would miss the other pages.
  if (!run.ArchiveList.empty() && !run.OneSection) StartArchiver(run.ArchiveList, OutputFolder);
}

}  // namespace quorrel
