#include "commands/AbcHelp.h"

#include <unistd.h>

#include "commands/OpenDocs.h"
#include "music/GmPrograms.h"
#include "music/MidiControllers.h"
#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/GzipFile.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "shell/DBoxUnit.h"
#include "shell/RunPrograms.h"
#include "shell/TextFiles.h"

namespace quorrel {

namespace {

using enum TAbcHelpKind;

constexpr TAbcHelpItem kItems[] = {
    {1, WebPage, "https://abcnotation.com/wiki/abc:standard:v2.1", ""},
    // The abc2midi guide covers the %%MIDI directives, which its manual page only lists.
    {2, CompressedText, "/usr/share/doc/abcmidi/abcguide.txt.gz", "abcmidi"},
    {3, ManualPage, "/usr/share/man/man1/abcm2ps.1.gz", "abcm2ps"},
    {4, ManualPage, "/usr/share/man/man1/abc2abc.1.gz", "abcmidi"},
    {5, ManualPage, "/usr/share/man/man1/midi2abc.1.gz", "abcmidi"},
    {6, WebPage, "http://moinejf.free.fr/abcm2ps-doc/index.html", ""},
    {7, Instruments, "", ""},
    {8, Controllers, "", ""},
    {9, WebPage, "https://abcnotation.com/learn", ""},
};

// man's layout of a page goes here before it becomes a document.
constexpr char kManualText[] = "Quorrel.man";

void NotInstalled(const TAbcHelpItem& item) {
  ShowErrorAndAbort(std::string(item.source) + " not found.\rIt comes with the Debian package " +
                    item.package + ".");
}

// A text from outside as a document of ours: Windows-1252 with CR LF line ends.
std::string AsDocumentText(const std::string& bytes) {
  return LoadedText(IsValidUtf8(bytes) ? Utf8ToAnsi(bytes) : bytes);
}

// The page as man lays it out for a plain-text reader: ASCII, with no overstrike.
std::string ManualPageText(const TAbcHelpItem& item) {
  const std::string output = TempFolder() + kManualText;
  ::unlink(NativePath(output).c_str());  // an old layout must not pass for this one
  TRunOptions options;
  options.stdoutFile = NativePath(output);
  if (!RunHidden("man", {"-E", "ascii", "-l", NativePath(item.source)}, 0, options)) Abort();
  WaitForLastProgram();
  std::string bytes;
  FileBytes(output, bytes);
  ::unlink(NativePath(output).c_str());
  if (bytes.empty()) ShowErrorAndAbort("Could not lay out " + std::string(item.source));
  return bytes;
}

}  // namespace

const TAbcHelpItem* AbcHelpItem(int tag) {
  for (const TAbcHelpItem& item : kItems) {
    if (item.tag == tag) return &item;
  }
  return nullptr;
}

void AbcHelpClick(int tag) {
  const TAbcHelpItem* item = AbcHelpItem(tag);
  if (!item) return;
  switch (item->kind) {
    case WebPage:
      ShellOpen(item->source);
      return;
    case Instruments:
      OpenText(GmProgramList());
      return;
    case Controllers:
      OpenText(MidiControllerList());
      return;
    case ManualPage:
    case CompressedText:
      break;
  }
  if (!FileExists(item->source)) NotInstalled(*item);
  std::string bytes;
  if (item->kind == ManualPage) {
    bytes = ManualPageText(*item);
  } else if (!ReadGzipFile(NativePath(item->source), bytes)) {
    ShowErrorAndAbort("Could not read " + std::string(item->source));
  }
  OpenText(AsDocumentText(bytes));
}

}  // namespace quorrel
