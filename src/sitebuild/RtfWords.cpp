// Control words and symbols of the master's RTF, translated into page text.
#include <algorithm>
#include <cctype>
#include <string>

#include "platform/CodePage.h"
#include "platform/RtfParse.h"
#include "shell/DBoxUnit.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildReaderSteps.h"
#include "sitebuild/BuildState.h"

namespace quorrel {

namespace {

constexpr int kUnknownWordLimit = 4;  // the fourth unknown word stops the run
constexpr size_t kMessageLineLength = 255;

bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '?';
}

int LowerHexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

char Take() {
  char ch = 0;
  bool fromSource = false;
  NextInput(ch, fromSource);
  return ch;
}

bool InputStartsWith(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (PeekInput(i) != text[i]) return false;
  }
  return true;
}

bool OnCommentLine() {
  return StartsWithNoCase(BuildRun.CurrentLine, ".cm");
}

std::string Unknown(const std::string& word) {
  TBuildRun& run = BuildRun;
  if (OnCommentLine()) return "";
  std::string message = "Unknown RTF:  " + word + "\rin " + run.PageTitle + "\r" +
                        Excerpt(run.RtfSource, static_cast<long long>(run.SourcePos) - 80, 160);
  if (++run.UnknownRtfCount >= kUnknownWordLimit) {
    ShowErrorAndAbort(message + "\r\rScan terminated.");
  }
  ShowMsg(message);
  return "<font color=red><b>[" + word + "]</b></font>";
}

// The text of the source line the reader is in, as the editor shows it.
std::string SourceLineText() {
  const std::string& source = BuildRun.RtfSource;
  const size_t at = std::min(BuildRun.SourcePos, source.size());
  const size_t lineEnd = source.rfind('\n', at == 0 ? 0 : at - 1);
  const size_t begin = lineEnd == std::string::npos || at == 0 ? 0 : lineEnd + 1;
  const size_t end = std::min(source.find('\r', at), source.size());
  std::string text = RtfPlainText(ParseRtf("{\\rtf1 " + source.substr(begin, end - begin) + "}"));
  std::replace(text.begin(), text.end(), '\t', ' ');
  return text.substr(0, kMessageLineLength);
}

std::string Tab() {
  TBuildRun& run = BuildRun;
  if (run.OhTableOpen && run.OhRowCellPending) {
    run.OhRowCellPending = false;
    return " </TD><TD>";
  }
  if (!run.OhTableOpen && !OnCommentLine()) {
    if (!run.TabWarned) {
      run.TabWarned = true;
      ShowMsg("Unexpected tab character converted to @@@@ in line\r" + SourceLineText() +
              "\rand maybe others.");
    }
    return "@@@@";
  }
  if (run.CurrentLine.size() >= 6 && run.CurrentLine.compare(2, 4, "\\tab") == 0) return "";
  return " &nbsp; ";
}

// "<TT>" and the characters up to "\f0", markup characters as references.
std::string FixedPitch() {
  if (InputStartsWith("\\bullet")) ReportBuildError("Wrong kind of bullet - can't use \x95");
  std::string text = "<TT>";
  if (PeekInput() == ' ') Take();  // the blank that ends "\f1"
  for (;;) {
    if (InputStartsWith("\\f0")) break;
    if (PushedCount() == 0 && BuildRun.SourcePos >= BuildRun.RtfSource.size()) {
      ReportBuildError("\\f1 with no following \\f0");
    }
    const char ch = Take();
    if (ch == '&' || ch == '<' || ch == '>') {
      text += "&#" + std::to_string(static_cast<int>(ch)) + ";";
    } else {
      text += ch;
    }
    // Longer than the stack can take back: PushInput says so.
    if (text.size() > kPushBackCapacity) PushInput(text);
  }
  for (int i = 0; i < 3; ++i) Take();
  return text + "</TT>";
}

