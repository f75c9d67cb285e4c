#pragma once
// The tag lists of the HTML validator and the classes a tag falls into: inline
// tags stay in the line, short-content tags keep short content on their own line,
// void tags have no closing tag.
#include <string>

namespace quorrel {

// "|"-separated lists, matched without regard to case.
extern const char HtmlInlineTags[];
// The inline list followed directly by more tags: the two form one list.
extern const char HtmlShortContentTags[];
extern const char HtmlVoidTags[];
extern const char HtmlTopTags[];

// A server control with a namespace ("ASP:LABEL") that the validator lays out as
// inline text; a few controls that hold blocks are not counted.
bool IsNamespacedServerControl(const std::string& name);

struct THtmlTagClass {
  bool inlineTag = false;
  bool shortContent = false;
  bool voidTag = false;
};

// The classes of a tag by its name (in upper case). indentAll lays every tag out as a
// block; a self-closed tag (".ASPX" and ".ASCX" pages) is never void.
THtmlTagClass ClassifyHtmlTag(const std::string& name, bool indentAll, bool selfClosed);

}  // namespace quorrel
