#pragma once
// One run of the find engine over the current document: the search from its
// starting point to its limit, and what each occurrence gets (selected, replaced
// after the user's answer, or its line collected). The command that sets it up is
// FindClick. Texts are Windows-1252 bytes; offsets index CurrentText.
#include <cstddef>
#include <string>
#include <vector>

#include "commands/FindText.h"
#include "commands/FindWorkText.h"
#include "shell/MyRich.h"

namespace quorrel {

class TMyRich;

// What a run is to do, as FindClick has worked it out.
struct TFindSetup {
  std::string command;      // the command carried out (what Next repeats)
  bool next = false;        // started by Next
  std::string search;       // marks resolved
  std::string replacement;  // marks resolved
  std::string shownText;    // the find text as the dialog shows it, for "Not found"
  TSearchOptions options;
  bool replaceMode = false;
  bool extract = false;
  bool blockReplace = false;
  bool inSection = false;
  bool prompt = false;
  bool filesMode = false;  // one document of a search in files: "Not found" is not said
  bool tag = false;  // Replace tag: each start tag's end tag is replaced with it
  std::string endTag, replacementEndTag;
};

// Replacing stops to ask at this occurrence, in case the replacement makes more.
inline constexpr int LoopQuestionAt = 101;

class TFindRun {
 public:
  // Reads the editor's state: the selection, the modified flag, CurrentText.
  explicit TFindRun(const TFindSetup& setup);
  void Run();

 private:
  size_t ToPos(size_t offset) const;
  void SelectOffsets(size_t offset, size_t length);
  size_t StartingPoint() const;
  // Whether the loop goes on after an occurrence at offset.
  bool Occurrence(size_t at);
  int AskReplace(size_t at);
  void ReplaceAt(size_t at);
  // Where the end tag of a start tag ending at from is: the tags between are
  // counted in and out. Stops with a message when another end tag closes it, or none.
  size_t MatchingEndTag(size_t from);
  // Replaces in the work text and, unless it is left for one later edit, in the
  // editor; the limit and block follow when the text lies before the limit.
  void ReplaceText(size_t at, size_t length, const std::string& with, bool defer);
  void CollectLine(size_t at);
  void NotFound();
  // Brings the editor up to the work text: the replacements not yet shown are
  // made there in one edit.
  void Flush();
  void Finish();

 public:
  // Whether the user stopped the run (Cancel, or Yes to the loop question), and
  // whether it replaced anything.
  bool Cancelled() const { return cancelled_; }
  bool Replaced() const { return replaced_; }
  bool FoundAny() const { return occurrences_ > 0; }

 private:

  const TFindSetup& setup_;
  TMyRich& editor_;
  TWorkText work_;
  bool crLf_;  // two characters per line end in the text, one in the editor
  bool wasModified_;
  size_t selStart_, selLength_;    // offsets of the selection at the start
  size_t caret_ = 0;               // where the search goes on
  size_t limit_ = 0;               // occurrences end at or before it
  size_t blockStart_ = 0, blockLength_ = 0;
  int occurrences_ = 0;
  bool replaced_ = false;
  bool all_ = false;               // replacing without asking
  bool cancelled_ = false;
  // Replacements made in the work text but not yet in the editor, at offsets of
  // the text the editor holds, and by how much they changed its length.
  std::vector<TReplacement> pending_;
  long pendingDelta_ = 0;
  std::string collected_;          // Extract lines
};

}  // namespace quorrel
