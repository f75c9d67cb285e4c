#include "validate/ColourHtml.h"

#include <cstring>

#include "platform/Chars.h"
#include "shell/FastStrings.h"
#include "validate/ColourNames.h"
#include "validate/ColourRuns.h"
#include "validate/ColourScheme.h"

namespace quorrel {

namespace {

bool IsNameStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsNameChar(char c) {
  return IsNameStart(c) || (c >= '0' && c <= '9');
}

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

// Where the scanner is: each context but plain HTML has a colour on the stack.
enum class TContext {
  kHtml,
  kTag,            // a tag, "<" to ">"
  kScriptTag,      // a <SCRIPT> tag: its content follows
  kScript,         // script content
  kScriptComment,  // "//" in a script, to the line end or ">"
  kFunctionLine,   // a "function" line of a script
  kServer,         // a server-script block
  kServerComment,  // "'" (or "//" in PHP) in a server block, to the line end
};

struct TFrame {
  TContext kind;
  char quote = 0;  // the quote of an open string
};

class THtmlScanner {
 public:
  THtmlScanner(const TScanText& scan, const THtmlColourOptions& options, int defaultColour)
      : t_(scan.text),
        length_(scan.length),
        o_(options),
        s_(ColourScheme),
        p_(scan.text, scan.length, defaultColour),
        pos_(p_.pos),
        names_(options.php) {}

  THtmlColouring Run();

 private:
  void Enter(TContext kind, int colour) {
    p_.Push(colour);
    frames_.push_back({kind});
  }
  void Leave() {
    p_.Pop();
    if (frames_.size() > 1) frames_.pop_back();
  }
  // Paints [from, to) in a colour, leaving the scan position at to.
  void Colour(size_t from, size_t to, int colour) {
    pos_ = from;
    p_.Push(colour);
    pos_ = to;
    p_.Pop();
  }
  bool AtServerStart() const { return p_.At(o_.serverStart); }
  bool AtServerEnd() const { return p_.At(o_.serverEnd); }
  bool AtLineStart() const { return pos_ == 0 || t_[pos_ - 1] == '\n'; }
  // Inside an open string: the closing quote or a line end closes it.
  void StepString(TFrame& frame, bool escapes);
  void HtmlComment(size_t opening);

  void StepHtml();
  void StepTag(TFrame& frame);
  void StepScript(TFrame& frame);
  void StepServer(TFrame& frame);

  // Names of server blocks.
  void ReadIncludes();
  void Word();
  size_t ReadName(size_t i) const;
  size_t SkipBlanks(size_t i) const;
  size_t SkipValue(size_t i) const;
  bool OnlyModifiersBefore(size_t start) const;
  void DeclareList();
  void DeclareFunction(bool newScope);
  void DeclareGlobals();
  void Note(const std::string& message, size_t offset) {
    message_ = message;
    messageOffset_ = offset;
  }

