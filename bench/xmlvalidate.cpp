// The XML validator on the shared MIME database's source (2.4 MB, a DOCTYPE with its
// internal subset, thousands of elements with text), against `xmllint --format`
// laying out the same file in the same run. Run by hand:
//   ./build/bench_xmlvalidate
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "RealMaterial.h"
#include "validate/Validators.h"

using namespace quorrel;

namespace {

constexpr char kFile[] = "/usr/share/mime/packages/freedesktop.org.xml";

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main() {
  TPage page;
  page.text = bench::Slurp(kFile);
  bench::Need(!page.text.empty(), kFile);
  page.kind = TDocumentKind::Xml;
  page.path = kFile;

  TValidation verdict;
  double ours = 1e9;
  for (int run = 0; run < 5; ++run) {
    const auto start = std::chrono::steady_clock::now();
    verdict = ValidateXml(page);
    ours = std::min(ours, Seconds(start));
  }
  double xmllint = 1e9;
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system((std::string("xmllint --format ") + kFile + " > /dev/null").c_str()) != 0) {
      std::fprintf(stderr, "xmllint did not run\n");
      return 1;
    }
    xmllint = std::min(xmllint, Seconds(start));
  }
  std::printf("%s: %zu bytes\n", kFile, page.text.size());
  if (verdict.error) {
    std::printf("stopped at offset %zu: %s\n", verdict.error->offset, verdict.error->message.c_str());
  } else {
    std::printf("%s, %zu bytes laid out\n", verdict.status ? verdict.status->c_str() : "no status",
                verdict.text ? verdict.text->size() : page.text.size());
  }
  std::printf("ValidateXml       %.3f s (best of 5)\nxmllint --format  %.3f s (best of 3)\n", ours,
              xmllint);
  return 0;
}
