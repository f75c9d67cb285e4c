#pragma once
// E-mail addresses in pages: mailto links become script calls that write the link
// in the visitor's browser from a scrambled form of the address, and back.
#include <string>

namespace quorrel {

struct THtmlRun;

// The decoder the script calls need: EDecrypt and Email, as JavaScript. Pages carry
// it in a script element, or load it from "edecrypt.js" beside them.
extern const char EmailDecoderJs[];
// The decoder as the script element a page carries.
std::string EmailDecoderScript();

// The scrambled form of an address: "." and "@" hidden, the characters shuffled.
// An address holding "!" or "%" cannot be scrambled and ends the command.
std::string ScrambleEmail(const std::string& address);
// The address of a scrambled form.
std::string UnscrambleEmail(const std::string& code);

// The script block that stands for a link: code (the scrambled address, then the
// link's query unscrambled), the link's other attributes and its text.
std::string EmailScript(const std::string& code, const std::string& attributes,
                        const std::string& linkText, const std::string& address);

// Turns every script block of a scrambled address in the text back into a plain
// link; a block not of the exact shape is left as it is. Nothing happens in a
// generated page. True when the text changed.
bool DecodeEmailScripts(std::string& text);

// Called by the HTML validator's walk for an A tag whose text holds
// " Href=\"mailto:": when the page's options ask for it, writes the script call in
// place of the whole link and moves the walk past the link's end tag. True when it
// did (or stopped at an error); false leaves the tag to the walk.
bool ScrambleMailtoTag(THtmlRun& run);

}  // namespace quorrel
