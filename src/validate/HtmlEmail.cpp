// The HTML validator's walk at a mailto link: the link becomes the script block of
// its scrambled address, and the page gets the decoder once.
#include "platform/Paths.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/EmailScramble.h"
#include "validate/HtmlRun.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

constexpr char kMailto[] = " Href=\"mailto:";
constexpr char kDecoderFile[] = "edecrypt.js";

// Pages in a folder named "html" are generated documentation: left as they are.
bool InHtmlFolder(const std::string& folder) {
  std::string lower = UpperCaseLatin1(folder);
  if (!lower.ends_with("/")) lower += "/";
  return lower.ends_with("/HTML/");
}

bool Wanted(const THtmlRun& run) {
  const TMenuItem* encrypt = MainMenu().Find("EncE");
  const bool asked = (encrypt && encrypt->checked && PosNoCase("</Head", run.in) != 0) ||
                     run.dotPage || run.php;
  return asked && run.inSite && !run.validateAll && !run.tag.serverCode &&
         !InHtmlFolder(run.folder) && ValidationPass == 0;
}

// Records of output places after `at` move with an insertion of `length` there.
void Insert(THtmlRun& run, size_t at, const std::string& text) {
  run.out.insert(at, text);
  for (THtmlLevel& level : run.stack) {
    if (level.pendingBreak >= static_cast<long>(at)) level.pendingBreak += text.size();
  }
}

// The decoder, or a reference to "edecrypt.js" beside the page, once per page.
void InsertDecoder(THtmlRun& run) {
  if (run.out.find("function Email(A, X, Y)") != std::string::npos ||
      run.out.find(kDecoderFile) != std::string::npos) {
    return;
  }
  if (!ResolveNoCase(run.folder + kDecoderFile).empty()) {
    size_t at = PosNoCase("<!-- InstanceEndEditable -->", run.out);
    if (at == 0) at = PosNoCase("</HEAD>", run.out);
    if (at == 0) HtmlFatal("/HEAD tag not found.");
    if (!run.serverPage) Insert(run, at - 1, "<script src=\"edecrypt.js\"></script>");
    return;
  }
  size_t at = PosNoCase("InstanceBeginEditable", run.out);
  if (at != 0) {
    const size_t lineEnd = run.out.find('\n', at - 1);
    at = lineEnd == std::string::npos ? run.out.size() : lineEnd + 1;
  } else {
    at = PosNoCase("</HEAD", run.out);
    if (at != 0) {
      --at;
    } else {
      ShowMsg("/HEAD tag not found.\r\rJavaScript inserted at start of file.");
    }
  }
  Insert(run, at, EmailDecoderScript());
}

}  // namespace

bool ScrambleMailtoTag(THtmlRun& run) {
  // A link written over two lines is as readable to a harvester as one on a line.
  std::string tagText = run.tag.text;
  for (char& c : tagText) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  if (PosNoCase(kMailto, tagText) == 0 || !Wanted(run)) return false;
  if (run.serverPage && !AskYesNo("Encrypt email address in this ASP/PHP file?")) return false;

  // The Href comes out of the tag; what is left are the link's other attributes.
  const size_t href = PosNoCase(kMailto, tagText) - 1;
  const size_t from = href + std::char_traits<char>::length(kMailto);
  size_t quote = tagText.find('"', from);
  if (quote == std::string::npos) quote = tagText.size();
  std::string address = tagText.substr(from, quote - from);
  std::string attributes =
      tagText.substr(0, href) + tagText.substr(std::min(quote + 1, tagText.size()));
  const size_t nameEnd = attributes.find_first_of(" \t\r\n");
  attributes = nameEnd == std::string::npos ? "" : attributes.substr(nameEnd);
  const size_t first = attributes.find_first_not_of(" \t\r\n");
  attributes = first == std::string::npos
                   ? ""
                   : attributes.substr(first, attributes.find_last_not_of(" \t\r\n") + 1 - first);
  std::string query;
  if (const size_t mark = address.find('?'); mark != std::string::npos) {
    query = address.substr(mark);
    address.erase(mark);
  }
  if (address.empty()) {
    HtmlError("Blank email address.");
    return true;
  }
  const THtmlTag& tag = run.tag;
  const size_t close = PosNoCase("</A>", run.in, tag.end + 1);
  if (close == 0) {
    HtmlError("Missing \"</a>\"");
    return true;
  }
  const std::string linkText = run.in.substr(tag.end, close - 1 - tag.end);
  const std::string code = ScrambleEmail(address);

  if (CurrentCommand != BuildAllCommand && !run.serverCheck) {
    ShowMsg(address + "\rEmail address encrypted");
  }
  MarkHtmlChanged(run);
  InsertDecoder(run);
  run.out += EmailScript(code + query, attributes, linkText, address);
  run.pos = close - 1 + 4;
  return true;
}

}  // namespace quorrel
