#pragma once
// The rules that find the sections of the current document, one per document type:
// each walks CurrentText and hands every section it finds, in text order, to
// AddSection with its name and its start (a CurrentText offset). Texts are
// Windows-1252 bytes.
#include <cstddef>
#include <string>

#include "shell/DocumentKinds.h"

namespace quorrel {

// The rule that applies to the current document: its kinds' rule (DocumentKinds.h).
TSectionRule SectionRuleOf();

// Runs the current document's rule. withCommand: the build was asked for by a
// command, which a tune without a title or an unfinished CSS comment stops with its
// message; without one they pass quietly.
void FindSections(bool withCommand);

// The name separator of a dot-command page's section: the name after the first
// "|" is set off by one tab, or two when the part before is narrower than this.
inline constexpr int NarrowNamePixels = 40;

// The CSS separator before an @media block: 20 macrons.
inline const std::string MediaSeparator(20, '\xAF');

// Reads tokens of CurrentText for the rules of C#, JavaScript, PHP, ASP and VBA.
struct TSectionTokens {
  explicit TSectionTokens(const std::string& text, bool scriptText, bool withCommand)
      : text(text), scriptText(scriptText), withCommand(withCommand) {}
  // ReadSectionToken: the next token (a letter, digit or "_" run, or one other
  // character) from pos; "" at the end of the text.
  const std::string& Read();

  const std::string& text;
  size_t start = 0;  // where the last token began
  bool scriptText;   // JavaScript and PHP keep "//" lines
  bool withCommand;
  size_t pos = 0;
  std::string token;
};

}  // namespace quorrel
