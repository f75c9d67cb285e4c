#pragma once
// Finishing a built page: its end checks, closing markup and the write.
#include <string>

namespace quorrel {

struct TBuildRun;

// Pages longer than this end with the feedback block even when named "index".
inline constexpr size_t kShortIndexPage = 1800;
// Width of the box that lists the warnings of a page.
inline constexpr int kPossibleErrorsWidth = 460;

// The markup that closes the current page, for the run's state.
std::string ClosingMarkup(TBuildRun& run);

// The feedback link's query value of a title: percent-encoded, so that quotes,
// "&" and "#" in a title keep the link whole.
std::string EncodeTitle(const std::string& title);

}  // namespace quorrel
