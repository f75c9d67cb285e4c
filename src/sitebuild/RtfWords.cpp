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

char Take(TBuildRun& run) {
  char ch = 0;
  bool fromSource = false;
  NextInput(run, ch, fromSource);
  return ch;
}

bool InputStartsWith(TBuildRun& run, std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (PeekInput(run, i) != text[i]) return false;
  }
  return true;
}

bool OnCommentLine(TBuildRun& run) {
  return StartsWithNoCase(run.CurrentLine, ".cm");
}

std::string Unknown(TBuildRun& run, const std::string& word) {
  if (OnCommentLine(run)) return "";
  std::string message = "Unknown RTF:  " + word + "\rin " + run.PageTitle + "\r" +
                        Excerpt(run.RtfSource, static_cast<long long>(run.SourcePos) - 80, 160);
  if (++run.UnknownRtfCount >= kUnknownWordLimit) {
    ShowErrorAndAbort(message + "\r\rScan terminated.");
  }
  ShowMsg(message);
  return "<font color=red><b>[" + word + "]</b></font>";
}

// The text of the source line the reader is in, as the editor shows it.
std::string SourceLineText(TBuildRun& run) {
  const std::string& source = run.RtfSource;
  const size_t at = std::min(run.SourcePos, source.size());
  const size_t lineEnd = source.rfind('\n', at == 0 ? 0 : at - 1);
  const size_t begin = lineEnd == std::string::npos || at == 0 ? 0 : lineEnd + 1;
  const size_t end = std::min(source.find('\r', at), source.size());
  std::string text = RtfPlainText(ParseRtf("{\\rtf1 " + source.substr(begin, end - begin) + "}"));
  std::replace(text.begin(), text.end(), '\t', ' ');
  return text.substr(0, kMessageLineLength);
}

std::string Tab(TBuildRun& run) {
  if (run.OhTableOpen && run.OhRowCellPending) {
    run.OhRowCellPending = false;
    return " </TD><TD>";
  }
  if (!run.OhTableOpen && !OnCommentLine(run)) {
    if (!run.TabWarned) {
      run.TabWarned = true;
      ShowMsg("Unexpected tab character converted to @@@@ in line\r" + SourceLineText(run) +
              "\rand maybe others.");
    }
    return "@@@@";
  }
  if (run.CurrentLine.size() >= 6 && run.CurrentLine.compare(2, 4, "\\tab") == 0) return "";
  return " &nbsp; ";
}

