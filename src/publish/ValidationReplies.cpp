#include "publish/ValidationReplies.h"

#include "shell/FastStrings.h"

namespace quorrel {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

std::string Encode(const std::string& text, bool keep(unsigned char)) {
  std::string encoded;
  for (unsigned char c : text) {
    if (keep(c)) {
      encoded += static_cast<char>(c);
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 15];
    }
  }
  return encoded;
}

bool Unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == '.' || c == '~';
}

bool PathCharacter(unsigned char c) {
  return c > ' ' && c < 127 && c != '%' && c != '#' && c != '?' && c != '"' && c != '<' &&
         c != '>' && c != '\\';
}

// The table of a style sheet's errors.
std::string StyleSheetErrors(const std::string& reply) {
  const size_t section = reply.find("<div class=\"error-section\">");
  if (section == std::string::npos) return "";
  const size_t table = reply.find("<table", section);
  const size_t end = table == std::string::npos ? table : reply.find("</table>", table);
  if (end == std::string::npos) return "";
  return reply.substr(table, end + 8 - table);
}

// Each error item of a page, as a list of its own; obsolete elements are not errors
// worth a line.
std::string PageErrors(const std::string& reply, bool& found) {
  std::string marker = "<li class=\"error\">";
  if (!Contains(reply, marker.c_str())) marker = "<li class=\"msg_err\">";
  std::string items;
  found = false;
  for (size_t at = reply.find(marker); at != std::string::npos; at = reply.find(marker, at)) {
    const size_t end = reply.find("</li>", at);
    if (end == std::string::npos) break;
    found = true;
    const std::string item = reply.substr(at, end + 5 - at);
    at = end + 5;
    if (Contains(item, "element is obsolete")) continue;
    items += "<UL>" + item + "</ul>\n";
  }
  return items;
}

// The body of a page, or all of it when it has none.
std::string Body(const std::string& reply) {
  const size_t tag = PosNoCase("<body", reply);
  if (tag == 0) return reply;
  const size_t start = reply.find('>', tag - 1);
  if (start == std::string::npos) return reply;
  const size_t end = PosNoCase("</body>", reply);
  return reply.substr(start + 1, end > start ? end - 1 - (start + 1) : std::string::npos);
}

}  // namespace

TValidationReply ReadValidationReply(const std::string& reply, bool styleSheet) {
  TValidationReply result;
  if (Contains(reply, "ongratulations") || Contains(reply, "Passed validation") ||
      Contains(reply, "The document validates")) {
    result.kind = TReplyKind::Valid;
    return result;
  }
  if (Contains(reply, "Forbidden due to abuse")) {
    result.kind = TReplyKind::Abused;
    return result;
  }
  if (reply.empty()) {
    result.report = "<H3>Blank page returned by validator!</H3>";
    return result;
  }
  bool found = false;
  if (styleSheet) {
    result.report = StyleSheetErrors(reply);
    found = !result.report.empty();
  } else {
    result.report = PageErrors(reply, found);
  }
  if (!found) {
    result.report = std::string(styleSheet ? "<H2>Returned page not as expected!"
                                           : "<H2>Returned page not as Quorrel expected!") +
                    "&nbsp; Whole page follows:</H2>" + Body(reply);
  }
  return result;
}

std::string EncodeUrlPath(const std::string& path) {
  return Encode(path, PathCharacter);
}

std::string ValidationRequest(const std::string& checkAddress, const std::string& pageAddress) {
  return checkAddress + "?uri=" + Encode(pageAddress, Unreserved);
}

std::string ResultsPageStart(const std::string& checkAddress) {
  return "<html>\n<head>\n<title>Validation Results</title>\n<Base href=\"\">\n</head>\n<body>\n"
         "<h1>Validation Results</h1>\n<h2>Checked by " +
         checkAddress + "</h2>\n";
}

std::string ResultsFileHeading(const std::string& path) {
  return "<HR><Center><Big><B>" + path + "</B></Big></Center><HR><P>\n";
}

std::string ResultsPageEnd(int ok, int errors) {
  return "<p>\n<h2>OK: " + std::to_string(ok) +
         " &nbsp; &nbsp; <font color=Red>Errors: " + std::to_string(errors) +
         "</font></h2></body></html>";
}

}  // namespace quorrel
