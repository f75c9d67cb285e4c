// The marker words that switch checks off: where each is looked for, and with or
// without regard to case.
#include <gtest/gtest.h>

#include <string>

#include "validate/TextMarkers.h"

namespace quorrel {
namespace {

using M = TTextMarker;

TEST(TextMarkers, EachIsFoundWhereItsValidatorLooks) {
  const std::string longStart(120, ' ');
  struct Case {
    M marker;
    std::string text;
    bool set;
  } cases[] = {
      // HTML and CSS: anywhere, any case.
      {M::HtmlNoReformat, "<p>\n<!-- noreformat -->\n", true},
      {M::HtmlNoReformat, "<p>\n<!-- No Reformat -->\n", false},
      {M::CssNoReformat, "p {}\r\n/* NOREFORMAT */\r\n", true},
      {M::CssNoReformat, "p { color: red }\r\n", false},
      // Pascal and PHP: the first line only, exactly so.
      {M::PascalNoReformat, "{ NoReformat }\r\nunit U;\r\n", true},
      {M::PascalNoReformat, "{ noreformat }\r\nunit U;\r\n", false},
      {M::PascalNoReformat, "unit U;\r\n{ NoReformat }\r\n", false},
      {M::PhpNoReformat, "<?php // NoReformat\n", true},
      {M::PhpNoReformat, "<?php // NOREFORMAT\n", false},
      {M::PhpNoReformat, "<?php\n// NoReformat\n", false},
      {M::PhpNoReformat, "NoReformat", true},  // a one-line file
      // PHP's names check: anywhere, any case.
      {M::PhpNoValidate, "<?php\n$a = 1;\n// novalidate\n", true},
      {M::PhpNoValidate, "<?php\n$a = 1;\n", false},
      // ABC: in the tune's line, exactly so; RTF: in the paragraph, any case.
      {M::AbcNoValidate, "% NoValidate", true},
      {M::AbcNoValidate, "% novalidate", false},
      {M::RtfNoValidate, "Scene 1 (novalidate)", true},
      {M::RtfNoValidate, "Scene 1", false},
      // Brackets: within the first 100 characters, any case.
      {M::PhpNoBrackets, "// NoValidate Brackets\nvar a;\n", true},
      {M::PhpNoBrackets, std::string(81, ' ') + "novalidate brackets", true},  // ends at 100
      {M::PhpNoBrackets, std::string(82, ' ') + "novalidate brackets", false},
      {M::PhpNoBrackets, longStart + "novalidate brackets", false},
      {M::PhpNoBrackets, "// NoValidate\n", false},
      // The tag checker's references: anywhere, any case.
      {M::NoRefs, "<p>\n<!-- norefs -->\n", true},
      {M::NoRefs, "<a href=#refs>", false},
      // Empty texts carry no marker.
      {M::HtmlNoReformat, "", false},
      {M::PascalNoReformat, "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasTextMarker(c.marker, c.text), c.set)
        << static_cast<int>(c.marker) << " [" << c.text << "]";
  }
}

}  // namespace
}  // namespace quorrel