// "u" and a number, perhaps negative: the word ends there, whatever follows,
// since the fallback character after it may be a letter or "?".
bool IsUnicodeNumber(const std::string& word) {
  if (word.size() < 2 || word[0] != 'u') return false;
  const size_t digitsStart = word[1] == '-' ? 2 : 1;
  if (digitsStart >= word.size()) return false;
  return std::all_of(word.begin() + static_cast<long>(digitsStart), word.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// "u" with its decimal value (negative for code points from 32768 up); the
// fallback character that follows is dropped. False when the word is no such form.
bool UnicodeWord(const std::string& word, std::string& text) {
  if (!IsUnicodeNumber(word)) return false;
  const bool negative = word[1] == '-';
  const std::string digits = word.substr(negative ? 2 : 1);
  if (digits.size() > 6) return false;
  long value = std::stol(digits);
  if (negative) value = 65536 - value;
  text += "&#" + std::to_string(value) + ";";
  // The blank that ends the word comes before the fallback.
  if (PeekInput() == ' ' && PeekInput(1) != '\\' && PeekInput(1) != '\r') Take();
  if (InputStartsWith("\\'")) {
    for (int k = 0; k < 4; ++k) Take();
  } else if (PeekInput() != '\\' && PeekInput() != ' ' && PeekInput() != '\0' &&
             PeekInput() != '\r') {
    Take();
  }
  return true;
}

// Closes the style of word's first letter, keeping the page's tags nested: a
// closing letter that is not the innermost one swaps places with it when their
// opening tags stand side by side.
std::string CloseStyle(const std::string& word) {
  std::string& stack = BuildRun.StyleStack;
  if (stack.empty()) ReportBuildError("RTF stack is empty.  Elem=" + word);
  const char letter = word[0];
  const char inner = stack.back();
  if (letter != inner) {
    const size_t at = PageBuffer.rfind(std::string("><") + inner + ">");
    if (at != std::string::npos && at >= 2 && PageBuffer[at - 1] == letter &&
        PageBuffer[at - 2] == '<') {
      std::swap(PageBuffer[at - 1], PageBuffer[at + 2]);
      const size_t below = stack.rfind(letter, stack.size() - 2);
      if (stack.size() >= 2 && below != std::string::npos) std::swap(stack[below], stack.back());
    }
  }
  stack.pop_back();
  return std::string("</") + letter + ">";
}

// The translation of one control word; ends is set when the word ends the run.
std::string Translate(std::string word, bool& ends) {
  TBuildRun& run = BuildRun;
  if (word == "tab") return Tab();
  if (word == "plain") {
    std::string text;
    for (auto it = run.StyleStack.rbegin(); it != run.StyleStack.rend(); ++it) {
      text += std::string("</") + static_cast<char>(std::toupper(*it)) + ">";
    }
    run.StyleStack.clear();
    return text;
  }
  if (word == "f1") {
    ends = true;
    return FixedPitch();
  }
  if (word == "bullet") return "<Br> \xBB \xA9 \xBB";
  if (word == "endash" || word == "emdash") return "-";
  if (word == "strike") return "<strike>";
  if (word == "strike0") return "</strike>";
  if (word == "rquote") return "&rsquo;";
  if (word == "lquote") return "&lsquo;";
  if (word == "ldblquote" || word == "rdblquote") return "\"";
  if (word == "line") return "<br>";
  if (word == "super" || word == "sub") {
    run.SupSubStack += word == "super" ? 'p' : 'b';
    return word == "super" ? "<Sup>" : "<Sub>";
  }
  if (word == "nosupersub") {
    if (run.SupSubStack.empty()) return "";
    const char last = run.SupSubStack.back();
    run.SupSubStack.pop_back();
    return last == 'p' ? "</Sup>" : "</Sub>";
  }
  std::string text;
  if (word[0] == 'u' && UnicodeWord(word, text)) {
    ends = true;
    return text;
  }
  if (word.compare(0, 2, "ul") == 0) word.erase(1, 1);
  if (word == "b" || word == "i" || word == "u") {
    run.StyleStack += word[0];
    return "<" + word + ">";
  }
  if (word[0] == 'b' || word[0] == 'i' || word[0] == 'u') return CloseStyle(word);
  if (word == "cf1") {
    run.RedOpen = true;
    return "<Font Color=Red>";
  }
  if (word == "cf0") {
    run.RedOpen = false;
    return "</Font>";
  }
  if (word.compare(0, 2, "cf") == 0 || word == "par") return "";
  if (word == "qc") ReportBuildError("Use <center> rather than centring with Text | Centred.");
  return Unknown(word);
}

}  // namespace

bool ReadControlRun(char& ch) {
  const char first = PeekInput();
  if (first == '\\' || first == '{' || first == '}') {
    ch = Take();
    return true;
  }
  std::string text;
  bool endedOnSymbol = false;
  for (;;) {
    const char next = PeekInput();
    if (next == '\'') {
      Take();
      const char high = Take(), low = Take();
      endedOnSymbol = true;
      if (high == 'b' && low == 'b') {
        text += "&nbsp;";
      } else if (LowerHexValue(high) >= 0 && LowerHexValue(low) >= 0) {
        const char byte = static_cast<char>(LowerHexValue(high) * 16 + LowerHexValue(low));
        // A backslash read back must not start a control word.
        text += byte == '\\' ? std::string("\\\\") : std::string(1, byte);
      } else {
        text += Unknown(std::string("'") + high + low);
      }
      break;
    }
    if (next == '~') {
      Take();
      text += ' ';
      endedOnSymbol = true;
      break;
    }
    std::string word;
    while (IsWordChar(PeekInput()) &&
           !(IsUnicodeNumber(word) && !std::isdigit(static_cast<unsigned char>(PeekInput())))) {
      word += Take();
    }
    if (word.empty()) {
      // A backslash before no word ("\*", "\_") or at the very end.
      if (next == '\0') break;
      word = std::string(1, Take());
    }
    bool ends = false;
    text += Translate(word, ends);
    if (ends) {
      // The fallback character ended the word; a blank after it is text.
      endedOnSymbol = endedOnSymbol || IsUnicodeNumber(word);
      break;
    }
    const char after = PeekInput(1);
    if (PeekInput() == '\\' && (IsWordChar(after) || after == '\'' || after == '~')) {
      Take();
      continue;
    }
    break;
  }
  if (!endedOnSymbol && PeekInput() == ' ') Take();
  PushInput(text);
  return false;
}

bool ReadRawEscape(char& ch) {
  const char next = PeekInput();
  if (next == '\\' || next == '{' || next == '}') {
    ch = Take();
    return true;
  }
  if (next == '\'' && LowerHexValue(PeekInput(1)) >= 0 && LowerHexValue(PeekInput(2)) >= 0) {
    Take();
    const int high = LowerHexValue(Take());
    ch = static_cast<char>(high * 16 + LowerHexValue(Take()));
    return true;
  }
  if (InputStartsWith("tab") && !IsWordChar(PeekInput(3))) {
    for (int i = 0; i < 3; ++i) Take();
    if (PeekInput() == ' ') Take();
    ch = '\t';
    return true;
  }
  return false;
}

}  // namespace quorrel
