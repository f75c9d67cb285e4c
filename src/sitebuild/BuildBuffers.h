#pragma once
// The page being built and the push-back stack the commands feed the reader from.
#include <cstddef>
#include <string>
#include <string_view>

#include "shell/SiteState.h"  // PageBuffer, the bytes of the current page

namespace quorrel {

struct TBuildRun;

// Starts a run's buffers: an empty page with room for the largest one, an empty
// push-back stack, and the source to read.
void StartBuildBuffers(TBuildRun& run, std::string source);

// Puts text in front of the input: it is read before anything pushed earlier and
// before the source, first character first. Stops the build when the stack would
// hold more than its capacity.
void PushInput(TBuildRun& run, std::string_view text);
// PushInput for text the reader has already translated: its backslashes stay
// backslashes when it is read again.
void PushReadText(TBuildRun& run, std::string_view text);
// Characters waiting on the push-back stack.
size_t PushedCount();
// Gives back a character the reader has already translated: it is the next one
// read, as it stands.
void UnreadChar(char ch);
// The character given back, if any (taken).
bool TakeUnread(char& ch);
// The next input character (push-back stack first, then the source); fromSource
// tells which. False at the end of both.
bool NextInput(TBuildRun& run, char& ch, bool& fromSource);
// The input character k places ahead without taking it; 0 past the end.
char PeekInput(TBuildRun& run, size_t k = 0);

// Appends to the page; stops the build when the page would grow past its limit.
void EmitChar(TBuildRun& run, char ch);
void EmitText(TBuildRun& run, std::string_view text);

// The length characters of text starting at start (which may lie before the text
// or run past it), clamped to the text.
std::string Excerpt(std::string_view text, long long start, size_t length);

// "Section: " + page + message + the last output, then the silent abort.
[[noreturn]] void ReportBuildError(TBuildRun& run, const std::string& message);

}  // namespace quorrel
