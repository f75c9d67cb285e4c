#include "validate/XmlLayout.h"

#include <vector>

#include "shell/FastStrings.h"

namespace quorrel {

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr size_t kAfterShown = 40;   // characters shown after a missing ">"
constexpr size_t kBeforeShown = 200;  // characters shown before a mismatched end tag
constexpr size_t kOutputShown = 40;  // characters of the output shown before a stray character

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

bool IsNameEnd(char c) {
  return c == ' ' || c == '\t' || IsLineEnd(c) || c == '/' || c == '>';
}

struct TOpenElement {
  std::string name;
  size_t start = 0;  // where its start tag stands in the input
};

// One run over a document. The elements still open are a stack of our own, so a
// deeply nested document costs memory, never the call stack.
class TXmlRun {
 public:
  explicit TXmlRun(const std::string& text) : in_(text) {}

  TXmlLayout Run() {
    // The XML declaration is taken as it stands, through its first ">".
    const size_t declarationEnd = in_.find('>');
    if (declarationEnd == std::string::npos) {
      Standalone(NotFoundMessage(">", in_));
      return Result();
    }
    out_.assign(in_, 0, declarationEnd + 1);
    pos_ = declarationEnd + 1;
    ParseXmlContent();
    if (!error_) {
      const std::string rest = in_.substr(pos_);
      out_ += kLineEnd;
      if (rest != "\n") out_ += rest;
    }
    return Result();
  }

 private:
  const std::string& in_;
  size_t pos_ = 0;
  std::string out_;
  std::vector<TOpenElement> open_;
  std::optional<TValidationError> error_;

  TXmlLayout Result() { return TXmlLayout{std::move(out_), std::move(error_)}; }

  size_t Size() const { return in_.size(); }

  void ErrorAt(size_t offset, const std::string& message) {
    if (error_) return;
    TValidationError error;
    error.offset = offset;
    error.message = message;
    error.offsetFirst = true;
    error_ = error;
  }

  void Standalone(const std::string& message) {
    if (error_) return;
    TValidationError error;
    error.message = message;
    error.atOffset = false;
    error_ = error;
  }

  // Blanks and line ends go; tabs are not skipped.
  void SkipXmlBlanks() {
    while (pos_ < Size() && (in_[pos_] == ' ' || IsLineEnd(in_[pos_]))) ++pos_;
  }

  // Tabs (with blanks among them) from p on, as a writer indents a line with them.
  size_t AfterTabs(size_t p) const {
    if (p >= Size() || in_[p] != '\t') return p;
    while (p < Size() && (in_[p] == '\t' || in_[p] == ' ')) ++p;
    return p;
  }

  // The space between two items. Tabs are the writer's own and are kept: tabs that
  // end a line stay at the end of its output line, tabs that indent a tag stay in
  // front of it (see Lead).
  void Gap() {
    while (true) {
      SkipXmlBlanks();
      const size_t after = AfterTabs(pos_);
      if (after == pos_ || (after < Size() && !IsLineEnd(in_[after]))) return;
      out_.append(in_, pos_, after - pos_);
      pos_ = after;
    }
  }

  // Takes the tabs in front of the markup at pos_, to be written before it.
  std::string Lead() {
    const size_t after = AfterTabs(pos_);
    std::string lead = in_.substr(pos_, after - pos_);
    pos_ = after;
    return lead;
  }

  bool AtEndTag() const { return in_.compare(AfterTabs(pos_), 2, "</") == 0; }

  std::string Indent() const { return std::string(2 * open_.size(), ' '); }

  void EndLine() {
    if (!out_.empty() && out_.back() != '\n') out_ += kLineEnd;
  }

  // The name in an end tag running from "</" at `from` to its ">" at `gt`.
  std::string EndTagName(size_t from, size_t gt) const {
    size_t end = from + 2;
    while (end < gt && !IsNameEnd(in_[end])) ++end;
    return in_.substr(from + 2, end - from - 2);
  }

  std::string Before(size_t at, size_t count) const {
    const size_t from = at > count ? at - count : 0;
    return in_.substr(from, at - from);
  }

