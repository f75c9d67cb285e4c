#include "validate/PascalScan.h"

namespace quorrel {

namespace {

// The pound sign in the Windows code page and in the DOS one.
constexpr unsigned char kPoundWindows = 163;
constexpr unsigned char kPoundDos = 156;

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsLetter(char c) {
  c = Upper(c);
  return c >= 'A' && c <= 'Z';
}

bool StartsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

// The directive a "{$" at `at` (the brace) names, when it is a conditional one.
bool ConditionalDirective(const std::string& line, size_t at, TPascalDirective& directive) {
  std::string name;
  for (size_t i = at + 2; i < line.size() && IsLetter(line[i]); ++i) name += Upper(line[i]);
  // "{$IFEND}" ends a "{$IF}" although its name begins with "IF"; "{$IFC}" has its
  // own "{$ELSEC}" and "{$ENDC}".
  if (StartsWith(name, "ENDIF") || name == "IFEND" || name == "ENDC") {
    directive = TPascalDirective::EndIf;
  } else if (name == "ELSE" || name == "ELSEIF" || name == "ELSEC") {
    directive = TPascalDirective::Else;
  } else if (StartsWith(name, "IF")) {
    directive = TPascalDirective::If;
  } else {
    return false;
  }
  return true;
}

}  // namespace

TPascalLineScan ScanPascalLine(const std::string& line, TPascalScanState& state) {
  TPascalLineScan scan;
  scan.upper.assign(line.size(), ' ');
  bool inString = false;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    const char next = i + 1 < line.size() ? line[i + 1] : '\0';
    if (state.inBrace) {
      if (c == '}') state.inBrace = false;
      ++i;
    } else if (state.inParenStar) {
      if (c == '*' && next == ')') {
        state.inParenStar = false;
        ++i;
      }
      ++i;
    } else if (inString) {
      if (c == '\'') inString = false;
      ++i;
    } else if (c == '\'') {
      inString = true;
      ++i;
    } else if (c == '{') {
      if (scan.commentAt == std::string::npos) scan.commentAt = i;
      state.inBrace = true;
      const auto pound = static_cast<unsigned char>(next);
      if ((pound == kPoundWindows || pound == kPoundDos) && i + 2 < line.size() &&
          line[i + 2] == 'F') {
        state.formattingOff = i + 3 < line.size() && line[i + 3] == '-';
      }
      TPascalDirective directive;
      if (next == '$' && ConditionalDirective(line, i, directive)) {
        scan.directives.push_back(directive);
      }
      ++i;
    } else if (c == '(' && next == '*') {
      if (scan.commentAt == std::string::npos) scan.commentAt = i;
      state.inParenStar = true;
      i += 2;
    } else if (c == '/' && next == '/') {
      if (scan.commentAt == std::string::npos) scan.commentAt = i;
      break;  // the rest of the line is a comment
    } else {
      if (c == '(') ++state.openBrackets;
      if (c == ')' && state.openBrackets > 0) --state.openBrackets;
      scan.upper[i] = Upper(c);
      ++i;
    }
  }
  scan.stringOpen = inString;
  return scan;
}

}  // namespace quorrel
