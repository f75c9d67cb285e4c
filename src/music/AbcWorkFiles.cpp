#include "music/AbcWorkFiles.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "shell/ShellState.h"

namespace quorrel {

std::string TempAbcFile() {
  return TempFolder() + TempAbcName;
}
std::string TempMidiFile() {
  return TempFolder() + TempMidiName;
}
std::string AbcErrorFile() {
  return TempFolder() + AbcErrorsName;
}
std::string AbcPsErrorFile() {
  return TempFolder() + AbcPsErrorsName;
}
std::string ToolTextFile() {
  return TempFolder() + ToolTextName;
}
std::string AbcPsFile() {
  return TempFolder() + AbcPsName;
}
std::string AbcPdfFile() {
  return TempFolder() + AbcPdfName;
}
std::string TempWavFile() {
  return TempFolder() + TempWavName;
}
std::string AnalysisFile() {
  return TempFolder() + AnalysisName;
}
std::string PartsAbcFile() {
  return TempFolder() + PartsAbcName;
}

std::string AbcCodesFile() {
  return AbcCodesPath.empty() ? DocumentsFolder() + AbcCodesName : AbcCodesPath;
}

std::string ToolText(const std::string& text, TAbcReader reader) {
  return reader == TAbcReader::Abcm2ps ? AnsiToUtf8(text) : text;
}

bool WriteTuneFile(const std::string& path, const std::string& text, TAbcReader reader) {
  return WriteFileBytes(path, ToolText(text, reader));
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  std::ifstream in(NativePath(path), std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

bool DeleteWorkFile(const std::string& path) {
  std::remove(NativePath(path).c_str());
  return !FileExists(path);
}

}  // namespace quorrel
