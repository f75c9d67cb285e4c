// Fuzz target of the HTML validator's walk: any bytes, under every combination of
// page kinds and options, must end in output or one error message, never in a
// crash, a hang or a read out of bounds; and a page the walk re-formats without an
// error is re-formatted to the same text again.
//
// With clang and libFuzzer (scripts/fuzz-html builds and runs it) the fuzzer drives
// LLVMFuzzerTestOneInput. Built as a plain benchmark it mutates the pages under a
// folder itself: bench_htmlfuzz [seconds] [folder].
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/Abort.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/HtmlRun.h"
#include "validate/HtmlSteps.h"
#include "validate/TagChecker.h"
#include "validate/ValUnit.h"

using namespace quorrel;

namespace {

// Questions are answered Yes or No as the input says, so that both roads are taken.
class InputDialogs : public TUserDialogs {
 public:
  bool yes = true;
  int ShowBox(const DialogCall& call) override {
    return call.kind == DialogKind::Message ? mrOk : (yes ? mrYes : mrNo);
  }
};

InputDialogs& Dialogs() {
  static InputDialogs dialogs;
  return dialogs;
}

unsigned currentFlags = 0;

// Keeps the page that showed the fault (its first byte the flags) and stops.
void Fail(const char* what, const std::string& page) {
  const std::string path = std::filesystem::temp_directory_path().string() + "/htmlfuzz-fault.htm";
  std::ofstream(path, std::ios::binary) << static_cast<char>(currentFlags) << page;
  std::fprintf(stderr, "%s (flags %u, %zu bytes): the page is in %s\n", what, currentFlags,
               page.size(), path.c_str());
  std::abort();
}

// The walk under the flags of the first byte; false when it stopped at an error.
bool Walk(const std::string& page, unsigned flags, std::string& out) {
  IsHtml = true;
  IsServerPage = flags & 1;
  IsPhp = IsServerPage && (flags & 2);
  CurrentExt = flags & 4 ? ".ASPX" : ".HTM";
  IsDotPage = flags & 8;
  NotInSite = flags & 16;
  MainMenu().SetChecked("DelBlanks", flags & 32);
  MainMenu().SetChecked("SmartQuotes", flags & 64);
  Dialogs().yes = !(flags & 128);
  ResetInsTagQuestion();

  THtmlRun run;
  run.in = run.original = page;
  ErrMsg.clear();
  bool stopped = false;
  try {
    // As ValidateHtml does: the edits before the walk, then the walk.
    HtmlPreEdits(run);
    InitHtmlRun(run);
    HtmlWalk(run);
  } catch (const EAbort&) {
    stopped = true;
  } catch (const std::exception& e) {
    Fail(e.what(), page);
  }
  if (run.pos > run.in.size() || HtmlRestStart(run) > run.in.size())
    Fail("walked past the end", page);
  if (run.stack.size() > MaxOpenTags) Fail("stack over its limit", page);
  stopped = stopped || !ErrMsg.empty();
  if (std::getenv("HTMLFUZZ_SHOW") && !ErrMsg.empty()) {
    std::fprintf(stderr, "error: %s\nat: %.80s\n", ErrMsg.c_str(),
                 run.in.substr(HtmlRestStart(run)).c_str());
  }
  ErrMsg.clear();
  out = run.out;
  return !stopped;
}

// The tag checker on the walk's output; false when it did not pass the page.
bool CheckTags(std::string& text) {
  THtmlRun run;
  run.in = run.original = run.out = text;
  InitHtmlRun(run);
  const size_t length = text.size();
  try {
    CheckHtmlTags(run);
  } catch (const EAbort&) {
    return false;
  } catch (const std::exception& e) {
    Fail(e.what(), text);
  }
  // The checker inserts entities and may add a server block's end: never more than
  // that many times the text.
  if (run.out.size() > 16 * length + 16) Fail("the checker's output grew without bound", text);
  text = run.out;
  return TagsPassed;
}

void CheckOne(const uint8_t* data, size_t size) {
  if (size == 0) return;
  const unsigned flags = data[0];
  currentFlags = flags;
  const std::string page(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string once, twice;
  if (!Walk(page, flags, once)) return;
  if (!Walk(once, flags, twice)) Fail("the re-formatted page has an error", page);
  if (twice != once) Fail("a second pass changes the page", page);
  std::string checked = once;
  if (!CheckTags(checked)) return;
  std::string again = checked;
  if (!CheckTags(again)) Fail("the checker stops on a page it passed", page);
  if (again != checked) Fail("a second check changes the page", page);
}

void SetUp() {
  static bool done = false;
  if (done) return;
  done = true;
  SetUserDialogs(&Dialogs());
  MainMenu().SetChecked("CheckH", false);
  IdleReady = true;  // the checker's messages are shown, not passed over
}

}  // namespace

#ifdef QUORREL_LIBFUZZER

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetUp();
  CheckOne(data, size);
  return 0;
}

