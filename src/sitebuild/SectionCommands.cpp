#include "sitebuild/SectionCommands.h"

#include "platform/Chars.h"
#include "shell/FastStrings.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"

namespace quorrel {

std::string CommandArgument(TBuildRun& run) {
  return std::string(TrimBlanks(run.CommandText));
}

void RunSectionCommand(TBuildRun& run) {
  const std::string argument = CommandArgument(run);
  PushInput(run, "<P><Img Src=\"images/Line.gif\" Alt=\"\" Class=Wide><Br><Div Class=Section Id=" +
                     argument.substr(0, argument.find(' ')) + ">" + argument + "</Div>\r\n");
}

void RunRuleCommand(TBuildRun& run) {
  const std::string argument = CommandArgument(run);
  if (!argument.empty()) {
    PushInput(run, "<Div Class=\"Section C\" Id=" + ReplaceChar(argument, ' ', '_') + ">" +
                       argument + "</Div>");
  }
  // Pushed last, so read first: the rule stands above the title.
  PushInput(run, "<Br><Img Src=\"images/HR.png\" Alt=\"\" Class=C><Br>");
}

void RunArchiveListCommand(TBuildRun& run) {
  run.ArchiveList = run.CommandText;
}

void RunDanceTableCommand(TBuildRun& run) {
  ReportBuildError(
      run,
      ".DT builds dance entries from the tune list of one particular site, which this program "
      "does not have. Remove the .DT lines or write the entries as page text.");
}

}  // namespace quorrel