  // The ">" that ends a tag starting at `from`; a ">" inside a quoted attribute
  // value does not end it.
  size_t TagEnd(size_t from) const {
    char quote = 0;
    for (size_t p = from + 1; p < Size(); ++p) {
      const char c = in_[p];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>') {
        return p;
      }
    }
    return std::string::npos;
  }

  // The ">" that ends a DOCTYPE, after its internal subset in brackets, whose
  // declarations, comments and quoted values hold ">" of their own.
  size_t DoctypeEnd(size_t from) const {
    bool subset = false;
    for (size_t p = from + 2; p < Size(); ++p) {
      const char c = in_[p];
      if (c == '"' || c == '\'') {
        p = in_.find(c, p + 1);
        if (p == std::string::npos) return p;
      } else if (subset && in_.compare(p, 4, "<!--") == 0) {
        p = in_.find("-->", p + 4);
        if (p == std::string::npos) return p;
        p += 2;
      } else if (subset && in_.compare(p, 2, "<?") == 0) {
        p = in_.find("?>", p + 2);
        if (p == std::string::npos) return p;
        ++p;
      } else if (c == '[') {
        subset = true;
      } else if (c == ']') {
        subset = false;
      } else if (c == '>' && !subset) {
        return p;
      }
    }
    return std::string::npos;
  }

  // The next "</" of the text from `from` on; "</" inside a comment or a CDATA
  // section is part of the text.
  size_t TextEnd(size_t from) const {
    for (size_t p = in_.find('<', from); p != std::string::npos; p = in_.find('<', p + 1)) {
      if (in_.compare(p, 2, "</") == 0) return p;
      const char* close = in_.compare(p, 4, "<!--") == 0        ? "-->"
                          : in_.compare(p, 9, "<![CDATA[") == 0 ? "]]>"
                                                                : nullptr;
      if (close) {
        p = in_.find(close, p + 4);
        if (p == std::string::npos) return p;
      }
    }
    return std::string::npos;
  }

  // After an item only markup may follow, or the end of the text.
  void AfterItem() {
    Gap();
    const size_t at = AfterTabs(pos_);
    if (at >= Size() || in_[at] == '<') return;
    const unsigned char c = static_cast<unsigned char>(in_[at]);
    ErrorAt(at, "Expected \"<\" after \r" + RightChars(out_, kOutputShown) + "\rbut found " +
                    std::string(1, static_cast<char>(c)) + " Chr(" + std::to_string(c) + ").");
  }

  // Checks the end tag at `from` against the element's name and returns the
  // index of its ">" (npos after an error). The preceding text is laid out on a
  // line of its own after an element, on the same line after text.
  size_t MatchEndTag(size_t from, const std::string& name, const char* precedingText) {
    const size_t gt = in_.find('>', from);
    if (gt == std::string::npos) {
      ErrorAt(from, "Final \">\" not found after\r" + in_.substr(from, kAfterShown));
      return gt;
    }
    const std::string endName = EndTagName(from, gt);
    if (endName != name) {
      ErrorAt(from, "<" + name + "> cannot be terminated by </" + endName + ">" + precedingText +
                        Before(gt, kBeforeShown));
      return std::string::npos;
    }
    return gt;
  }

  // The end tag at pos_ closes the element on top of the stack.
  void CloseElement() {
    const std::string lead = Lead();
    if (open_.empty()) {
      const size_t gt = in_.find('>', pos_);
      const size_t end = gt == std::string::npos ? pos_ + 2 : gt;
      ErrorAt(pos_, "</" + EndTagName(pos_, end) + "> has not been opened.");
      return;
    }
    const TOpenElement element = open_.back();
    open_.pop_back();
    const size_t gt = MatchEndTag(pos_, element.name, "\rPreceding text: ");
    if (gt == std::string::npos) return;
    EndLine();
    out_ += Indent() + lead;
    out_.append(in_, pos_, gt + 1 - pos_);
    pos_ = gt + 1;
    AfterItem();
  }

