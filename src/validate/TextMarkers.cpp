#include "validate/TextMarkers.h"

#include "shell/FastStrings.h"

namespace quorrel {

namespace {

std::string_view FirstLine(std::string_view text) {
  return text.substr(0, text.find_first_of("\r\n"));
}

bool Anywhere(std::string_view marker, std::string_view text) {
  return PosNoCase(marker, text) != 0;
}

bool Exactly(std::string_view marker, std::string_view text) {
  return PosCase(marker, text) != 0;
}

}  // namespace

bool HasTextMarker(TTextMarker marker, std::string_view text) {
  switch (marker) {
    case TTextMarker::HtmlNoReformat:
    case TTextMarker::CssNoReformat:
      return Anywhere(NoReformatMarker, text);
    case TTextMarker::PascalNoReformat:
    case TTextMarker::PhpNoReformat:
      return Exactly(NoReformatMarker, FirstLine(text));
    case TTextMarker::PhpNoValidate:
    case TTextMarker::RtfNoValidate:
      return Anywhere(NoValidateMarker, text);
    case TTextMarker::AbcNoValidate:
      return Exactly(NoValidateMarker, text);
    case TTextMarker::PhpNoBrackets:
      return Anywhere(NoBracketsMarker, text.substr(0, 100));
    case TTextMarker::NoRefs:
      return Anywhere(NoRefsMarker, text);
  }
  return false;
}

}  // namespace quorrel
