#pragma once
// Collecting the master's source for a build run.
#include <string>

namespace quorrel {

// Reads "Menu.txt" of CurrentFolder as the site menu text ("" without one).
std::string ReadSiteMenu();

// The RTF source of the run from the file CurrentFileName: every section, or in
// one-section mode the section round caretOffset (a CurrentText offset). Checked,
// cut to its first ".PG" and to the document's closing brace, and normalised.
// Every refusal is a message and the silent abort.
std::string CollectBuildSource(bool oneSection, size_t caretOffset);

// The collected lines from the first ".PG" on, without the closing brace,
// paragraphs as CR LF and blanks moved behind the style ends that follow them.
std::string NormaliseBuildSource(std::string source);

}  // namespace quorrel