  const std::string& t_;
  const size_t length_;
  const THtmlColourOptions& o_;
  const TColourScheme& s_;
  TColourPainter p_;
  size_t& pos_;
  std::vector<TFrame> frames_;
  TDeclaredNames names_;
  std::string message_;
  size_t messageOffset_ = 0;
};

THtmlColouring THtmlScanner::Run() {
  frames_.reserve(8);
  frames_.push_back({TContext::kHtml});
  if (o_.trackNames && !o_.php) ReadIncludes();
  while (pos_ < length_) {
    TFrame& frame = frames_.back();
    switch (frame.kind) {
      case TContext::kHtml:
        StepHtml();
        break;
      case TContext::kTag:
      case TContext::kScriptTag:
        StepTag(frame);
        break;
      case TContext::kScript:
        StepScript(frame);
        break;
      case TContext::kScriptComment:
        if (IsLineEnd(t_[pos_]) || p_.At("</script")) {
          Leave();
        } else if (t_[pos_] == '>') {
          ++pos_;
          Leave();
        } else {
          ++pos_;
        }
        break;
      case TContext::kFunctionLine:
        if (IsLineEnd(t_[pos_]) || p_.At("</script")) {
          Leave();
        } else {
          ++pos_;
        }
        break;
      case TContext::kServer:
        StepServer(frame);
        break;
      case TContext::kServerComment:
        if (IsLineEnd(t_[pos_]) || AtServerEnd()) {
          Leave();
        } else {
          ++pos_;
        }
        break;
    }
  }
  THtmlColouring result;
  result.depth = p_.Depth();
  result.runs = p_.Finish();
  if (o_.reportUnused) {
    size_t offset = 0;
    std::string unused = names_.Unreferenced(&offset);
    if (unused.size() > 25) Note(unused, offset);
  }
  result.message = message_;
  result.messageOffset = messageOffset_;
  return result;
}

void THtmlScanner::StepString(TFrame& frame, bool escapes) {
  char c = t_[pos_];
  if (escapes && c == '\\' && !IsLineEnd(t_[pos_ + 1])) {
    pos_ += 2;
    return;
  }
  if (c == frame.quote || c == '\n') frame.quote = 0;
  ++pos_;
}

void THtmlScanner::HtmlComment(size_t opening) {
  p_.Push(s_.comments);
  pos_ += opening;
  if (p_.SkipTo("-->")) pos_ += 3;
  p_.Pop();
}

void THtmlScanner::StepHtml() {
  char c = t_[pos_];
  if (c == '"' && t_[pos_ + 1] == ';' && AtLineStart()) {
    Enter(TContext::kServer, s_.vbScript);
    return;
  }
  if (c != '<') {
    ++pos_;
    return;
  }
  if (AtServerStart()) {
    Enter(TContext::kServer, s_.vbScript);
    pos_ += o_.serverStart.size();
    return;
  }
  if (p_.At("<!--")) {
    size_t at = pos_;
    pos_ += 4;
    bool conditional = p_.At("[if");
    pos_ = at;
    if (conditional) {
      ++pos_;  // what a conditional comment holds is coloured as the page
    } else {
      HtmlComment(4);
    }
    return;
  }
  if (p_.At("<![endif]")) {
    HtmlComment(9);
    return;
  }
  if (p_.At("<script") && !IsNameChar(t_[pos_ + 7])) {
    Enter(TContext::kScriptTag, s_.tags);
    pos_ += 7;
    return;
  }
  unsigned char next = static_cast<unsigned char>(t_[pos_ + 1]);
  if (next > ' ' && std::strchr("\"'0123456789=>", next) == nullptr) {
    Enter(TContext::kTag, s_.tags);
  }
  ++pos_;
}

void THtmlScanner::StepTag(TFrame& frame) {
  if (AtServerStart()) {
    Enter(TContext::kServer, s_.vbScript);
    pos_ += o_.serverStart.size();
    return;
  }
  if (frame.quote) {
    StepString(frame, false);
    return;
  }
  char c = t_[pos_];
  if (c == '"') {
    frame.quote = c;
  } else if (c == '>' && t_[pos_ - 1] != '<') {
    bool script = frame.kind == TContext::kScriptTag;
    ++pos_;
    Leave();
    if (script) Enter(TContext::kScript, s_.javaScript);
    return;
  }
  ++pos_;
}

void THtmlScanner::StepScript(TFrame& frame) {
  if (AtServerStart()) {
    Enter(TContext::kServer, s_.vbScript);
    pos_ += o_.serverStart.size();
    return;
  }
  if (frame.quote) {
    StepString(frame, true);
    return;
  }
  char c = t_[pos_];
  if (c == '<' && p_.At("</script")) {
    Leave();
    Enter(TContext::kTag, s_.tags);
    pos_ += 8;
  } else if (c == '"' || c == '\'') {
    frame.quote = c;
    ++pos_;
  } else if (c == '/' && t_[pos_ + 1] == '/' && (pos_ == 0 || t_[pos_ - 1] != ':')) {
    Enter(TContext::kScriptComment, s_.comments);
    pos_ += 2;
  } else if ((c == 'f' || c == 'F') && AtLineStart() && p_.At("function")) {
    Enter(TContext::kFunctionLine, s_.functions);
    pos_ += 8;
  } else {
    ++pos_;
  }
}

void THtmlScanner::StepServer(TFrame& frame) {
  if (frame.quote) {
    StepString(frame, o_.php);
    return;
  }
  if (AtServerEnd()) {
    pos_ += o_.serverEnd.size();
    Leave();
    return;
  }
  char c = t_[pos_];
  char next = t_[pos_ + 1];
  char before = pos_ > 0 ? t_[pos_ - 1] : '\n';
  if (c == '"') {
    frame.quote = c;
    ++pos_;
  } else if (!o_.php && c == '\'') {
    Enter(TContext::kServerComment, s_.comments);
    ++pos_;
  } else if (o_.php && c == '/' && next == '*') {
    p_.Push(s_.comments);
    pos_ += 2;
    if (p_.SkipTo("*/")) pos_ += 2;
    p_.Pop();
  } else if (o_.php && c == '/' && next == '/' && before != ':') {
    Enter(TContext::kServerComment, s_.comments);
    pos_ += 2;
  } else if (o_.trackNames && !IsNameChar(before) && before != '$' &&
             (IsNameStart(c) || (o_.php && c == '$' && IsNameStart(next)))) {
    Word();
  } else {
    ++pos_;
  }
}

// ---- declared names ------------------------------------------------------------

void THtmlScanner::ReadIncludes() {
  static const char kInclude[] = "<!-- #Include File=\"";
  const size_t n = sizeof(kInclude) - 1;
  std::string_view text = std::string_view(t_).substr(0, length_);
  for (size_t at = PosNoCase(kInclude, text); at > 0; at = PosNoCase(kInclude, text, at + n)) {
    size_t start = at - 1 + n;
    size_t end = t_.find_first_of("\"\r\n", start);
    if (end == std::string::npos || end >= length_ || t_[end] != '"') continue;
    names_.AddIncluded(IncludeNamesOf(o_.pageFolder, t_.substr(start, end - start)));
  }
}

size_t THtmlScanner::ReadName(size_t i) const {
  if (t_[i] == '$') ++i;
  while (IsNameChar(t_[i])) ++i;
  return i;
}

size_t THtmlScanner::SkipBlanks(size_t i) const {
  while (i < length_ && IsBlank(t_[i])) ++i;
  return i;
}

// Past a default or constant value: up to "," or ")" outside brackets and strings,
// or the end of the statement.
size_t THtmlScanner::SkipValue(size_t i) const {
  int depth = 0;
  while (i < length_ && !IsLineEnd(t_[i])) {
    char c = t_[i];
    if (t_.compare(i, o_.serverEnd.size(), o_.serverEnd) == 0) break;
    if (c == '"' || (o_.php && c == '\'')) {
      size_t close = t_.find_first_of(std::string(1, c) + "\r\n", i + 1);
      i = close == std::string::npos || t_[close] != c ? close : close + 1;
      if (i == std::string::npos || i > length_) return length_;
      continue;
    }
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth == 0) break;
      --depth;
    } else if ((c == ',' && depth == 0) || c == (o_.php ? ';' : ':') || (!o_.php && c == '\'')) {
      break;
    }
    ++i;
  }
  return i;
}

