#pragma once
// The Help menu's "ABC help" items: the ABC standard and tutorial on the web, the
// guides and manual pages of the music programs as Debian installs them, and the
// General MIDI instrument and controller lists, each by the item's tag (1 to 9).
#include <string>

namespace quorrel {

// What an item opens and how.
enum class TAbcHelpKind {
  WebPage,         // an address, with the default program
  ManualPage,      // a manual page, laid out as text in a new document
  CompressedText,  // a gzip-compressed text file, in a new document
  Instruments,     // the General MIDI instrument list, in a new document
  Controllers,     // the MIDI controller list, in a new document
};
struct TAbcHelpItem {
  int tag;
  TAbcHelpKind kind;
  const char* source;   // address or file; "" for the lists
  const char* package;  // the Debian package that installs the file
};

// The item of a tag; nullptr for a tag that has none.
const TAbcHelpItem* AbcHelpItem(int tag);

// Opens what the item of the tag stands for. A document whose package is missing
// stops the command with a message that names the package.
void AbcHelpClick(int tag);

}  // namespace quorrel
