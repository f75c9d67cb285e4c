#pragma once
// The Text menu's insertions of markup built from the site: a row for the table at
// the caret, an image tag for a chosen picture, and links made of the selected web
// or e-mail address (the link to a page of the site is in LinkCommand.h). Texts
// are Windows-1252 bytes.
#include <string>

namespace quorrel {

class TMyRich;

// Where a new table row goes in a text with the caret at an offset: the row, and
// the offset it is inserted at; or the message that refuses it.
struct TTableRowPlace {
  std::string row;
  size_t offset = 0;
  std::string error;
};
// The caret must be inside a table that holds a "<TD"; the row has as many empty
// cells as the first row with cells and goes before the next "<TR" after the
// caret, or before the table's end.
TTableRowPlace TableRowPlace(const std::string& text, size_t caret);

// Table row: the row inserted, the caret 7 characters into it, the row also on the
// clipboard.
void InsRowClick();

// The folder the image dialog opens in the first time: the document's folder, or
// its "IMAGES", "IMAGE" or "GRAPHICS" sub-folder (any case) when it has one.
std::string FirstImageFolder(const std::string& documentFolder);
// The alternative text offered for an image: its name without the extension, "_"
// as blanks.
std::string DefaultAltText(const std::string& path);
// <Img Src="src" Alt="alt">, the source percent-encoded and the text escaped.
std::string ImageTag(const std::string& src, const std::string& alt);
// Image: a picture chosen in the dialog, its alternative text asked, its tag
// inserted with the path relative to the page.
void InsImageClick();

// The web link of an address: "<A Href="http://address">address</A>", where an
// address given with "https://" keeps that scheme and one with "http://" is not
// given it twice; the shown text is the address without its scheme.
std::string WebsiteLink(const std::string& address);
void WebsiteClick();
// Email: the selection as a mailto link.
void EmailClick();

// Narrows the selection to its text without the line ends, blanks and quotes
// around it, which stay in the document outside what the command replaces; returns
// that text.
std::string NarrowSelection(TMyRich& editor);

// The dialogs' folder and the like, back to a fresh program.
void ResetInsertCommands();

// Gives Table row, Image, Link, Email and Website their commands.
void InstallInsertCommands();

}  // namespace quorrel
