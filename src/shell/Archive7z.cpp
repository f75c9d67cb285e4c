#include "shell/Archive7z.h"

#include <unistd.h>

#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/RunPrograms.h"
#include "shell/TextFiles.h"

namespace quorrel {

std::string ExtractedMember;

namespace {

constexpr int kArchiverHelp = 21052;
// 7z's report goes to files of its own, so that a member named like one of our
// work files cannot meet it.
constexpr char kListingName[] = "Quorrel7z.txt";
constexpr char kErrorsName[] = "Quorrel7z.err";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  size_t first = text.find_first_not_of("\r\n ");
  return first == std::string::npos ? "" : text.substr(first);
}

void RemoveFile(const std::string& path) {
  ::unlink(NativePath(path).c_str());
}

// Runs 7z to its end; a failure stops the command with what 7z said. The password
// goes in as the line 7z reads when it needs one: in its arguments any user of the
// machine could read it while 7z runs.
void Run7z(const std::vector<std::string>& arguments, const std::string& password,
           const std::string& archive, const std::string& listing, const std::string& errors) {
  TRunOptions options;
  options.stdoutFile = NativePath(listing);
  options.stderrFile = NativePath(errors);
  options.input = AnsiToUtf8(password) + "\n";
  if (!RunHidden("7z", arguments, kArchiverHelp, options)) Abort();
  const int code = WaitForLastProgram();
  if (code == 0) return;
  std::string said;
  FileBytes(errors, said);
  said = Trimmed(Utf8ToAnsi(said));
  RemoveFile(listing);
  RemoveFile(errors);
  if (PosNoCase("Wrong password", said) > 0) ShowErrorAndAbort("Wrong password for\r" + archive);
  ShowErrorAndAbort("7z could not read\r" + archive + (said.empty() ? "" : "\r" + said));
}

}  // namespace

std::string FirstArchiveMember(const std::string& listing) {
  const std::vector<std::string> lines = Lines(listing);
  size_t i = 0;
  while (i < lines.size() && lines[i] != "----------") ++i;
  std::string path;
  bool folder = false;
  bool inEntry = false;
  for (++i; i <= lines.size(); ++i) {
    const std::string line = i < lines.size() ? lines[i] : "";
    if (line.empty()) {
      if (inEntry && !folder && !path.empty()) return path;
      path.clear();
      folder = false;
      inEntry = false;
      continue;
    }
    inEntry = true;
    if (line.starts_with("Path = ")) {
      path = line.substr(7);
    } else if (line == "Folder = +") {
      folder = true;
    } else if (line.starts_with("Attributes = ") && line.size() > 13 && line[13] == 'D') {
      folder = true;
    }
  }
  return "";
}

std::string ExtractFirstMember(const std::string& archive) {
  std::string password;
  if (!UserDialogs().InputQuery("Quorrel", "Enter password", password, true)) Abort();
  const std::string temp = TempFolder();
  const std::string listing = temp + kListingName;
  const std::string errors = temp + kErrorsName;
  RemoveFile(listing);
  RemoveFile(errors);
  const std::string archiveName = NativePath(archive);

  Run7z({"l", "-slt", "--", archiveName}, password, archive, listing, errors);
  WaitForOutputFile(NativePath(listing));
  std::string listed;
  FileBytes(listing, listed);
  const std::string member = FirstArchiveMember(listed);
  if (member.empty()) {
    RemoveFile(listing);
    RemoveFile(errors);
    ShowErrorAndAbort(archive + "\rholds no file to open.");
  }

  // "e" puts the member straight into the folder, without the archive's folders;
  // -spd takes its name as it is, wildcard characters and all.
  const std::string extracted = temp + Utf8ToAnsi(member.substr(member.rfind('/') + 1));
  RemoveFile(extracted);
  Run7z({"e", "-y", "-spd", "-o" + NativePath(temp), "--", archiveName, member}, password, archive,
        listing, errors);
  ToolWaitSeconds = ToolWaitQuiet;
  WaitForOutputFile(NativePath(extracted));
  RemoveFile(listing);
  RemoveFile(errors);
  ExtractedMember = extracted;
  return extracted;
}

void ResetArchive7z() {
  ExtractedMember.clear();
}

namespace {
const TResetEntry resetArchive7z(ResetArchive7z);
}  // namespace

}  // namespace quorrel