bool THtmlScanner::OnlyModifiersBefore(size_t start) const {
  size_t i = start;
  for (;;) {
    while (i > 0 && IsBlank(t_[i - 1])) --i;
    if (i == 0 || t_[i - 1] == '\n') return true;
    const size_t n = o_.serverStart.size();
    if (i >= n && PosNoCase(o_.serverStart, std::string_view(t_).substr(i - n, n)) == 1) {
      return true;
    }
    size_t end = i;
    while (i > 0 && IsNameChar(t_[i - 1])) --i;
    if (i == end) return false;
    std::string word = UpperCaseLatin1(std::string_view(t_).substr(i, end - i));
    if (InBarList(word, "|PUBLIC|PRIVATE|PROTECTED|STATIC|ABSTRACT|FINAL|DEFAULT|") == 0) {
      return false;
    }
  }
}

void THtmlScanner::Word() {
  const size_t start = pos_;
  const size_t end = ReadName(pos_);
  const std::string word = t_.substr(start, end - start);
  const char before = start > 0 ? t_[start - 1] : ' ';
  pos_ = end;
  // Members of objects are not the page's names.
  if (word[0] != '$' && (before == '.' || (before == '>' && start > 1 && t_[start - 2] == '-'))) {
    return;
  }
  const std::string upper = UpperCaseLatin1(word);
  const char next = t_[end];
  if ((upper == "DIM" || upper == "CONST") && next == ' ') {
    DeclareList();
  } else if ((upper == "SUB" || upper == "FUNCTION" || upper == "CLASS") && next == ' ' &&
             OnlyModifiersBefore(start)) {
    // In PHP only a function has names of its own.
    DeclareFunction(!o_.php || upper == "FUNCTION");
  } else if (o_.php && upper == "GLOBAL" && next == ' ') {
    DeclareGlobals();
  } else if (!o_.php && upper == "END") {
    size_t i = SkipBlanks(end);
    std::string what = UpperCaseLatin1(std::string_view(t_).substr(i, ReadName(i) - i));
    if (what == "SUB" || what == "FUNCTION" || what == "CLASS") names_.EndProcedure();
  } else {
    switch (names_.Use(word)) {
      case TDeclaredNames::kName:
        Colour(start, end, s_.names);
        break;
      case TDeclaredNames::kGlobalName:
        Colour(start, end, s_.phpGlobal);
        break;
      case TDeclaredNames::kFunction:
        Colour(start, end, s_.functions);
        break;
      case TDeclaredNames::kNone:
        break;
    }
  }
}

