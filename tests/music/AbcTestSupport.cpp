#include "music/AbcTestSupport.h"

#include <gtest/gtest.h>

#include "music/AbcWorkFiles.h"
#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "shell/FastStrings.h"
#include "shell/RunPrograms.h"
#include "shell/ShellState.h"
#include "shell/TextLines.h"
#include "support/MemoryRich.h"

namespace quorrel::test {

namespace {

std::unique_ptr<MemoryRich> editor;

void LoadMessages(const std::string& file) {
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(file, bytes)) << file;
  ReadList = LinesWithoutEnds(Utf8ToAnsi(bytes));
}

}  // namespace

std::string Crlf(const std::string& text) {
  return ReplaceAll(Lf(text), "\n", "\r\n", true);
}

std::string Lf(const std::string& text) {
  return ReplaceAll(text, "\r\n", "\n", true);
}

TMyRich& OpenDocument(const std::string& text, size_t caretOffset, const std::string& path) {
  editor = std::make_unique<MemoryRich>();
  editor->SetText(text);
  editor->Select(editor->OffsetToPos(caretOffset), 0);
  CurrentEditor = editor.get();
  CurrentText = text;
  CurrentFileName = path;
  CurrentExt = UpperCaseAnsi(ExtractFileExt(path));
  return *editor;
}

size_t OffsetOf(const std::string& needle) {
  size_t at = CurrentText.find(needle);
  EXPECT_NE(at, std::string::npos) << needle;
  return at == std::string::npos ? 0 : at;
}

bool Aborts(const std::function<void()>& body) {
  try {
    body();
  } catch (const EAbort&) {
    return true;
  }
  return false;
}

void OpenSettings() {
  MainIni = std::make_unique<TIniFile>(DocumentsFolder() + "Quorrel.Ini");
  SettingsIni = std::make_unique<TIniFile>(DocumentsFolder() + "Quorrel.Ini");
}

void RunAbc2midi(const std::string& prepared) {
  ASSERT_TRUE(WriteTuneFile(TempAbcFile(), prepared, TAbcReader::Abc2midi));
  DeleteWorkFile(TempMidiFile());
  DeleteWorkFile(AbcErrorFile());
  TRunOptions options;
  options.stdoutFile = NativePath(AbcErrorFile());
  ASSERT_TRUE(RunHidden("abc2midi", {NativePath(TempAbcFile()), "-o", NativePath(TempMidiFile())},
                        0, options));
  ToolWaitSeconds = 10;
  WaitForOutputFile(NativePath(TempMidiFile()));
  LoadMessages(AbcErrorFile());
}

void RunAbcm2ps(const std::string& prepared) {
  ASSERT_TRUE(WriteTuneFile(TempAbcFile(), prepared, TAbcReader::Abcm2ps));
  DeleteWorkFile(AbcPsFile());
  DeleteWorkFile(AbcPsErrorFile());
  TRunOptions options;
  options.stderrFile = NativePath(AbcPsErrorFile());
  ASSERT_TRUE(
      RunHidden("abcm2ps", {NativePath(TempAbcFile()), "-O", NativePath(AbcPsFile())}, 0, options));
  ToolWaitSeconds = 10;
  WaitForOutputFile(NativePath(AbcPsFile()));
  LoadMessages(AbcPsErrorFile());
}

std::vector<std::string> ErrorMessages() {
  std::vector<std::string> errors;
  for (const std::string& line : ReadList) {
    // abcm2ps reports a crowded or sparse staff line as an error, but of the layout.
    if (PosNoCase("error", line) > 0 && line.find("Line too much shrunk") == std::string::npos) {
      errors.push_back(line);
    }
  }
  return errors;
}

}  // namespace quorrel::test
