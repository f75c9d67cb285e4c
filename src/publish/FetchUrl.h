#pragma once
// The program's one HTTP GET: a web page as text, or, for content that is not
// text, a file saved where the user chooses. Texts are Windows-1252 bytes: the
// page's bytes as they came.
#include <string>

namespace quorrel {

// Fetches a web address. Pages that are not found, server errors and addresses
// that cannot be reached are reported; binary content may be saved to a file
// (offered under saveAsName, ".malt" read as ".mid"), after which the tab opened
// for this very address is closed. Returns the text, "" when there is none.
std::string FetchUrl(const std::string& url, const std::string& saveAsName);

}  // namespace quorrel
