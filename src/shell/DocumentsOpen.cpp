#include "shell/DocumentsOpen.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/ClassifyDocument.h"
#include "shell/Closing.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/SaveText.h"
#include "shell/ShellState.h"
#include "shell/SlowRead.h"
#include "shell/TextFiles.h"

namespace quorrel {

namespace {

int64_t FileTimeOf(const std::string& path) {
  struct stat st;
  return stat(NativePath(path).c_str(), &st) == 0 ? static_cast<int64_t>(st.st_mtime) : 0;
}

// The position after "path|" in the first entry of a section that begins so.
bool PositionIn(const std::string& section, int firstKey, int lastKey, const std::string& path,
                size_t* position) {
  const std::string prefix = path + "|";
  for (int key = firstKey; key <= lastKey; ++key) {
    std::string entry = SettingsIni->ReadString(section, std::to_string(key), "");
    if (entry.compare(0, prefix.size(), prefix) != 0) continue;
    try {
      *position = std::stoul(entry.substr(prefix.size()));
    } catch (const std::exception&) {
      *position = 0;
    }
    return true;
  }
  return false;
}

}  // namespace

size_t StoredCaretPosition(const std::string& path) {
  size_t position = 0;
  if (!SettingsIni) return 0;
  if (!PositionIn("Files", 1, MaxTabs, path, &position))
    PositionIn(ClosedSection, NewestClosedKey, OldestClosedKey, path, &position);
  return position;
}

void LoadIntoEditor(TMyRich& editor, const std::string& path, int slot) {
  std::ifstream in(NativePath(path), std::ios::binary);
  if (!in) ShowErrorAndAbort("File not found:\r" + path);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  editor.SetPlainText(true);
  editor.SetLfOnlyFile(HasLfOnlyLineEnds(bytes));
  size_t zeros = 0;
  const TDocumentType type = ClassifyText(path, "", "", false, TempFolder());
  if (type.isRtf) DropRtfEndMark(bytes);
  if (OffersSlowRead(path, type, HoldsZeroByte(bytes), false) &&
      AskYesNoHelp(SlowReadQuestion, SlowReadHelp)) {
    editor.SetText(SlowReadText(bytes, &zeros));
  } else {
    editor.SetText(bytes);
  }
  if (zeros > 0) ShowMsg("X'00' byte(s) in input file.\r\rDO NOT SAVE!");
  editor.Select(StoredCaretPosition(path), 0);
  editor.SetModified(false);
  if (TDocument* document = DocumentAt(slot)) document->FileAge = FileTimeOf(path);
  if (&editor == CurrentEditor) DocModified = true;
}

}  // namespace quorrel
