// Syntax colours of the editor control: colour runs laid over the text as the
// layout formats of its blocks, never as edits, so that the undo stack and the
// modified state stay as they are.
#include <QColor>
#include <QPalette>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <chrono>

#include "ui/platform/Colours.h"
#include "ui/platform/RichEdit.h"

namespace quorrel {

namespace {

// The user state of a block whose formats wait for the event loop.
constexpr int kWaiting = 0x51C0;
// Changes over up to this many blocks are formatted at once; beyond it only the
// lines near the view are, and the rest a slice at a time, so that colouring a
// long text never holds the editor up. Blocks, not characters: each costs the
// same however long it is.
constexpr int kAtOnce = 2000;
constexpr size_t kViewMargin = 100;  // lines
constexpr auto kSlice = std::chrono::milliseconds(8);

// The blocks whose formats changed are laid out again in one pass over the span
// from the first to the last: a pass per block would lay out everything before
// each one again, seconds on a long text with its coloured blocks far apart.
class TDirtySpan {
 public:
  explicit TDirtySpan(QTextDocument* doc) : doc_(doc) {}
  ~TDirtySpan() { Flush(); }
  TDirtySpan(const TDirtySpan&) = delete;
  TDirtySpan& operator=(const TDirtySpan&) = delete;
  void Add(int start, int end) {
    if (start_ < 0 || start < start_) start_ = start;
    end_ = std::max(end_, end);
  }
  void Flush() {
    if (end_ > start_) doc_->markContentsDirty(start_, end_ - start_);
    start_ = end_ = -1;
  }

