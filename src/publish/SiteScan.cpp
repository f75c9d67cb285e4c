#include "publish/SiteScan.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/PageTitle.h"
#include "shell/SiteFiles.h"
#include "shell/TextFiles.h"
#include "shell/TextSearch.h"

namespace quorrel {

namespace {

// Titles stand near the top of a page: the first bytes are read, and twice as many
// when they hold none.
constexpr size_t kTitleBytes = 270;
constexpr size_t kMoreTitleBytes = 540;
// Larger files are not searched: they count as empty.
constexpr off_t kLargestSearched = 10'000'000;
// Unreadable files are reported this many times; after that, once that more are
// ignored.
constexpr int kErrorsReported = 3;
// The list on the screen follows the scan every so many files.
constexpr int kRefreshEvery = 50;
// The deepest level a regeneration lists.
constexpr int kRegenerateDepth = 4;

constexpr char kNoTitle[] = "[No title]";

bool IsTitledPage(const std::string& path) {
  const std::string ext = UpperCaseAnsi(ExtractFileExt(path));
  return ext == ".HTM" || ext == ".HTML" || ext == ".ASPX" || ext == ".ASP";
}

// Up to limit bytes from the start of a file (the whole file without a limit);
// nullopt when it cannot be read.
std::optional<std::string> ReadStart(const std::string& path, size_t limit) {
  const int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  while (bytes.size() < limit) {
    const size_t want = std::min(sizeof(buffer), limit - bytes.size());
    const ssize_t got = read(fd, buffer, want);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      close(fd);
      return std::nullopt;
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<size_t>(got));
  }
  close(fd);
  return bytes;
}

// A title stays on its line of the list: a title written over several lines would
// otherwise make lines of the list that are no files.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  }
  return text;
}

std::string TitleOf(const std::string& start) {
  return OneLine(GetPageTitle(start));
}

bool Holds(const std::string& text, const std::vector<std::string>& forms,
           const TSearchOptions& options) {
  return std::any_of(forms.begin(), forms.end(), [&](const std::string& form) {
    return FindOccurrence(text, form, 0, text.size(), options) != std::string::npos;
  });
}

class TScan {
 public:
  TScan(const TScanRequest& request, TScanObserver* observer)
      : request_(request), observer_(observer ? observer : &quiet_) {
    titles_ = !request.session && !request.regenerate &&
              (request.showTitles || EndsWithNoCase(request.root, "/html/"));
    content_ = request.find.has_value() || request.session;
    if (request.find) {
      options_.caseSensitive = request.find->caseSensitive;
      options_.wholeWords = request.find->wholeWords;
      plainForms_ = SearchForms(request.find->text, false);
      rtfForms_ = SearchForms(request.find->text, true);
    }
  }

  TScanResult Run() {
    std::string mask = request_.mask.empty() ? "*" : request_.mask;
    if (mask.find('.') == std::string::npos) mask += ".*";
    TSiteWalk walk;
    walk.root = request_.root;
    walk.mask = mask;
    walk.subFolders = request_.subFolders || request_.session;
    if (request_.regenerate) walk.maxDepth = kRegenerateDepth;
    walk.file = [this](const std::string& relative) { return File(relative); };
    const bool completed = WalkSiteFiles(walk);
    SortLines();
    for (TSiteListLine& line : lines_) result_.entries.push_back(std::move(line.line));
    if (!completed) {
      result_.interrupted = true;
      result_.counter = "Files:  " + std::to_string(result_.scanned) + " (interrupted)";
      PlayWaveResource("SystemHand");
      return std::move(result_);
    }
    result_.tooDeep = walk.deeperLeftOut && !request_.regenerate;
    result_.counter = Counter() + (request_.find ? "  (from Find)" : "  (Total)");
    if (request_.session && request_.sessionDone) request_.sessionDone();
    return std::move(result_);
  }

