#include "shell/SlowRead.h"

#include "shell/FastStrings.h"
#include "shell/TextFiles.h"

namespace quorrel {

bool SizeCheckExempt(const std::string& path, const TDocumentType& type) {
  const std::string& ext = type.ext;
  return type.isHtml || type.isRtf || type.isPhp || type.isCss ||
         InBarList(ext, "|.SQL|.CSV|.MP3|.CS|") > 0 || PosCase("MID", ext) > 0 ||
         PosCase("error_log", path) > 0 || PosNoCase("Bots.Txt", path) > 0 ||
         PosCase("/logs/", path) > 0 || IsBinaryExtension(ext);
}

bool OffersSlowRead(const std::string& path, const TDocumentType& type, bool zeroByte,
                    bool sizeDiffers) {
  if (sizeDiffers && !SizeCheckExempt(path, type)) return true;
  return zeroByte && !type.isRtf && !IsBinaryExtension(type.ext) &&
         InBarList(type.ext, "|.MP3|") == 0 && PosCase("MID", type.ext) == 0;
}

void DropRtfEndMark(std::string& source) {
  while (!source.empty() && source.back() == '\0') source.pop_back();
}

}  // namespace quorrel
