#pragma once
// The Validation menu's Add nbsp and Comment out. Texts are Windows-1252 bytes.
#include <cstddef>
#include <string>

namespace quorrel {

// A page's text with a no-break space after each sentence end in its text: each
// ".", "!" or "?" followed by a blank gets "&nbsp;" after it, and byte 160 becomes
// a blank. Tags, comments, server-script blocks and the contents of SCRIPT, STYLE
// and PRE are left as they are, and so are the first seven characters. Not after
// "St", "No" or "etc", nor where "&nbsp;", "</span>" or "</p>" follows, nor after
// "</span>" or "MX target".
std::string AddNbspToText(const std::string& text);

// Where the code that begins with the "<" at pos ends (just past it): a tag with
// its quoted values, a comment, a server-script block, or a SCRIPT, STYLE or PRE
// element with its contents; the text's end when it is not closed.
size_t EndOfHtmlCode(const std::string& text, size_t pos);

// TWebForm.AddNbspClick: Add nbsp on the current page ("File is not .HTM" for other
// documents).
void AddNbspClick();

// The selected block commented out for the document's language.
enum class TCommentKind { CSharp, Html, LineSlashes };
std::string CommentOut(const std::string& block, TCommentKind kind);

// TWebForm.ConvComClick: Comment out the selection (less a final line end). A PHP
// page asks "Is this HTML?": No puts "// " before each line.
void ConvComClick();

}  // namespace quorrel
