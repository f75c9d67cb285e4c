// The RTF validator on a 1 MB letter of real English (the system's licence texts,
// their hard-wrapped lines joined into paragraphs, as our writer saves it, with a word count near
// the start): the paragraph checks, the mends and the word count, against `unrtf --text` reading
// the same file in the same run. Run by hand:
//   ./build/bench_rtf_validate
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "RealMaterial.h"
#include "platform/RtfCompose.h"
#include "platform/RtfModel.h"
#include "shell/MenuModel.h"
#include "validate/RtfParagraphs.h"
#include "validate/ValidateRtf.h"

using namespace quorrel;

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Hard-wrapped text as a word processor holds it: the lines of a paragraph joined,
// each paragraph ending CR LF.
std::string Paragraphs(const std::string& text) {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) {
      if (!out.empty() && !out.ends_with("\r\n")) out += "\r\n";
    } else {
      if (!out.empty() && !out.ends_with("\r\n")) out += ' ';
      out += line.substr(first);
    }
    at = end + 1;
  }
  return out + "\r\n";
}

}  // namespace

int main() {
  std::string piece;
  for (const char* name : {"GPL-3", "Apache-2.0", "LGPL-2.1", "MPL-2.0", "Artistic"}) {
    piece += Paragraphs(bench::Slurp(std::string("/usr/share/common-licenses/") + name));
  }
  bench::Need(!piece.empty(), "/usr/share/common-licenses");
  std::string text = "Dear reader, these 12 words are the licences.\r\n";
  while (text.size() < 1000 * 1000) text += piece;
  // The licences' list items ("a) ...") have their brackets in the colour that
  // marks them as no bracket to check, as a user of the program would.
  TRtfDocument document = RtfDocumentOfText(text, TRtfCharFormat());
  TRtfFormatChange unchecked;
  unchecked.color = RgbOfBgr(UncheckedBracketColour);
  size_t pos = 0;
  for (TRtfParagraph& paragraph : document.paragraphs) {
    const size_t length = paragraph.runs.empty() ? 0 : paragraph.runs[0].text.size();
    if (length > 1 && paragraph.runs[0].text[1] == u')') {
      RtfChangeFormat(document, pos + 1, 1, unchecked);
    }
    pos += length + 1;
  }
  const std::string source = ComposeRtf(document);
  const std::string path =
      (std::filesystem::temp_directory_path() / "quorrel-bench-letter.rtf").string();
  std::ofstream(path, std::ios::binary) << source;
  for (const char* option : {"ValSave", "CheckQuotes", "CheckBrackets"}) {
    MainMenu().SetChecked(option, true);
  }

  TPage page;
  page.text = source;
  page.kind = TDocumentKind::Rtf;
  TValidation verdict;
  double ours = 1e9;
  for (int run = 0; run < 5; ++run) {
    const auto start = std::chrono::steady_clock::now();
    verdict = ValidateRtf(page);
    ours = std::min(ours, Seconds(start));
  }
  double unrtf = 1e9;
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(("unrtf --text " + path + " > /dev/null 2>&1").c_str()) != 0) {
      std::fprintf(stderr, "unrtf did not run\n");
      return 1;
    }
    unrtf = std::min(unrtf, Seconds(start));
  }
  std::filesystem::remove(path);
  std::printf("letter: %zu bytes of RTF, %zu of text\n", source.size(), text.size());
  if (verdict.paragraph) {
    std::printf("stopped at offset %zu: %s\n", verdict.paragraph->offset,
                verdict.paragraph->message.c_str());
  } else {
    std::printf("checked to the end; word count %s\n", verdict.text ? "updated" : "unchanged");
  }
  std::printf("ValidateRtf   %.3f s (best of 5)\nunrtf --text  %.3f s (best of 3)\n", ours, unrtf);
  return 0;
}
