#pragma once
// What a validator is given and what it gives back. A validator works on a page
// (the text of a document, open or not) and returns its verdict; only the
// dispatcher reads the editor to make the page and writes the verdict back, so a
// folder run or a site report can validate pages that are not open. Texts are
// Windows-1252 bytes; offsets are into the page's text.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "shell/DocumentKinds.h"

namespace quorrel {

struct TPage {
  std::string text;  // the text to check (for RTF, the RTF source)
  std::string path;
  TDocumentKind kind = TDocumentKind::Other;
  std::string baseFolder;  // relative references resolve against it, with "/"
  bool checkOnly = false;  // check without rewriting or marking the document changed
  int pass = 0;            // passes run so far in this validation
  std::string sender;      // the menu item that started it ("" for none)
  // The caret and selection, for the validators that work on the part at the caret.
  // For RTF they are offsets into the text the editor shows, not into the source;
  // for the Classic ASP checker they span the sections it checks.
  size_t caret = 0;
  size_t selectionLength = 0;
};

// Where the caret goes in a rewritten text: the same line and column, with the
// same first line in view, as far as the new text has them.
struct TCaretToKeep {
  size_t line = 0;
  size_t column = 0;
  size_t firstVisibleLine = 0;
};

struct TValidationError {
  size_t offset = 0;  // into the returned text when there is one, else into the page's
  std::string message;
  int helpTopic = 0;
  // false: the message stands alone and the caret stays where it is.
  bool atOffset = true;
  // false: the caret goes to the offset, and the message is shown without it.
  bool offsetInMessage = true;
  // true: shown as "At offset N" with the message on the next line (the XML
  // validator's form); false: the message, then "at offset N".
  bool offsetFirst = false;
};

// A paragraph at fault, for the main window's paragraph viewer: the message, the
// paragraph as it is shown, the offsets in it of the characters at fault, and where
// it starts in the text the editor shows.
struct TParagraphView {
  std::string message;
  std::string paragraph;
  std::vector<size_t> marks;
  size_t offset = 0;
};

// The status a validator ends with when the page is valid.
inline constexpr char ValidatedStatus[] = "Validated";

struct TValidation {
  std::optional<std::string> text;  // the rewritten page; none: unchanged
  TCaretToKeep caret;
  // Another pass is asked, as this kind (the kind of the page itself when it is
  // the same); the next pass checks the rewritten text.
  bool again = false;
  TDocumentKind againAs = TDocumentKind::Other;
  std::optional<TValidationError> error;  // the first error
  // A paragraph at fault: shown in the viewer, the caret put in it, the command ended.
  std::optional<TParagraphView> paragraph;
  std::optional<std::string> status;      // none: the validator ended silently
  bool recolour = false;                  // the whole document is to be coloured again
  // The dispatcher's count of passes set to this: a big page checked again within
  // a minute counts as past its first pass, so that no second pass re-lays it.
  std::optional<int> passCounter;
  // A re-formatter's verdict: in the re-formatter start mode a document it leaves
  // modified is saved at once.
  bool saveWhenReformatting = false;
  // The rewritten page is to be saved at once, without validating it again, and
  // the command ends there without a verdict.
  bool saveAndEnd = false;
};

// The status of a kind whose validator is still to be written.
std::string NotCheckedYetStatus(TDocumentKind kind);

}  // namespace quorrel
