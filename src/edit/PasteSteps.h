#pragma once
// The text conversions of Paste and Copy that need no editor: mail text decoded,
// web and e-mail addresses made links, plain paragraphs marked up, a play
// script's copy tidied. Texts are Windows-1252 bytes with CR LF line ends.
#include <string>

namespace quorrel {

// Mail's quoted-printable soft line breaks and the codes for "=" and ".".
std::string DecodeQuotedPrintable(const std::string& text);

// Whether a text holds one of the domain endings (".co", ".org", ".net" ...).
bool LooksLikeDomain(const std::string& text);

// Whether a pasted text is a web address: it begins with "http" or "www.", names
// the big social network's host, or holds ".co" or ".org" before its 40th
// character; it holds no "@", no line end and begins with no "<".
bool LooksLikeWebAddress(const std::string& text);

// The address as it goes between the quotes of Href="...": "&" escaped (escaped
// ones stay), "http://" added when there is no "//", and the characters that would
// end the attribute or the tag ('"', "<", ">") and blanks percent-encoded.
std::string LinkAddress(const std::string& text);

// The default link text the user is offered: the address without "http://",
// "https://", "www." and a final "/".
std::string DefaultLinkText(const std::string& address);

// <A Href="address"[ Target=_blank]>text</A>, the text given its break points.
std::string WebLink(const std::string& address, const std::string& linkText, bool newWindow);

// <A Href="mailto:address">address</A>.
std::string MailtoLink(const std::string& address);

// Plain paragraphs marked up: "<P>" after every line end (no "<P><P>"), byte 160
// made a blank, "&nbsp;" after each ". ", "! " and "? " except after "St", "No"
// and "etc".
std::string ReformatPastedText(const std::string& text);

// Lines beginning with a double quote and a tab (a pasted bullet list) as "<LI>"
// items inside "<UL>", which the first empty line after them closes.
std::string ConvertListToUl(const std::string& text);

// A play script's copy without its "SYNOPSIS:" lines and with the "|" separators
// of its "Characters" block made blanks.
std::string TidyScriptCopy(const std::string& text);

}  // namespace quorrel
