#pragma once
// Validating a Pascal project: the project file itself, the letter cases of its
// companion files, and each unit it lists, saved when re-formatted.
#include <string>

#include "shell/Page.h"

namespace quorrel {

// Whether a project's run is under way: its own files are validated as units.
bool ProjectRunning();

// Validates the current document, a project file, and every unit it lists. The
// tabs are out of sight while it runs and come back however it ends. Units are
// validated one at a time in one tab of the run's own, which closes at the end (a
// unit already open is validated in its own tab); the first error stops the run
// with its message and leaves the unit on screen. Returns the project's verdict.
TValidation ValidateProject(const std::string& sender);

}  // namespace quorrel