 private:
  // One file; false ends the scan.
  bool File(const std::string& relative) {
    if (observer_->TakeCancel()) {
      // While titles are read, Cancel only stops reading them.
      if (!titles_) return false;
      titles_ = false;
    }
    const std::string path = request_.root + relative;
    std::string entry = ScanEntry(relative, "");
    if (request_.regenerate && entry.find(".Bak") != std::string::npos) return true;
    ++result_.scanned;
    bool listed = true;
    std::string start;  // the file's first bytes, when they have been read
    if (content_) {
      const std::optional<std::string> text = ReadContent(path);
      if (!text) {
        ReportUnreadable(entry);
        listed = false;
      } else {
        start = text->substr(0, kMoreTitleBytes);
        if (request_.session && request_.sessionFile) request_.sessionFile(path, *text);
        if (request_.find)
          listed = Holds(*text, IsRtfFile(path) ? rtfForms_ : plainForms_, options_);
      }
    }
    if (listed) {
      if (request_.find) ++result_.found;
      if (titles_ && IsTitledPage(path)) {
        const std::string title = Title(path, start);
        if (!title.empty()) entry += TitleMark + title;
      }
      lines_.push_back(SiteListLine(std::move(entry)));
    }
    if (observer_ == &quiet_) return true;
    observer_->Counter(Counter(), result_.scanned % 2 == 1);
    if (result_.scanned % kRefreshEvery == 0) {
      SortLines();
      std::vector<std::string> shown;
      shown.reserve(lines_.size());
      for (const TSiteListLine& line : lines_) shown.push_back(line.line);
      observer_->Entries(shown);
    }
    return true;
  }

  // The lines added since the last sort join the sorted ones.
  void SortLines() {
    const auto middle = lines_.begin() + static_cast<std::ptrdiff_t>(sorted_);
    std::sort(middle, lines_.end(), SiteListLess);
    std::inplace_merge(lines_.begin(), middle, lines_.end(), SiteListLess);
    sorted_ = lines_.size();
  }

  std::string Title(const std::string& path, const std::string& start) {
    if (!content_) return ListedTitle(path);
    const std::string title = TitleOf(start.substr(0, kTitleBytes));
    return title == kNoTitle ? TitleOf(start) : title;
  }

  std::optional<std::string> ReadContent(const std::string& path) {
    struct stat st;
    if (stat(NativePath(path).c_str(), &st) != 0) return std::nullopt;
    if (request_.find && st.st_size >= kLargestSearched) return std::string();
    return ReadStart(path, static_cast<size_t>(-1));
  }

  static bool IsRtfFile(const std::string& path) {
    return UpperCaseAnsi(ExtractFileExt(path)) == ".RTF";
  }

  void ReportUnreadable(const std::string& entry) {
    ++errors_;
    if (errors_ <= kErrorsReported) {
      lines_.push_back(SiteListLine(std::string(1, ErrorLineMark) + " Cannot read " + entry));
    } else if (errors_ == kErrorsReported + 1) {
      lines_.push_back(SiteListLine(std::string(1, ErrorLineMark) + " Further errors ignored."));
    }
  }

  std::string Counter() const {
    std::string text = "Scanned: " + std::to_string(result_.scanned);
    if (request_.find) text += ",  Found: " + std::to_string(result_.found);
    return text;
  }

  const TScanRequest& request_;
  TScanObserver quiet_;
  TScanObserver* observer_;
  bool titles_ = false;
  bool content_ = false;
  TSearchOptions options_;
  std::vector<std::string> plainForms_;
  std::vector<std::string> rtfForms_;
  int errors_ = 0;
  std::vector<TSiteListLine> lines_;
  size_t sorted_ = 0;  // lines_ is sorted up to here
  TScanResult result_;
};

}  // namespace

std::string ScanEntry(const std::string& relative, const std::string& title) {
  const size_t slash = relative.rfind('/');
  const size_t at = slash == std::string::npos ? 0 : slash + 1;
  std::string entry = relative.substr(0, at) + " " + relative.substr(at);
  if (!title.empty()) entry += TitleMark + title;
  return entry;
}

std::string ListedTitle(const std::string& path) {
  if (!IsTitledPage(path)) return "";
  const std::optional<std::string> first = ReadStart(path, kTitleBytes);
  if (!first) return kNoTitle;
  std::string title = TitleOf(*first);
  if (title != kNoTitle || first->size() < kTitleBytes) return title;
  const std::optional<std::string> more = ReadStart(path, kMoreTitleBytes);
  return more ? TitleOf(*more) : title;
}

std::vector<std::string> SearchForms(const std::string& text, bool rtfFile) {
  const std::string lines = ReplaceCase(text, "\r\n", "\n");
  if (lines.find('\n') == std::string::npos) return {text};
  if (rtfFile) return {ReplaceCase(lines, "\n", "\r\n\\par ")};
  // Pages are saved with LF line ends, other texts with CR LF: either may hold it.
  return {ReplaceCase(lines, "\n", "\r\n"), lines};
}

TScanResult DoScan(const TScanRequest& request, TScanObserver* observer) {
  return TScan(request, observer).Run();
}

}  // namespace quorrel