// "<TT>" and the characters up to "\f0", markup characters as references.
std::string FixedPitch(TBuildRun& run) {
  if (InputStartsWith(run, "\\bullet"))
    ReportBuildError(run, "Wrong kind of bullet - can't use \x95");
  std::string text = "<TT>";
  if (PeekInput(run) == ' ') Take(run);  // the blank that ends "\f1"
  for (;;) {
    if (InputStartsWith(run, "\\f0")) break;
    if (PushedCount() == 0 && run.SourcePos >= run.RtfSource.size()) {
      ReportBuildError(run, "\\f1 with no following \\f0");
    }
    const char ch = Take(run);
    if (ch == '&' || ch == '<' || ch == '>') {
      text += "&#" + std::to_string(static_cast<int>(ch)) + ";";
    } else {
      text += ch;
    }
    // Longer than the stack can take back: PushInput says so.
    if (text.size() > kPushBackCapacity) PushInput(run, text);
  }
  for (int i = 0; i < 3; ++i) Take(run);
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
bool UnicodeWord(TBuildRun& run, const std::string& word, std::string& text) {
  if (!IsUnicodeNumber(word)) return false;
  const bool negative = word[1] == '-';
  const std::string digits = word.substr(negative ? 2 : 1);
  if (digits.size() > 6) return false;
  long value = std::stol(digits);
  if (negative) value = 65536 - value;
  text += "&#" + std::to_string(value) + ";";
  // The blank that ends the word comes before the fallback.
  if (PeekInput(run) == ' ' && PeekInput(run, 1) != '\\' && PeekInput(run, 1) != '\r') Take(run);
  if (InputStartsWith(run, "\\'")) {
    for (int k = 0; k < 4; ++k) Take(run);
  } else if (PeekInput(run) != '\\' && PeekInput(run) != ' ' && PeekInput(run) != '\0' &&
             PeekInput(run) != '\r') {
    Take(run);
  }
  return true;
}

// Closes the style of word's first letter, keeping the page's tags nested: a
// closing letter that is not the innermost one swaps places with it when their
// opening tags stand side by side.
std::string CloseStyle(TBuildRun& run, const std::string& word) {
  std::string& stack = run.StyleStack;
  if (stack.empty()) ReportBuildError(run, "RTF stack is empty.  Elem=" + word);
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
std::string Translate(TBuildRun& run, std::string word, bool& ends) {
  if (word == "tab") return Tab(run);
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
    return FixedPitch(run);
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
  if (word[0] == 'u' && UnicodeWord(run, word, text)) {
    ends = true;
    return text;
  }
  if (word.compare(0, 2, "ul") == 0) word.erase(1, 1);
  if (word == "b" || word == "i" || word == "u") {
    run.StyleStack += word[0];
    return "<" + word + ">";
  }
  if (word[0] == 'b' || word[0] == 'i' || word[0] == 'u') return CloseStyle(run, word);
  if (word == "cf1") {
    run.RedOpen = true;
    return "<Font Color=Red>";
  }
  if (word == "cf0") {
    run.RedOpen = false;
    return "</Font>";
  }
  if (word.compare(0, 2, "cf") == 0 || word == "par") return "";
  if (word == "qc") ReportBuildError(run, "Use <center> rather than centring with Text | Centred.");
  return Unknown(run, word);
}

}  // namespace

bool ReadControlRun(TBuildRun& run, char& ch) {
  const char first = PeekInput(run);
  if (first == '\\' || first == '{' || first == '}') {
    ch = Take(run);
    return true;
  }
  std::string text;
  bool endedOnSymbol = false;
  for (;;) {
    const char next = PeekInput(run);
    if (next == '\'') {
      Take(run);
      const char high = Take(run), low = Take(run);
      endedOnSymbol = true;
      if (high == 'b' && low == 'b') {
        text += "&nbsp;";
      } else if (LowerHexValue(high) >= 0 && LowerHexValue(low) >= 0) {
        const char byte = static_cast<char>(LowerHexValue(high) * 16 + LowerHexValue(low));
        // A backslash read back must not start a control word.
        text += byte == '\\' ? std::string("\\\\") : std::string(1, byte);
      } else {
        text += Unknown(run, std::string("'") + high + low);
      }
      break;
    }
    if (next == '~') {
      Take(run);
      text += ' ';
      endedOnSymbol = true;
      break;
    }
    std::string word;
    while (IsWordChar(PeekInput(run)) &&
           !(IsUnicodeNumber(word) && !std::isdigit(static_cast<unsigned char>(PeekInput(run))))) {
      word += Take(run);
    }
    if (word.empty()) {
      // A backslash before no word ("\*", "\_") or at the very end.
      if (next == '\0') break;
      word = std::string(1, Take(run));
    }
    bool ends = false;
    text += Translate(run, word, ends);
    if (ends) {
      // The fallback character ended the word; a blank after it is text.
      endedOnSymbol = endedOnSymbol || IsUnicodeNumber(word);
      break;
    }
    const char after = PeekInput(run, 1);
    if (PeekInput(run) == '\\' && (IsWordChar(after) || after == '\'' || after == '~')) {
      Take(run);
      continue;
    }
    break;
  }
  if (!endedOnSymbol && PeekInput(run) == ' ') Take(run);
  PushInput(run, text);
  return false;
}

bool ReadRawEscape(TBuildRun& run, char& ch) {
  const char next = PeekInput(run);
  if (next == '\\' || next == '{' || next == '}') {
    ch = Take(run);
    return true;
  }
  if (next == '\'' && LowerHexValue(PeekInput(run, 1)) >= 0 &&
      LowerHexValue(PeekInput(run, 2)) >= 0) {
    Take(run);
    const int high = LowerHexValue(Take(run));
    ch = static_cast<char>(high * 16 + LowerHexValue(Take(run)));
    return true;
  }
  if (InputStartsWith(run, "tab") && !IsWordChar(PeekInput(run, 3))) {
    for (int i = 0; i < 3; ++i) Take(run);
    if (PeekInput(run) == ' ') Take(run);
    ch = '\t';
    return true;
  }
  return false;
}

}  // namespace quorrel
