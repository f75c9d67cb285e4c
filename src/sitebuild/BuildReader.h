#pragma once
// The builder's input reader: RTF text in, HTML characters out.

namespace quorrel {

struct TBuildRun;

// The next output character. Control words, symbols, entities and source tags are
// translated by pushing their text back and reading on. At the end of the source
// the run ends (BuildRunning false) and a blank is returned.
char ReadRtfChar(TBuildRun& run);

}  // namespace quorrel
