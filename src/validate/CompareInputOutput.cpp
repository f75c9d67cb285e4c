// The Debug comparison of a validator's input and output.
#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "platform/Paths.h"
#include "shell/CompareProgram.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

// How much of each text the messages show.
constexpr size_t kEndShown = 16;
constexpr size_t kExcerpt = 70;

std::string Code(char c) {
  return std::to_string(static_cast<unsigned char>(c));
}

void WriteWorkFile(const std::string& path, const std::string& text) {
  std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) ShowErrorAndAbort("Could not write " + path);
}

}  // namespace

void CompareInputOutput(const std::string& input, const std::string& output) {
  if (!MainMenu().Checked("Debug")) return;
  if (output.size() < input.size()) {
    std::string message = "Input is " + std::to_string(input.size()) + " bytes but output is " +
                          std::to_string(output.size()) + " bytes.";
    const std::string inputEnd = RightChars(input, kEndShown);
    const std::string outputEnd = RightChars(output, kEndShown);
    if (inputEnd != outputEnd) {
      message += "\rInput ends: [" + inputEnd + "]\rOutput ends: [" + outputEnd + "]";
    }
    ShowMsg(message);
  }
  const size_t common = std::min(input.size(), output.size());
  size_t at = 0;
  while (at < common && input[at] == output[at]) ++at;
  if (at == common) {
    ShowMsg("No difference!");
    return;
  }
  ShowMsg(">>> INPUT IS Chr(" + Code(input[at]) + ").  OUTPUT IS Chr(" + Code(output[at]) +
          "). <<<\r\rScan " + std::to_string(ValidationPass + 1) +
          ": First difference is at offset " + std::to_string(at + 1) +
          " (at start of this text):\r======= INPUT =======\r" + input.substr(at, kExcerpt) +
          "\r======= OUTPUT ======\r" + output.substr(at, kExcerpt));
  if (!AskYesNo("Compare with ExamDiff?")) return;
  std::string folder;
  try {
    folder = TempFolder();
  } catch (const std::runtime_error& error) {
    ShowErrorAndAbort(error.what());
  }
  WriteWorkFile(folder + "Old.htm", input);
  WriteWorkFile(folder + "New.htm", output);
  RunExamDiff(folder + "Old.htm", folder + "New.htm");
}

}  // namespace quorrel
