// Times the HTML validator's walk over every HTML page under /usr/share/doc and
// over a generated 1 MB page, against Debian's tidy ("tidy -q -e") on the same
// files in the same run. Run: bench_htmlvalidate [folder]
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/UserDialogs.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/HtmlRun.h"
#include "validate/HtmlSteps.h"
#include "validate/ValUnit.h"

using namespace quorrel;

namespace {

using Clock = std::chrono::steady_clock;

// Every question is answered Yes, so that the walk goes as far as the page lets it.
class YesDialogs : public TUserDialogs {
 public:
  int ShowBox(const DialogCall& call) override {
    return call.kind == DialogKind::Message ? mrOk : mrYes;
  }
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The page as the editor's working copy holds it: Windows-1252 with LF line ends.
std::string WorkingCopy(const std::string& bytes) {
  std::string text = Utf8ToAnsi(bytes);
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

struct TOurs {
  double seconds = 0;
  size_t walked = 0;  // bytes the walk took over before it stopped
  bool error = false;
};

TOurs Validate(const std::string& page) {
  TOurs result;
  const auto start = Clock::now();
  THtmlRun run;
  run.in = run.original = page;
  ErrMsg.clear();
  try {
    HtmlPreEdits(run);
    InitHtmlRun(run);
    HtmlWalk(run);
  } catch (const EAbort&) {
    result.error = true;
  }
  result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  result.walked = HtmlRestStart(run);
  result.error = result.error || !ErrMsg.empty();
  ErrMsg.clear();
  return result;
}

double Tidy(const std::string& path) {
  const auto start = Clock::now();
  QProcess tidy;
  tidy.start("tidy", QStringList{"-q", "-e", QString::fromStdString(path)});
  tidy.waitForFinished(-1);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A well-formed page of about 1 MB: headings, paragraphs, lists, tables, forms and
// scripts, over and over.
std::string GeneratedPage() {
  std::string body;
  int n = 0;
  while (body.size() < 1024 * 1024) {
    const std::string i = std::to_string(n++);
    body += "<H1>Part " + i + "</H1>\n<P>Some text of part " + i +
            " with <B>bold</B>, <I>italic</I> and a <A Href=\"page" + i +
            ".htm\">link</A>.\n<UL>\n<LI>one</LI>\n<LI>two <Span Class=x>three</Span></LI>\n</UL>\n"
            "<Table Class=grid>\n<TR><TH>Name</TH><TH>Value</TH></TR>\n"
            "<TR><TD>a</TD><TD>1</TD></TR>\n<TR><TD>b</TD><TD><Div>2</Div></TD></TR>\n</Table>\n"
            "<Form Action=\"x.php\">\n<Input Name=q><Button>Go</Button>\n</Form>\n"
            "<Script>\nvar x = " +
            i + ";\nif (x < 2) x++;\n</Script>\n<Pre>\n  code " + i + "\n</Pre>\n";
  }
  return "<!DOCTYPE HTML>\n<HTML Lang=en>\n<Head>\n<Meta Charset=\"utf-8\">\n<Title>Big</Title>\n"
         "</Head>\n<Body>\n" +
         body + "</Body>\n</HTML>\n";
}

}  // namespace

int main(int argc, char** argv) {
  const std::string root = argc > 1 ? argv[1] : "/usr/share/doc";
  YesDialogs dialogs;
  SetUserDialogs(&dialogs);
  IsHtml = true;
  CurrentExt = ".HTM";
  MainMenu().SetChecked("CheckH", false);

  std::vector<std::string> pages;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(
           root, std::filesystem::directory_options::skip_permission_denied)) {
    const std::string ext = entry.path().extension().string();
    if (entry.is_regular_file() && (ext == ".html" || ext == ".htm")) {
      pages.push_back(entry.path().string());
    }
  }
  std::sort(pages.begin(), pages.end());

  double ours = 0, tidy = 0;
  size_t bytes = 0, walked = 0, stopped = 0;
  for (const std::string& path : pages) {
    const std::string page = WorkingCopy(ReadFile(path));
    bytes += page.size();
    // Best of three, as the other benchmarks time.
    TOurs best;
    for (int round = 0; round < 3; ++round) {
      TOurs r = Validate(page);
      if (round == 0 || r.seconds < best.seconds) best = r;
    }
    ours += best.seconds;
    walked += best.walked;
    if (best.error) ++stopped;
    tidy += Tidy(path);
  }
  std::printf("%zu pages, %.1f MB (%.1f MB walked before the first error; %zu pages have one)\n",
              pages.size(), bytes / 1e6, walked / 1e6, stopped);
  std::printf("  validator %.3f s, tidy -q -e %.3f s, tidy / validator %.1f\n", ours, tidy,
              ours > 0 ? tidy / ours : 0.0);

  const std::string big = GeneratedPage();
  const std::string bigPath =
      std::filesystem::temp_directory_path().string() + "/htmlvalidate-1mb.htm";
  std::ofstream(bigPath, std::ios::binary) << big;
  TOurs one;
  for (int round = 0; round < 3; ++round) {
    TOurs r = Validate(big);
    if (round == 0 || r.seconds < one.seconds) one = r;
  }
  const double tidyOne = Tidy(bigPath);
  std::printf("generated page %.2f MB: validator %.3f s%s, tidy -q -e %.3f s, ratio %.1f\n",
              big.size() / 1e6, one.seconds, one.error ? " (stopped at an error!)" : "", tidyOne,
              one.seconds > 0 ? tidyOne / one.seconds : 0.0);
  std::filesystem::remove(bigPath);
  return 0;
}
