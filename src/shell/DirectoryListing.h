#pragma once
// A web server's listing of a folder ("Index of ...") made into the text of a
// document whose lines are the addresses of the folder's entries. Texts are
// Windows-1252 bytes.
#include <string>
#include <vector>

namespace quorrel {

// Whether a fetched page is a server's folder listing.
bool IsDirectoryListing(const std::string& page);

// The addresses of the entries a listing links to, in the order listed: each
// href resolved against the listed folder, keeping only entries inside it (no
// parent folder, no sort links, nothing on another server).
std::vector<std::string> ListingEntries(const std::string& address, const std::string& page);

// The document text for a listing fetched from an address: a heading, then each
// entry's address followed by two line ends.
std::string DirectoryListingText(const std::string& address, const std::string& page);

}  // namespace quorrel
