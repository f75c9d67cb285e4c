#include "validate/HtmlTagLists.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "shell/FastStrings.h"

namespace quorrel {

#define QUORREL_INLINE_TAGS                                                                        \
  "|A|B|I|U|S|FONT|STRONG|IMG|SPAN|Q|EM|NOBR|WBR|SUB|SUP|KBD|BIG|SMALL|TT|SUP|SUB|LABEL|FIELDSET|" \
  "LEGEND|CAPTION|PARAM|STRIKE|EMBED|ITEMTEMPLATE|HEADERTEMPLATE|INPUT|TEXTAREA|IFRAME|BUTTON|"

const char HtmlInlineTags[] = QUORREL_INLINE_TAGS;
const char HtmlShortContentTags[] = QUORREL_INLINE_TAGS
    "CENTER|IMG|P|TITLE|OPTION|H1|H2|H3|H4|H5|H6|TR|TH|TD|LI|CODE|DL|DT|DD|DIV|TEXTAREA|";
const char HtmlVoidTags[] =
    "|P|IMG|HR|BR|COL|PARAM|META|LINK|!|AREA|INPUT|FRAME|BASE|BASEFONT|ISINDEX|ITEMSTYLE|"
    "PAGERSETTINGS|PAGERSTYLE|SELECTEDROWSTYLE|BGSOUND|WBR|EMBED|SOURCE|PATH|";
const char HtmlTopTags[] = "|HTML|BODY|";

#undef QUORREL_INLINE_TAGS

namespace {

// Server controls that hold blocks of their own and are laid out as such.
const char kBlockServerControls[] =
    "|ASP:PANEL|ASP:DROPDOWNLIST|ASP:SQLDATASOURCE|TELERIK:RADGRID|TELERIK:RADWINDOWMANAGER|"
    "TELERIK:RADPANE|TELERIK:RADSPLITTER|ASP:CONTROLPARAMETER|ASP:LISTITEM|ASP:PARAMETER|";

// A "|"-separated list as a set of its names.
class TTagSet {
 public:
  explicit TTagSet(std::string_view list) {
    size_t from = 0;
    while (from < list.size()) {
      size_t end = list.find('|', from);
      if (end == std::string_view::npos) end = list.size();
      if (end > from) names_.emplace(list.substr(from, end - from));
      from = end + 1;
    }
  }
  // name is upper case already.
  bool Holds(const std::string& name) const { return names_.count(name) != 0; }
  const std::unordered_set<std::string>& Names() const { return names_; }

 private:
  std::unordered_set<std::string> names_;
};

const TTagSet& BlockControlSet() {
  static const TTagSet set(kBlockServerControls);
  return set;
}

// Which of the three lists each listed name is in, found with one lookup per tag.
enum : unsigned char { kInline = 1, kShortContent = 2, kVoid = 4 };

const std::unordered_map<std::string, unsigned char>& ListedTags() {
  static const std::unordered_map<std::string, unsigned char> tags = [] {
    std::unordered_map<std::string, unsigned char> map;
    for (const auto& [list, flag] :
         {std::pair{HtmlInlineTags, kInline}, std::pair{HtmlShortContentTags, kShortContent},
          std::pair{HtmlVoidTags, kVoid}}) {
      const TTagSet set(list);
      for (const std::string& name : set.Names()) map[name] |= flag;
    }
    return map;
  }();
  return tags;
}

}  // namespace

bool IsNamespacedServerControl(const std::string& name) {
  if (name.find(':') == std::string::npos) return false;
  const std::string upper = UpperCaseAnsi(name);
  return !BlockControlSet().Holds(upper) && upper.find("COLUMN") == std::string::npos;
}

THtmlTagClass ClassifyHtmlTag(const std::string& name, bool indentAll, bool selfClosed) {
  THtmlTagClass c;
  const std::string& upper = name;  // names are read in upper case
  const bool control = IsNamespacedServerControl(upper);
  const auto listed = ListedTags().find(upper);
  const unsigned char lists = listed == ListedTags().end() ? 0 : listed->second;
  c.inlineTag = ((lists & kInline) != 0 || control) && !indentAll;
  c.shortContent =
      (lists & kShortContent) != 0 || control || upper.find("LISTITEM") != std::string::npos;
  c.voidTag =
      ((lists & kVoid) != 0 || upper.starts_with("DYNAMIC") || upper.starts_with("STATIC")) &&
      !selfClosed;
  return c;
}

}  // namespace quorrel
