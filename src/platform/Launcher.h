#pragma once
// Opening a file or web address outside the editor's own tabs: with the user's
// default program (the shell's "Open"), or in the program's preview browser.
// Tests install recorders in place of both, so that nothing is really opened.
// Targets are Windows-1252 bytes: a local path or a web address.
#include <functional>
#include <string>

namespace quorrel {

using TLaunchFunction = std::function<bool(const std::string& target)>;

// Opens the target with the user's default program, without waiting. The default
// opener runs xdg-open. Returns false when it could not be started.
bool ShellOpen(const std::string& target);
// Installs another opener; an empty one restores the default.
void SetShellOpener(TLaunchFunction opener);

// The program the default opener hands targets to.
inline constexpr char ShellOpenProgram[] = "xdg-open";
// Told when the default opener started but could not hand the target over (no
// program for it, a file it cannot open): the opener, the target and the last
// line the opener wrote to standard error. The shell decides what the user sees.
using TLaunchFailed = std::function<void(const std::string& program, const std::string& target,
                                         const std::string& detail)>;
void SetShellOpenFailed(TLaunchFailed handler);

// Shows the target in the program's preview browser. Until the browser installs
// itself, the target goes to the default program instead.
bool PreviewOpen(const std::string& target);
void SetPreviewOpener(TLaunchFunction opener);

// Back to the default openers.
void ResetLauncher();

}  // namespace quorrel