extern "C" int LLVMFuzzerRunDriver(int* argc, char*** argv,
                                   int (*callback)(const uint8_t* data, size_t size));

int main(int argc, char** argv) {
  return LLVMFuzzerRunDriver(&argc, &argv, LLVMFuzzerTestOneInput);
}

#else

// Walks a kept page again and shows what each walk made of it.
int Replay(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (input.empty()) return 1;
  const unsigned flags = static_cast<unsigned char>(input[0]);
  std::string once, twice;
  for (int pass = 1; pass <= 2; ++pass) {
    std::string& out = pass == 1 ? once : twice;
    const std::string& page = pass == 1 ? input.substr(1) : once;
    THtmlRun run;
    run.in = page;
    const bool passed = Walk(page, flags, out);
    std::ofstream(path + ".out" + std::to_string(pass), std::ios::binary) << out;
    std::printf("pass %d: %s\n", pass, passed ? "passed" : "stopped");
    if (!passed) break;
  }
  // Then the tag checker twice on what the first walk made.
  std::string checked = once;
  for (int round = 1; round <= 2; ++round) {
    const bool passed = CheckTags(checked);
    std::ofstream(path + ".checked" + std::to_string(round), std::ios::binary) << checked;
    std::printf("check %d: %s\n", round, passed ? "passed" : "stopped");
    if (!passed) break;
  }
  return 0;
}

int main(int argc, char** argv) {
  SetUp();
  if (argc > 2 && std::string(argv[1]) == "replay") return Replay(argv[2]);
  const double seconds = argc > 1 ? std::atof(argv[1]) : 60;
  const std::string root = argc > 2 ? argv[2] : "/usr/share/doc";
  std::vector<std::string> seeds;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(
           root, std::filesystem::directory_options::skip_permission_denied)) {
    const std::string ext = entry.path().extension().string();
    if (entry.is_regular_file() && (ext == ".html" || ext == ".htm") &&
        entry.file_size() < 200000) {
      std::ifstream in(entry.path(), std::ios::binary);
      seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }
  if (seeds.empty()) seeds.push_back("<HTML><Head><Title>t</Title></Head><Body></Body></HTML>");
  static const char* const kPieces[] = {
      "<",    ">",        "</",        "\"",           "'",     "\n",   "<!--",    "-->",
      "<%",   "%>",       "<?php",     "?>",           "<TD>",  "<TR>", "<Table>", "</Table>",
      "<LI>", "<Script>", "</Script>", "<Style>",      "<Pre>", "<H1>", "<B>",     "</I>",
      "\x96", "\x99",     "\xA0",      "\xE2\x80\x99", " ",     "<Div>"};
  std::mt19937_64 random(std::getenv("HTMLFUZZ_SEED") ? std::atoll(std::getenv("HTMLFUZZ_SEED"))
                                                      : 12345);
  const auto start = std::chrono::steady_clock::now();
  size_t runs = 0;
  while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() <
         seconds) {
    std::string page = seeds[random() % seeds.size()];
    const int edits = 1 + static_cast<int>(random() % 16);
    for (int e = 0; e < edits && !page.empty(); ++e) {
      const size_t at = random() % (page.size() + 1);
      switch (random() % 4) {
        case 0:
          page.insert(at, kPieces[random() % std::size(kPieces)]);
          break;
        case 1:
          page.erase(at, random() % 64);
          break;
        case 2:
          if (at < page.size()) page[at] = static_cast<char>(random());
          break;
        default: {
          const size_t from = random() % page.size();
          page.insert(at, page.substr(from, random() % 256));
        }
      }
    }
    std::string input(1, static_cast<char>(random()));
    input += page;
    CheckOne(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    ++runs;
  }
  std::printf("%zu pages walked in %.0f s without a fault\n", runs, seconds);
  return 0;
}

#endif