  // Copies a construct that opens no level, from pos_ through `end` (the index after
  // it), on a line of its own.
  void CopyAsItStands(const std::string& lead, size_t end) {
    out_ += Indent() + lead;
    out_.append(in_, pos_, end - pos_);
    pos_ = end;
    AfterItem();
  }

  // One item at pos_: a comment, a CDATA section, the DOCTYPE, or an element with
  // what follows its start tag.
  void Item() {
    const std::string lead = Lead();
    const size_t start = pos_;
    if (in_[start] != '<') {
      AfterItem();  // reports the stray character
      return;
    }
    if (in_.compare(start, 4, "<!--") == 0) {
      const size_t end = in_.find("-->", start + 4);
      if (end == std::string::npos) return ErrorAt(start, "Unterminated comment.");
      return CopyAsItStands(lead, end + 3);
    }
    if (in_.compare(start, 9, "<![CDATA[") == 0) {
      const size_t end = in_.find("]]>", start + 9);
      if (end == std::string::npos) return Standalone(NotFoundMessage("]]>", in_, start + 1));
      return CopyAsItStands(lead, end + 3);
    }
    if (open_.empty() && in_.compare(start, 9, "<!DOCTYPE") == 0) {
      const size_t end = DoctypeEnd(start);
      if (end == std::string::npos) return Standalone(NotFoundMessage(">", in_, start + 1));
      return CopyAsItStands(lead, end + 1);
    }

    const size_t gt = TagEnd(start);
    if (gt == std::string::npos) return Standalone(NotFoundMessage(">", in_, start + 1));
    std::string tag = in_.substr(start, gt + 1 - start);
    const bool empty = tag.size() >= 3 && tag.ends_with("/>");
    if (empty && tag[tag.size() - 3] != ' ') tag.insert(tag.size() - 2, 1, ' ');
    size_t nameEnd = 1;
    while (nameEnd < tag.size() && !IsNameEnd(tag[nameEnd])) ++nameEnd;
    const std::string name = tag.substr(1, nameEnd - 1);
    if (name == "--!") return ErrorAt(start, "Sorry, Quorrel has a problem validating comments!");
    out_ += Indent() + lead + tag;
    pos_ = gt + 1;
    // A processing instruction opens no level.
    if (empty || name.starts_with('?') || name == "!--") return AfterItem();

    // Blanks before a text are part of it; before an element or an end tag they go.
    const size_t contentStart = pos_;
    SkipXmlBlanks();
    // No content: the end tag joins the start tag's line.
    const std::string endTag = "</" + name + ">";
    if (in_.compare(pos_, endTag.size(), endTag) == 0) {
      out_ += endTag;
      pos_ += endTag.size();
      return AfterItem();
    }
    const size_t next = AfterTabs(pos_);
    if (next >= Size() || in_[next] == '<') {
      if (open_.size() >= MaxXmlDepth) return ErrorAt(start, XmlTooDeepMessage);
      open_.push_back({name, start});  // elements follow, a level deeper
      return;
    }
    // Text: copied as it stands, with the end tag, on the same line.
    const size_t close = TextEnd(pos_);
    if (close == std::string::npos) {
      open_.push_back({name, start});  // still open at the end of the text
      pos_ = Size();
      return;
    }
    const size_t endGt = MatchEndTag(close, name, "\rPreceding text:\r");
    if (endGt == std::string::npos) return;
    out_.append(in_, contentStart, endGt + 1 - contentStart);
    pos_ = endGt + 1;
    AfterItem();
  }

  // The items of the document, level by level, until the end of the text or the
  // first error. Every turn takes input or ends.
  void ParseXmlContent() {
    while (!error_) {
      if (AtEndTag()) {
        CloseElement();
        continue;
      }
      Gap();
      if (pos_ >= Size()) break;
      if (AtEndTag()) {
        CloseElement();
        continue;
      }
      EndLine();
      Item();
    }
    if (!error_ && !open_.empty()) Standalone(XmlFinalLevelMessage);
  }
};

}  // namespace

TXmlLayout LayOutXml(const std::string& text) {
  return TXmlRun(text).Run();
}

}  // namespace quorrel
