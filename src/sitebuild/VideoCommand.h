#pragma once
// The .VI video link: a link text or image that opens the page's video pop-up.
#include <cstddef>

namespace quorrel {

struct TBuildRun;

// Longest comment a video link shows.
inline constexpr size_t kMaxVideoComment = 800;

void RunVideoCommand(TBuildRun& run);

}  // namespace quorrel
