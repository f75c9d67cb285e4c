#pragma once
// Tidying a master before its pages are built: language codes out of its RTF,
// and the sections of a slide show named after the show. Texts are Windows-1252.
#include <optional>
#include <string>

namespace quorrel {

// The RTF without its "\lang" control words: each goes whole ("\lang" + letters +
// an optional "-" + digits + one optional blank), so "\lang13322" or "\langfe1033"
// leave nothing behind. Nothing when there were none.
std::optional<std::string> WithoutLangCodes(const std::string& rtf);

// The base name of a slide show: the first argument of the master's first ".pg"
// line (any case), without its extension. "" when there is no such line.
std::string SlideShowBase(const std::string& plainText);

// The RTF with its i-th "\par .PG" section (from 1) named base + i in two digits
// ("01", "02" ...), an extension kept. The first section, which has no "\par "
// before it, keeps the base. Nothing when every name was right already.
std::optional<std::string> WithNumberedSlides(const std::string& rtf, const std::string& base);

// The notes file of a slide show in its folder (ending "/"), and how it begins.
std::string SlideNotesPath(const std::string& folder, const std::string& base);
inline constexpr char SlideNotesHeader[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
    "Calibri;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs60";
// What closes the notes text before it is written.
inline constexpr char SlideNotesEnd[] = "\r\n\\par }";

}  // namespace quorrel