 private:
  QTextDocument* doc_;
  int start_ = -1, end_ = -1;
};

}  // namespace

void TRichEdit::SetColourRuns(std::vector<TColourRun> runs) {
  std::vector<TColourRun> old = ColourRuns();
  TMyRich::SetColourRuns(std::move(runs));
  const std::vector<TColourRun>& now = ColourRuns();
  // Only where the runs differ do blocks get new formats, so that recolouring a
  // long text after a small change touches a few blocks.
  std::vector<std::pair<size_t, size_t>> changed;
  auto mark = [&changed](const TColourRun& run) {
    size_t end = run.start + run.length;
    if (!changed.empty() && run.start <= changed.back().second) {
      changed.back().second = std::max(changed.back().second, end);
    } else {
      changed.push_back({run.start, end});
    }
  };
  size_t i = 0, j = 0;
  while (i < old.size() || j < now.size()) {
    if (i < old.size() && j < now.size() && old[i] == now[j]) {
      ++i, ++j;
    } else if (j == now.size() || (i < old.size() && old[i].start < now[j].start)) {
      mark(old[i++]);
    } else if (i == old.size() || now[j].start < old[i].start) {
      mark(now[j++]);
    } else {
      mark(old[i++]);
      mark(now[j++]);
    }
  }
  FormatBlocks(changed);
}

void TRichEdit::ColoursFollowEdit(int from, int removed, int added) {
  if (ColourRuns().empty()) return;
  MoveColourRuns(from, removed, added);
  FormatBlocks({{static_cast<size_t>(from), static_cast<size_t>(from + added)}});
}

const QTextCharFormat& TRichEdit::RunFormat(int colour, int background) {
  qint64 key = (static_cast<qint64>(background) << 32) | static_cast<quint32>(colour);
  auto found = runFormats_.find(key);
  if (found != runFormats_.end()) return *found;
  QTextCharFormat format;
  format.setForeground(ColourFromBgr(colour));
  if (background >= 0) format.setBackground(ColourFromBgr(background));
  return *runFormats_.insert(key, format);
}

bool TRichEdit::FormatBlock(QTextBlock block) {
  if (block.userState() == kWaiting) {
    block.setUserState(-1);
    --waitingBlocks_;
  }
  const std::vector<TColourRun>& runs = ColourRuns();
  const size_t start = block.position();
  const size_t end = start + block.length();
  auto run = std::lower_bound(runs.begin(), runs.end(), start, [](const TColourRun& r, size_t at) {
    return r.start + r.length <= at;
  });
  QList<QTextLayout::FormatRange> formats;
  for (; run != runs.end() && run->start < end; ++run) {
    size_t a = std::max(run->start, start), b = std::min(run->start + run->length, end);
    formats.append({static_cast<int>(a - start), static_cast<int>(b - a),
                    RunFormat(run->colour, run->background)});
  }
  if (formats.isEmpty() && block.layout()->formats().isEmpty()) return false;
  block.layout()->setFormats(formats);
  return true;
}

void TRichEdit::FormatBlocks(const std::vector<std::pair<size_t, size_t>>& ranges) {
  QTextDocument* doc = document();
  auto blockAt = [doc](size_t pos) {
    const QTextBlock block = doc->findBlock(static_cast<int>(pos));
    return block.isValid() ? block.blockNumber() : doc->blockCount() - 1;
  };
  int blocks = 0;
  for (const auto& [from, to] : ranges) blocks += blockAt(to) - blockAt(from) + 1;
  size_t nearFrom = 0, nearTo = static_cast<size_t>(-1);
  if (blocks > kAtOnce) {
    size_t first = FirstVisibleLine();
    nearFrom = LineIndex(first > kViewMargin ? first - kViewMargin : 0);
    nearTo = LineIndex(first + VisibleLineCount() + kViewMargin);
  }
  TDirtySpan spans(doc);
  int lastBlock = -1;
  for (const auto& [from, to] : ranges) {
    QTextBlock block = doc->findBlock(static_cast<int>(from));
    if (!block.isValid()) break;
    if (block.blockNumber() <= lastBlock) block = block.next();  // done already
    for (; block.isValid() && static_cast<size_t>(block.position()) <= to; block = block.next()) {
      lastBlock = block.blockNumber();
      const size_t start = block.position(), end = start + block.length();
      if (end >= nearFrom && start <= nearTo) {
        if (FormatBlock(block)) spans.Add(static_cast<int>(start), static_cast<int>(end));
      } else if (block.userState() != kWaiting) {
        block.setUserState(kWaiting);
        ++waitingBlocks_;
      }
    }
  }
  spans.Flush();
  if (waitingBlocks_ > 0) {
    if (!colourTimer_) {
      colourTimer_ = new QTimer(this);
      colourTimer_->setSingleShot(true);
      connect(colourTimer_, &QTimer::timeout, this, [this] { FormatWaitingBlocks(); });
    }
    if (!colourTimer_->isActive()) colourTimer_->start(0);
  }
}

void TRichEdit::FormatWaitingBlocks() {
  QTextDocument* doc = document();
  const auto deadline = std::chrono::steady_clock::now() + kSlice;
  QTextBlock block = doc->findBlockByNumber(waitingFrom_);
  const int count = doc->blockCount();
  int seen = 0, done = 0;
  {
    TDirtySpan spans(doc);
    while (waitingBlocks_ > 0 && seen <= count) {
      if (!block.isValid()) block = doc->begin();
      if (block.userState() == kWaiting) {
        if (FormatBlock(block)) spans.Add(block.position(), block.position() + block.length());
        if (++done % 32 == 0 && std::chrono::steady_clock::now() > deadline) break;
      }
      block = block.next();
      ++seen;
    }
  }
  // A whole round without finding them: the waiting blocks went with an edit.
  if (seen > count) waitingBlocks_ = 0;
  waitingFrom_ = block.isValid() ? block.blockNumber() : 0;
  if (waitingBlocks_ > 0) colourTimer_->start(0);
}

void TRichEdit::SetEditorColour(int colour) {
  TMyRich::SetEditorColour(colour);
  QPalette p = palette();
  p.setColor(QPalette::Base, ColourFromBgr(colour));
  setPalette(p);
}

void TRichEdit::SetTextColour(int colour) {
  TMyRich::SetTextColour(colour);
  QPalette p = palette();
  p.setColor(QPalette::Text, ColourFromBgr(colour));
  setPalette(p);
}

}  // namespace quorrel
