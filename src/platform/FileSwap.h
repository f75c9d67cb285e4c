#pragma once
// Two files that trade names, and a file that takes a name only while nobody else
// holds it. Paths are file-system bytes.
#include <string>

namespace quorrel {

enum class TSwapMethod {
  // One exchange by the kernel: at no moment is either name missing. Where the file
  // system cannot exchange, the work-name method is used instead.
  Exchange,
  // Three renames through a fresh work name beside the first file, each one checked
  // and the earlier ones undone when a later one fails.
  WorkName,
};

struct TSwapResult {
  bool swapped = false;
  // Which step failed: 0 the exchange, 1 the move to the work name, 2 the second
  // file to the first name, 3 the work file to the second name.
  int step = 0;
  int error = 0;  // errno of the failure
  // Where a file was left when undoing a failed step failed too; "" otherwise.
  std::string stranded;
};

// The file at a gets the name b and the file at b the name a. A failure leaves both
// files under their own names whenever the system lets the steps be undone.
TSwapResult SwapFiles(const std::string& a, const std::string& b,
                      TSwapMethod method = TSwapMethod::Exchange);

// Renames from to to, refusing (EEXIST) when to exists. Returns 0 or the errno.
int RenameNoReplace(const std::string& from, const std::string& to);

}  // namespace quorrel
