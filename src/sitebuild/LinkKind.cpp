#include "sitebuild/LinkKind.h"

#include "platform/CodePage.h"
#include "shell/FastStrings.h"

namespace quorrel {

char LinkKindOf(const std::string& target) {
  for (const char* ending : {".jpg", ".gif", ".png"}) {
    if (EndsWithNoCase(target, ending)) return 'I';
  }
  if (StartsWithNoCase(target, "http") || StartsWithNoCase(target, "www.")) return 'W';
  // Page and document names are told by their endings: no file name begins with one.
  for (const char* ending : {".htm", ".html", ".pdf"}) {
    if (EndsWithNoCase(target, ending)) return 'W';
  }
  if (UpperCaseLatin1(target) == "NONE") return 'W';
  return ' ';
}

}  // namespace quorrel
