#pragma once
// Writing a built page only when its text changed, so that unchanged pages keep
// their file times (and are not published again).
#include <string>
#include <string_view>

namespace quorrel {

// Old pages are read up to this many bytes.
inline constexpr size_t kMaxOldPageBytes = 999'999;

// The text with every CR LF turned into LF: pages are compared and written so.
std::string WithLfLineEnds(std::string_view text);

// Whether an old page equals the new one (both with LF line ends): both hold
// "feedback.asp" (no case) at the same place with equal bytes before it, or
// neither holds it and the texts are equal. The feedback link's query may change
// without the page counting as changed.
bool SamePage(std::string_view oldText, std::string_view newText);

enum class TPageWrite { Unchanged, Written, Failed };

struct TPageWriteResult {
  TPageWrite outcome = TPageWrite::Failed;
  std::string error;    // for Failed: the path and the reason
  bool hadOld = false;  // an old page was there and differed (oldText holds it)
  std::string oldText;
};

// Writes page (LF line ends) as folder + fileName unless the file there already
// holds the same page. An extension longer than four characters other than
// ".html" is always written. The write goes through a temporary file in the same
// folder and a rename, so a failed write leaves the old page whole.
TPageWriteResult WritePageIfChanged(const std::string& folder, const std::string& fileName,
                                    std::string_view page);

// The text of the page already at path, if any (LF line ends, at most
// kMaxOldPageBytes bytes).
bool ReadOldPage(const std::string& path, std::string& text);

}  // namespace quorrel
