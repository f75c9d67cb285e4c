// libFuzzer target of the Classic ASP checker: any page or ".VBA" text ends laid
// out or with one stop - never a crash, an overrun or a hang - and what it writes
// back, laid out or stopped half-way, differs from the input only in blanks and
// line breaks. Built and run by scripts/fuzz with the target "asp", outside the
// suite.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Abort.h"
#include "validate/Validators.h"

namespace {

std::string Kept(const std::string& text) {
  std::string kept;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') kept += c;
  }
  return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  quorrel::TPage page;
  page.path = data[0] & 1 ? "/site/macro.vba" : "/site/page.asp";
  page.pass = data[0] & 2 ? 1 : 0;
  page.text.assign(reinterpret_cast<const char*>(data) + 3, size - 3);
  page.caret = data[1] % (page.text.size() + 1);
  page.selectionLength = data[2];
  try {
    const quorrel::TValidation verdict = quorrel::ValidateAsp(page);
    if (verdict.text && Kept(*verdict.text) != Kept(page.text)) {
      std::fprintf(stderr, "the checker lost or gained text\n");
      std::abort();
    }
  } catch (const quorrel::EAbort&) {
  }
  return 0;
}
