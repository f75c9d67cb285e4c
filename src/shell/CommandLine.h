#pragma once
// The program's command line: switches and document names. Parameters are
// Windows-1252 bytes (converted from the UTF-8 the system hands over).
#include <functional>
#include <string>
#include <vector>

namespace quorrel {

// A parameter is a switch only when it is "/" and one letter (any case), "/T "
// and text, or "/" alone. Anything else, every absolute path included, is a name.
bool IsSwitch(const std::string& parameter);

enum class TStartSwitch {
  None,         // no parameters
  Names,        // the parameters are document names
  Print,        // "/P"
  Reformat,     // "/R"
  QuickDelete,  // "/Q"
  Archive,      // "/A"
  Server,       // "/S"
  SetMode,      // "/E"
  TuneNoTitle,  // "/T" without its text
  Tune,         // "/T " and a title
  Invalid,      // any other switch
};

struct TCommandLine {
  TStartSwitch action = TStartSwitch::None;
  size_t namesFrom = 0;   // index of the first document name
  std::string tuneTitle;  // "/T "
};

// What the first parameter asks for (the switches are tested in the program's order).
TCommandLine ParseCommandLine(const std::vector<std::string>& parameters);

// The document names from an index on: consecutive parameters are joined with
// single blanks until "/" (which starts the next name) or "/F" (which ends the
// names; the parameter after it becomes findText). With a test of existence, a
// run of parameters is cut into the shortest names that exist, so that names the
// shell has already separated stay apart while an unquoted name with blanks is
// joined back; a run that names nothing stays one name.
std::vector<std::string> JoinDocumentNames(
    const std::vector<std::string>& parameters, size_t from, std::string* findText,
    const std::function<bool(const std::string&)>& exists = nullptr);

// A command-line name as a path: names not starting with "/" are taken from the
// start folder (which ends with "/").
std::string CommandLinePath(const std::string& name, const std::string& startFolder);

// "Invalid command-line parameters:" and each parameter after a blank.
std::string InvalidParametersMessage(const std::vector<std::string>& parameters);

}  // namespace quorrel
