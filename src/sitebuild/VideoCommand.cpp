#include "sitebuild/VideoCommand.h"

#include <string>
#include <vector>

#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "shell/FastStrings.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/DotCommands.h"

namespace quorrel {

namespace {

constexpr char kImagePrefix[] = "Image=";
constexpr char kClassPrefix[] = "Class";
constexpr size_t kClassValueStart = 6;  // after "Class="

// The first mistake of a video address, "" when there is none.
std::string AddressFault(const std::string& address) {
  if (address.find("http://") != std::string::npos) {
    return "Must use https or browser will not display the video!";
  }
  if (!ContainsNoCase(address, "youtube")) return "";
  if (address.find("/watch") != std::string::npos) {
    return "You must use \"embed\" rather than \"watch\".";
  }
  if (address.find("/embed?") != std::string::npos) {
    return "\"embed\" must be followed by \"/\" rather than \"?\".\rYou only need \"?\" if "
           "you're adding \"start=\" followed by a number.";
  }
  if (address.find("?t=") != std::string::npos) {
    return "You need \"start=\" rather than \"t=\" and it mustn't be followed by \"s\" - it's "
           "always seconds.";
  }
  if (address.find("v=") != std::string::npos) return "Remove \"v=\"";
  return "";
}

// Texts go into a script call between apostrophes.
std::string WithoutApostrophes(const std::string& text) {
  return ReplaceAll(text, "'", "&#8217;", true);
}

}  // namespace

void RunVideoCommand(TBuildRun& run) {
  const std::string argument(TrimBlanks(run.CommandText));
  std::vector<std::string> lines;
  std::string line;
  while (ReadTextLine(run, line)) lines.emplace_back(TrimBlanks(line));
  if (lines.size() < 3) {
    ReportBuildError(
        run,
        ".VI needs a link text, then \"Image=\" and a picture or a heading, then the video's "
        "address, on the lines after it.");
  }
  const std::string& linkText = lines[0];
  const bool image = lines[1].compare(0, 6, kImagePrefix) == 0;
  const std::string& address = lines[2];
  std::string comment;
  if (!image) {
    // The heading above the comment lines.
    comment = lines[1];
    for (size_t i = 3; i < lines.size(); ++i) comment += "<P>" + lines[i];
    const std::string ending = linkText + "\rProbably missing .FS to terminate text.";
    if (comment.find("</") != std::string::npos) {
      ReportBuildError(run, "End of tag in .VI text for  " + ending);
    }
    if (comment.size() > kMaxVideoComment)
      ReportBuildError(run, "Too much text in .VI text for  " + ending);
  }
  if (const std::string fault = AddressFault(address); !fault.empty()) {
    ReportBuildError(run, linkText + "\r" + fault);
  }
  std::string classes = image ? "ILink NoPrint" : "VLink NoPrint";
  if (argument.compare(0, 5, kClassPrefix) == 0) {
    classes += " " + argument.substr(std::min(argument.size(), kClassValueStart));
  }
  const std::string number = std::to_string(run.VideoCounter++);
  const std::string shown = WithoutApostrophes(linkText);
  std::string markup;
  if (image) {
    markup = "<Img Class=\"" + classes + "\" Id=Video" + number + " Src=\"images/" +
             lines[1].substr(6) + "\" Alt=\"Click to play video\" OnClick=\"ShowVideo('" + address +
             "', " + number + ", '" + shown + "')\">";
  } else {
    markup = "<Div Class=\"" + classes + "\" Id=Video" + number + " OnClick=\"ShowVideo('" +
             address + "', " + number + ", '" + WithoutApostrophes(comment) + "')\">" + shown +
             "</Div>";
  }
  run.VideoUsed = true;
  EmitText(run, markup);
}

}  // namespace quorrel
