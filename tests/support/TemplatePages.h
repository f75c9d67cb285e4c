#pragma once
// A template and the pages made from it, in the shape web-design editors write them:
// the template path followed by a further attribute, and comments that spell their
// paths in other letter cases than the files ("Templates/main.dwt",
// "Library/Nav.lbi").
#include <string>

namespace quorrel::test {

inline constexpr char TemplateText[] =
    "<!DOCTYPE html>\n"
    "<html>\n"
    "<head>\n"
    "<!-- TemplateBeginEditable name=\"doctitle\" -->\n"
    "<title>Untitled</title>\n"
    "<!-- TemplateEndEditable -->\n"
    "<link href=\"../css/site.css\" rel=\"stylesheet\">\n"
    "</head>\n"
    "<body>\n"
    "<!-- #BeginLibraryItem \"/LIBRARY/nav.lbi\" --><!-- #EndLibraryItem -->\n"
    "<!-- TemplateBeginEditable name=\"main\" -->\n"
    "<p>Content goes here</p>\n"
    "<!-- TemplateEndEditable -->\n"
    "</body>\n"
    "</html>\n";

// The library item the template uses.
inline constexpr char NavItemText[] = "<nav><a href=\"../index.htm\">Home</a></nav>\r\n";

// A page made from the template, as the editor left it: its own title and main
// region, an older layout around them.
inline std::string InstancePage(const std::string& title, const std::string& main) {
  return "<!DOCTYPE html>\n"
         "<html><!-- InstanceBegin template=\"/templates/Main.dwt\" "
         "codeOutsideHTMLIsLocked=\"false\" -->\n"
         "<head>\n"
         "<!-- InstanceBeginEditable name=\"doctitle\" -->\n"
         "<title>" + title + "</title>\n"
         "<!-- InstanceEndEditable -->\n"
         "<link href=\"old.css\" rel=\"stylesheet\">\n"
         "</head>\n"
         "<body>\n"
         "<p>old layout</p>\n"
         "<!-- InstanceBeginEditable name=\"main\" -->\n" + main + "\n"
         "<!-- InstanceEndEditable -->\n"
         "</body>\n"
         "<!-- InstanceEnd --></html>\n";
}

}  // namespace quorrel::test
