#pragma once
// Link (F4): the selected text made a link to the page or anchor of the site that
// holds it, chosen from a list when several do; without a selection, a link to a
// file chosen in the site file list with the page's title as its text. Texts are
// Windows-1252 bytes.
#include <string>
#include <vector>

namespace quorrel {

// Adds to entries, once each, the places of a page that a link to text could lead
// to: for each occurrence of text (any case) not directly after "=", the nearest
// "name=" or "id=" within 60 characters before it, as name + ":  " + the page's
// text from there up to the next "&nbsp;" or "<"; and the page's title when it
// holds text, as name + ":  " + title.
void AddLinkCandidates(const std::string& name, const std::string& page, const std::string& text,
                       std::vector<std::string>& entries);

// The link that a chosen entry gives: <A Href="file#anchor">text</A>, the file
// being the entry's part before ":  " and the anchor the value of its "name=" or
// "id=". When the file is the page itself (selfPage, "" for none), only the anchor.
std::string LinkOfEntry(const std::string& entry, const std::string& text,
                        const std::string& selfPage);

// The page that the section of a dot-command page at an offset makes: the name on
// its ".PG" line before the first "|"; "" when there is none.
std::string DotPageNameAt(const std::string& text, size_t offset);

// TWebForm.LinkClick.
void LinkClick();

}  // namespace quorrel
