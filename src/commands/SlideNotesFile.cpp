#include "commands/SlideNotesFile.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

#include "commands/OpenDocs.h"
#include "platform/Paths.h"
#include "platform/RtfCompose.h"
#include "platform/RtfParse.h"
#include "shell/Backups.h"
#include "shell/DBoxUnit.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "sitebuild/MasterHousekeeping.h"

namespace quorrel {

namespace {

bool ReadBytes(const std::string& path, std::string& bytes) {
  std::ifstream in(NativePath(path), std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

}  // namespace

std::string NormalisedRtf(const std::string& rtf) {
  const std::string work = TempFolder() + "Quorrel.rtf";
  if (ReplaceFile(work, rtf, false) != TReplaceResult::Replaced) {
    ShowErrorAndAbort("Unable to create file " + work);
  }
  std::string loaded;
  const bool read = ReadBytes(work, loaded);
  std::remove(NativePath(work).c_str());
  if (!read) ShowErrorAndAbort("Unable to read file " + work);
  TMainWindow* w = MainWindow();
  std::unique_ptr<TMyRich> hidden = w ? w->NewHiddenEditor() : nullptr;
  // Without a window the control's own reader and writer do the same round trip.
  if (!hidden) return ComposeRtf(ParseRtf(loaded));
  hidden->SetRtfSource(loaded);
  return hidden->GetRtfSource();
}

bool WriteSlideNotes(const std::string& path, std::string notes) {
  notes += SlideNotesEnd;
  const std::string fresh = NormalisedRtf(notes);
  std::string old;
  if (FileExists(path) && ReadBytes(path, old) && NormalisedRtf(old) == fresh) return false;
  if (ReplaceFile(path, fresh, false) != TReplaceResult::Replaced) {
    ShowErrorAndAbort("Unable to create file " + path);
  }
  return true;
}

std::string CurrentSlideNotesPath() {
  std::string text = CurrentText;
  if (CurrentEditor && !CurrentEditor->PlainText()) text = CurrentEditor->GetText();
  return SlideNotesPath(CurrentFolder, SlideShowBase(text));
}

void ViewNotes() {
  const std::string path = CurrentSlideNotesPath();
  if (!FileExists(path)) {
    ShowMsg(path + " not found.");
    return;
  }
  OpenThis(path);
}

}  // namespace quorrel
