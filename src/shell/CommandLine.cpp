#include "shell/CommandLine.h"

#include "platform/Chars.h"
#include "shell/FastStrings.h"

namespace quorrel {

namespace {

// "/" and the letter, upper-cased; "" when the parameter is not such a switch.
std::string SwitchLetter(const std::string& parameter) {
  if (parameter.size() == 2 && parameter[0] == '/' && IsLetter(parameter[1])) {
    return UpperCaseLatin1(parameter);
  }
  return "";
}

bool IsTuneSwitch(const std::string& parameter) {
  return parameter.size() >= 3 && parameter[0] == '/' &&
         (parameter[1] == 'T' || parameter[1] == 't') && parameter[2] == ' ';
}

bool IsFindSwitch(const std::string& parameter) {
  return SwitchLetter(parameter) == "/F";
}

}  // namespace

bool IsSwitch(const std::string& parameter) {
  return parameter == "/" || !SwitchLetter(parameter).empty() || IsTuneSwitch(parameter);
}

TCommandLine ParseCommandLine(const std::vector<std::string>& parameters) {
  TCommandLine line;
  if (parameters.empty() || parameters[0].empty()) return line;
  const std::string& first = parameters[0];
  if (!IsSwitch(first)) {
    line.action = TStartSwitch::Names;
    return line;
  }
  line.namesFrom = 1;
  if (IsTuneSwitch(first)) {
    line.tuneTitle = first.substr(3);
    bool blank = line.tuneTitle.find_first_not_of(' ') == std::string::npos;
    line.action = blank ? TStartSwitch::TuneNoTitle : TStartSwitch::Tune;
    return line;
  }
  std::string letter = SwitchLetter(first);
  if (letter == "/P") {
    line.action = TStartSwitch::Print;
  } else if (letter == "/R") {
    line.action = TStartSwitch::Reformat;
  } else if (letter == "/Q") {
    line.action = TStartSwitch::QuickDelete;
  } else if (letter == "/A") {
    line.action = TStartSwitch::Archive;
  } else if (letter == "/S") {
    line.action = TStartSwitch::Server;
  } else if (letter == "/E") {
    line.action = TStartSwitch::SetMode;
  } else if (letter == "/T") {
    line.action = TStartSwitch::TuneNoTitle;
  } else {
    line.action = TStartSwitch::Invalid;
  }
  return line;
}

namespace {

std::string Joined(const std::vector<std::string>& parts, size_t from, size_t to) {
  std::string name;
  for (size_t i = from; i < to; ++i) name += (i > from ? " " : "") + parts[i];
  return name;
}

// One run of parameters between separators, cut into names.
void AddRun(const std::vector<std::string>& run,
            const std::function<bool(const std::string&)>& exists,
            std::vector<std::string>& names) {
  size_t start = 0;
  while (start < run.size()) {
    size_t end = run.size();
    if (exists) {
      for (size_t to = start + 1; to <= run.size(); ++to) {
        if (exists(Joined(run, start, to))) {
          end = to;
          break;
        }
      }
    }
    names.push_back(Joined(run, start, end));
    start = end;
  }
}

}  // namespace

std::vector<std::string> JoinDocumentNames(const std::vector<std::string>& parameters, size_t from,
                                           std::string* findText,
                                           const std::function<bool(const std::string&)>& exists) {
  std::vector<std::string> names;
  std::vector<std::string> run;
  for (size_t i = from; i < parameters.size(); ++i) {
    const std::string& p = parameters[i];
    if (IsFindSwitch(p)) {
      if (findText && i + 1 < parameters.size()) *findText = parameters[i + 1];
      break;
    }
    if (p == "/") {
      AddRun(run, exists, names);
      run.clear();
      continue;
    }
    run.push_back(p);
  }
  AddRun(run, exists, names);
  return names;
}

std::string CommandLinePath(const std::string& name, const std::string& startFolder) {
  if (!name.empty() && name[0] == '/') return name;
  return startFolder + name;
}

std::string InvalidParametersMessage(const std::vector<std::string>& parameters) {
  std::string message = "Invalid command-line parameters:\r";
  for (const auto& p : parameters) message += " " + p;
  return message;
}

}  // namespace quorrel
