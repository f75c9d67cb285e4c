// Opening a real documentation tree nobody here wrote: every document comes in
// unmodified, and nothing on disk changes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>

#include "commands/OpenDocs.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

struct TFileState {
  uintmax_t size = 0;
  int64_t mtime = 0;
  mode_t mode = 0;
  size_t hash = 0;
  bool operator==(const TFileState&) const = default;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Size, time and mode of every file; the bytes too of the documents opened.
TFileState StateOf(const std::string& path, bool withBytes) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return {static_cast<uintmax_t>(st.st_size), static_cast<int64_t>(st.st_mtime), st.st_mode,
          withBytes ? std::hash<std::string>()(Slurp(path)) : 0};
}

bool ContainsNoCase(const std::string& text, const std::string& part) {
  return std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         }) != text.end();
}

// Documents that ask a question as they open (an offer to convert old word-processor
// text, RTF codes in another type, zero bytes) have tests of their own, and so have
// the pages and style sheets that go through the validator as they open.
bool OpensWithoutQuestions(const std::string& ext, const std::string& bytes) {
  if (bytes.compare(0, 1, ".") == 0 || bytes.compare(0, 5, "{\\rtf") == 0 ||
      bytes.find('\0') != std::string::npos) {
    return false;
  }
  if (ext == ".css") return bytes.find(" {") != std::string::npos;
  if (ext == ".html" || ext == ".htm") {
    return ContainsNoCase(bytes, "\n<head ") || ContainsNoCase(bytes, "\n<head>") ||
           ContainsNoCase(bytes, "\r\n<head ") || ContainsNoCase(bytes, "\r\n<head>");
  }
  return true;
}

TEST(OpenDocTree, EveryDocumentOpensUnmodifiedAndNothingOnDiskChanges) {
  const std::string tree = "/usr/share/doc";
  std::map<std::string, TFileState> before;
  std::vector<std::string> documents;
  for (const auto& entry : fs::recursive_directory_iterator(tree)) {
    if (!entry.is_regular_file() || entry.is_symlink()) continue;
    const std::string path = entry.path().string();
    const std::string ext = entry.path().extension().string();
    const bool text =
        ext == ".html" || ext == ".htm" || ext == ".txt" || ext == ".css" || ext == ".js";
    before[path] = StateOf(path, text);
    if (!text) continue;
    // Names the code page cannot spell are left to the path tests.
    if (NativePath(PathFromNative(path)) != path) continue;
    if (OpensWithoutQuestions(ext, Slurp(path))) documents.push_back(path);
  }
  ASSERT_GT(documents.size(), 200u) << "the documentation of the installed packages";

  test::MemoryMainWindow window;
  SetMainWindow(&window);
  SettingsIni = std::make_unique<TIniFile>(test::TestHome() + "doc-tree.ini");
  window.HideSplash();
  AppPhase = 1;
  size_t opened = 0;
  for (const std::string& path : documents) {
    CurrentFileName = path;
    OpenClick(nullptr);  // one tab, reused through Close for each document
    ASSERT_NE(CurrentEditor, nullptr) << path;
    ASSERT_EQ(CurrentFileName, path);
    EXPECT_FALSE(CurrentEditor->Modified()) << path;
    ++opened;
  }
  EXPECT_EQ(window.TabCount(), 1);
  EXPECT_EQ(opened, documents.size());

  for (const auto& [path, state] : before) {
    EXPECT_EQ(StateOf(path, state.hash != 0), state) << path;
  }
  SetMainWindow(nullptr);
  SettingsIni.reset();
}

}  // namespace
}  // namespace quorrel
