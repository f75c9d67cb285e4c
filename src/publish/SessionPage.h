#pragma once
// The session-variable page: written into the local web server's root by the
// session scan and shown in the preview browser; the exit deletes it.
#include <string>

namespace quorrel {

// The page's file name in LocalServerRoot.
extern std::string SessionPageName;

// Deletes the page from LocalServerRoot (nothing when that folder is not set).
void DeleteSessionPage();

// Back to the state of a freshly started program.
void ResetSessionPage();

}  // namespace quorrel
