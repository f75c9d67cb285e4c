#pragma once
// Marker words that a document carries (in a comment, usually) to switch checks of
// its validator off. Each validator looks for its marker in its own way: in the
// whole text or only its first line, with or without regard to case.
#include <string_view>

namespace quorrel {

inline constexpr char NoReformatMarker[] = "NoReformat";
inline constexpr char NoValidateMarker[] = "NoValidate";
inline constexpr char NoBracketsMarker[] = "novalidate brackets";
inline constexpr char NoRefsMarker[] = "NoRefs";

// What the HTML validator shows in the message bar for a page it leaves alone; the
// dispatcher then does not announce "Validated".
inline constexpr char NoReformatStatus[] = "*** NoReformat ***";

enum class TTextMarker {
  HtmlNoReformat,    // page neither checked nor re-formatted: anywhere, any case
  CssNoReformat,     // style text checked, not re-formatted: anywhere, any case
  PascalNoReformat,  // source left alone: first line, exact case
  PhpNoReformat,     // line checks and re-formatting skipped: first line, exact case
  PhpNoValidate,     // no check of names used once: anywhere, any case
  AbcNoValidate,     // tune not checked: the line, exact case
  RtfNoValidate,     // paragraphs not checked: the section at the caret, any case
  PhpNoBrackets,     // no bracket checks: first 100 characters, any case
  NoRefs,            // no Id and Href reference checks: anywhere, any case
};

// Whether the marker switches its check off for this text: the whole document, or
// the line or paragraph the validator is looking at (ABC, RTF).
bool HasTextMarker(TTextMarker marker, std::string_view text);

}  // namespace quorrel
