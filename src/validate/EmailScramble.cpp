// Scrambled e-mail addresses: the shuffle and its inverse, the script block that
// stands for a link, and turning blocks back into links.
#include "validate/EmailScramble.h"

#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

// A stable public page that explains how to switch scripts on.
constexpr char kScriptsHelpUrl[] = "https://www.enable-javascript.com/";
constexpr char kCallStart[] = "\nEmail(\"";
// A help link that begins this near the end of a block's first script is part of it.
constexpr size_t kHelpLinkReach = 40;

// A text as a JavaScript string between double quotes: line ends become blanks (a
// line end in HTML separates words), and backslashes and quotes are escaped.
std::string JsString(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') continue;
      out += ' ';
    } else if (c == '\n') {
      out += ' ';
    } else {
      if (c == '\\' || c == '"') out += '\\';
      out += c;
    }
  }
  return out;
}

// Reads a JavaScript string from `at` (after its opening quote) to its closing
// quote; a backslash takes the next character as it is. npos when it does not end.
size_t ReadJsString(const std::string& text, size_t at, std::string& value) {
  value.clear();
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '"') return at;
    if (c == '\n') return std::string::npos;
    if (c == '\\' && at + 1 < text.size()) ++at;
    value += text[at];
  }
  return std::string::npos;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Where the script block of a call at `call` (the line end before "Email(") begins
// and ends, with its three strings; false when the block is not of our shape.
struct TEmailBlock {
  size_t start = 0, end = 0;
  std::string code, attributes, text;
};

bool ReadEmailBlock(const std::string& text, size_t call, TEmailBlock& block) {
  // The block opens with a script tag, with nothing but blanks before the call.
  const size_t open = PosBackNoCase("<Script", text, call + 1);
  if (open == 0) return false;
  const size_t openEnd = text.find('>', open - 1);
  if (openEnd == std::string::npos || openEnd > call) return false;
  for (size_t p = openEnd + 1; p < call; ++p) {
    if (!IsSpace(text[p])) return false;
  }
  size_t at = call + std::char_traits<char>::length(kCallStart);
  at = ReadJsString(text, at, block.code);
  if (at == std::string::npos || text.compare(at, 4, "\", \"") != 0) return false;
  at = ReadJsString(text, at + 4, block.attributes);
  if (at == std::string::npos || text.compare(at, 4, "\", \"") != 0) return false;
  at = ReadJsString(text, at + 4, block.text);
  if (at == std::string::npos || text.compare(at, 2, "\")") != 0) return false;
  const size_t close = PosNoCase("</script>", text, at + 1);
  if (close == 0) return false;
  size_t end = close - 1 + 9;
  // The help link for browsers without scripts, and the script that closes its span.
  const size_t link = PosNoCase("<A Href=", text, end + 1);
  if (link != 0 && link - 1 < end + kHelpLinkReach) {
    const size_t script = PosNoCase("<Script", text, link);
    const size_t scriptEnd = script == 0 ? 0 : PosNoCase("</script>", text, script);
    if (scriptEnd == 0) return false;
    end = scriptEnd - 1 + 9;
    if (end < text.size() && text[end] == '\n') ++end;
  }
  block.start = open - 1;
  block.end = end;
  return true;
}

}  // namespace

const char EmailDecoderJs[] = R"(function EDecrypt(A) {
  var B = "";
  while (A.length > 0) {
    B += A.charAt(0);
    A = A.substring(1);
    if (A.length > 0) {
      B += A.charAt(A.length - 1);
      A = A.substring(0, A.length - 1);
    }
  }
  return B.replace(/%/g, ".").replace(/!/g, "@");
}
function Email(A, X, Y) {
  var Q = "";
  var I = A.indexOf("?");
  if (I >= 0) {
    Q = A.substring(I);
    A = A.substring(0, I);
  }
  A = EDecrypt(A);
  var L = "<a href=\"mailto:" + A + Q + "\"";
  if (X != "") L += " " + X;
  document.write(L + ">" + Y.split("~").join(A) + "<\/a>");
}
)";

std::string EmailDecoderScript() {
  return std::string("<script>\n") + EmailDecoderJs + "</script>\n";
}

std::string ScrambleEmail(const std::string& address) {
  if (address.find_first_of("!%") != std::string::npos) {
    ShowErrorAndAbort("Email address contains \"!\" or \"%\"\r" + address);
  }
  std::string hidden = address;
  for (char& c : hidden) {
    if (c == '.') c = '%';
    if (c == '@') c = '!';
  }
  std::string code;
  for (size_t i = 0; i < hidden.size(); i += 2) code += hidden[i];
  for (size_t i = hidden.size() - hidden.size() % 2; i >= 2; i -= 2) code += hidden[i - 1];
  return code;
}

std::string UnscrambleEmail(const std::string& code) {
  std::string address;
  size_t first = 0, last = code.size();
  while (first < last) {
    address += code[first++];
    if (first < last) address += code[--last];
  }
  for (char& c : address) {
    if (c == '%') c = '.';
    if (c == '!') c = '@';
  }
  return address;
}

std::string EmailScript(const std::string& code, const std::string& attributes,
                        const std::string& linkText, const std::string& address) {
  // A "~" of the text's own is written as its entity: every "~" left stands for the
  // address.
  std::string text = ReplaceAll(linkText, "~", "&#126;", true);
  if (!address.empty()) text = ReplaceAll(text, address, "~", true);
  return "<script>" + std::string(kCallStart) + code + "\", \"" + JsString(attributes) + "\", \"" +
         JsString(text) + "\")\ndocument.write(\"<span style='display: none;'>\")\n" +
         "</script><A Href=\"" + kScriptsHelpUrl + "\">" +
         "You must enable JavaScript to see this email address.</A>\n" +
         "<Script>\ndocument.write('<\\/span>');\n</script>\n";
}

bool DecodeEmailScripts(std::string& text) {
  if (IsDotPage) return false;
  bool changed = false;
  // Each search goes on after the last block, so a call that is not ours is passed
  // over once and left as it is.
  for (size_t call = text.find(kCallStart); call != std::string::npos;
       call = text.find(kCallStart, call + 1)) {
    TEmailBlock block;
    if (!ReadEmailBlock(text, call, block)) continue;
    const size_t query = block.code.find('?');
    const std::string address = UnscrambleEmail(block.code.substr(0, query));
    std::string link = "<A Href=\"mailto:" + address +
                       (query == std::string::npos ? "" : block.code.substr(query)) + "\"";
    if (!block.attributes.empty()) link += " " + block.attributes;
    link += ">" + ReplaceAll(ReplaceAll(block.text, "~", address, true), "&#126;", "~", true) +
            "</A>";
    text.replace(block.start, block.end - block.start, link);
    call = block.start + link.size() - 1;
    changed = true;
  }
  return changed;
}

}  // namespace quorrel