void THtmlScanner::DeclareList() {
  size_t i = SkipBlanks(pos_);
  while (i < length_ && (IsNameStart(t_[i]) || (t_[i] == '$' && IsNameStart(t_[i + 1])))) {
    size_t start = i;
    i = ReadName(i);
    std::string name = t_.substr(start, i - start);
    if (!names_.Declare(name, start)) Note(name + ": Duplicate declaration", start);
    Colour(start, i, s_.names);
    i = SkipBlanks(i);
    if (t_[i] == '(') {
      size_t close = t_.find_first_of(")\r\n", i);
      i = close == std::string::npos || close >= length_ ? length_
          : t_[close] == ')'                             ? close + 1
                                                         : close;
      i = SkipBlanks(i);
    }
    if (t_[i] == '=') i = SkipBlanks(SkipValue(i + 1));
    if (t_[i] != ',') break;
    i = SkipBlanks(i + 1);
  }
  pos_ = std::max(pos_, i);
}

void THtmlScanner::DeclareFunction(bool newScope) {
  size_t i = SkipBlanks(pos_);
  if (o_.php && t_[i] == '&') i = SkipBlanks(i + 1);
  if (!IsNameStart(t_[i])) return;  // an anonymous function
  size_t start = i;
  i = ReadName(i);
  std::string name = t_.substr(start, i - start);
  switch (names_.DeclareFunction(name, newScope)) {
    case TDeclaredNames::kDuplicateFunction:
      Note(name + ": Duplicate function name", start);
      break;
    case TDeclaredNames::kAlsoIncluded:
      Note(name + ": Duplicate function name\rThis function also appears in an included file.",
           start);
      break;
    case TDeclaredNames::kNewFunction:
      break;
  }
  Colour(start, i, s_.functions);
  i = SkipBlanks(i);
  if (t_[i] != '(') return;
  ++i;
  // The parameters, up to the closing bracket or the line end.
  while (i < length_ && !IsLineEnd(t_[i])) {
    char c = t_[i];
    if (c == ')') {
      ++i;
      break;
    }
    if (c == '=') {
      i = SkipValue(i + 1);
      continue;
    }
    bool variable = o_.php ? c == '$' && IsNameStart(t_[i + 1]) : IsNameStart(c);
    if (!variable) {
      i = IsNameStart(c) ? ReadName(i) : i + 1;  // a type, "&" or "..."
      continue;
    }
    size_t paramStart = i;
    i = ReadName(i);
    std::string param = t_.substr(paramStart, i - paramStart);
    std::string upper = UpperCaseLatin1(param);
    if (upper == "BYVAL" || upper == "BYREF" || upper == "OPTIONAL") continue;
    if (!names_.Declare(param, paramStart)) Note(param + ": Duplicate declaration", paramStart);
    Colour(paramStart, i, s_.names);
    if (t_[i] == '(') {  // "a()" is an array
      i = SkipValue(i + 1);
      if (t_[i] == ')') ++i;
    }
  }
  pos_ = std::max(pos_, std::min(i, length_));
}

void THtmlScanner::DeclareGlobals() {
  size_t i = pos_;
  for (;;) {
    while (i < length_ && (IsBlank(t_[i]) || t_[i] == ',')) ++i;
    if (t_[i] != '$' || !IsNameStart(t_[i + 1])) break;
    size_t start = i;
    i = ReadName(i);
    names_.DeclareGlobal(t_.substr(start, i - start));
    Colour(start, i, s_.phpGlobal);
  }
  pos_ = std::max(pos_, i);
}

}  // namespace

THtmlColouring HtmlRuns(const TScanText& scan, const THtmlColourOptions& options,
                        int defaultColour) {
  return THtmlScanner(scan, options, defaultColour).Run();
}

}  // namespace quorrel
