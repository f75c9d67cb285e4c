#pragma once
// A dot-command master as the editor writes it: the header, then each paragraph
// after CR LF and "\par ", ending "\par }".
#include <string>
#include <vector>

namespace quorrel::test {

inline const std::string kMasterHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
    "Calibri;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 ";

inline std::string Master(const std::vector<std::string>& paragraphs) {
  std::string rtf = kMasterHeader;
  for (size_t i = 0; i < paragraphs.size(); ++i) {
    rtf += (i == 0 ? "" : "\r\n\\par ") + paragraphs[i];
  }
  return rtf + "\r\n\\par }\r\n";
}

}  // namespace quorrel::test
