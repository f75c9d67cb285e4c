#pragma once
// Local and server forms of the paths of a site, kept inside it. Local paths are
// "/"-separated file-system paths in Windows-1252; server paths are "/"-separated.
// A path that starts in SiteFolder must stay in it once normalised: climbing above
// the root, or out of SiteFolder, stops the command with a message.
#include <string>

namespace quorrel {

// Server form of a path ("\" as "/"), normalised.
std::string ToServerPath(const std::string& path);
// Local form of a path ("\" as "/", "%20" as a blank), normalised.
std::string ToLocalPath(const std::string& path);

// Removes "." segments and each ".." with the segment before it; "a/b/../c" is
// "a/c". The separator is "\" when the path holds one, else "/". A ".." with
// nothing left to remove stops with "Reference to above website root.".
std::string NormaliseSitePath(const std::string& path);

// Stops the command: the path (as shown) is not within the site folder; "tested"
// is the form that was compared.
[[noreturn]] void NotWithinSite(const std::string& shown, const std::string& tested);

}  // namespace quorrel
