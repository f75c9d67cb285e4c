#pragma once
// Colouring of HTML-flag documents: tags, comments, script blocks, server-script
// blocks and, in ASP and PHP pages, declared names and functions.
#include <string>
#include <vector>

#include "shell/MyRich.h"
#include "validate/ColourTypes.h"

namespace quorrel {

struct THtmlColourOptions {
  std::string serverStart = "<%";  // server-script delimiters
  std::string serverEnd = "%>";
  bool php = false;           // PHP comments and "$" variables in server blocks
  bool trackNames = false;    // ASP and PHP pages: declared names and functions
  bool reportUnused = false;  // ASP pages: collect the variables never used
  std::string pageFolder;     // for include files, with a trailing "/"
};

struct THtmlColouring {
  std::vector<TColourRun> runs;
  size_t depth = 0;  // colours left on the stack at the end
  // The message for the HTML validator ("" when none) and its 0-based offset.
  std::string message;
  size_t messageOffset = 0;
};

THtmlColouring HtmlRuns(const TScanText& scan, const THtmlColourOptions& options,
                        int defaultColour);

}  // namespace quorrel
