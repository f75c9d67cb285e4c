#pragma once
// A dot-command master as the editor writes it: the header, then each paragraph
// after CR LF and "\par ", ending "\par }".
#include <string>
#include <vector>

#include "platform/RtfCompose.h"
#include "platform/RtfParse.h"
#include "shell/SaveText.h"

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

// The same paragraphs as the program's own save writes them: read into the
// document model, written by the RTF writer and put on disk with the end mark.
inline std::string SavedMaster(const std::vector<std::string>& paragraphs) {
  return TextForDisk(ComposeRtf(ParseRtf(Master(paragraphs))), false, true);
}

}  // namespace quorrel::test
