#include "sitebuild/SectionCommands.h"

#include "platform/Chars.h"
#include "shell/FastStrings.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"

namespace quorrel {

std::string CommandArgument() {
  return std::string(TrimBlanks(BuildRun.CommandText));
}

void RunSectionCommand() {
  const std::string argument = CommandArgument();
  PushInput("<P><Img Src=\"images/Line.gif\" Alt=\"\" Class=Wide><Br><Div Class=Section Id=" +
            argument.substr(0, argument.find(' ')) + ">" + argument + "</Div>\r\n");
}

void RunRuleCommand() {
  const std::string argument = CommandArgument();
  if (!argument.empty()) {
    PushInput("<Div Class=\"Section C\" Id=" + ReplaceChar(argument, ' ', '_') + ">" + argument +
              "</Div>");
  }
  // Pushed last, so read first: the rule stands above the title.
  PushInput("<Br><Img Src=\"images/HR.png\" Alt=\"\" Class=C><Br>");
}

void RunArchiveListCommand() {
  BuildRun.ArchiveList = BuildRun.CommandText;
}

void RunDanceTableCommand() {
  ReportBuildError(
      ".DT builds dance entries from the tune list of one particular site, which this program "
      "does not have. Remove the .DT lines or write the entries as page text.");
}

}  // namespace quorrel
