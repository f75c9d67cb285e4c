#pragma once
// The validators of the document kinds. Each takes a page and returns its verdict
// (shell/Page.h); the dispatcher makes the page of the current document and applies
// the verdict. The validator of a kind comes from the kinds table.
#include <functional>
#include <optional>
#include <string>

#include "shell/Page.h"
#include "validate/PascalComments.h"

namespace quorrel {

// The validator of the current document: its kind's, except that every page a
// build writes is HTML (unless its kind has a validator of its own that comes
// first) and that RTF shown as its codes is not validated.
TValidatorKind ChooseValidator();

// Runs one validator on a page. A kind whose validator is still to be written
// checks nothing and says so in its status; None has nothing to check.
TValidation RunValidator(TValidatorKind kind, const TPage& page);

// The HTML validator. It rewrites the editor itself only when it stops at an error.
TValidation ValidateHtml(const TPage& page);

// The XML validator: checks that the elements nest and lays the document out one
// element a line, or stops at the first error with nothing written back.
TValidation ValidateXml(const TPage& page);

// The Pascal formatter (".PAS", and ".INC" without server script): re-indents the
// page, asking before it splits a line; a run that split lines stops with a message
// asking for another run. widthLimit is the widest line, in characters, that a
// comment may make.
TValidation ValidatePascal(const TPage& page, int widthLimit = DefaultPascalWidthLimit);
// The width limit of a run: the main window is maximised and measured; with no
// window, or in the re-formatter's run, the default.
int MeasurePascalWidthLimit();

// The ABC validator: the whole file for "Validate", re-formatting it for "Reformat",
// else the tune at the caret. It mends what it can, asks before it adds a metre, a
// tempo or an accompaniment, and stops at the first fault it cannot mend with the
// mends so far written back.
TValidation ValidateAbc(const TPage& page);

// The script checker of PHP pages, JavaScript and C# files: checks braces, brackets,
// quotes and conditions, and re-indents the file two columns a brace level. Stops
// at the first error, with the caret on its line.
TValidation ValidatePhp(const TPage& page);

// The Classic ASP checker (".ASP" pages and ".VBA" files): re-indents the VBScript
// of the lines the page's caret and selection span (all of them when they span
// none); a page then goes on to the HTML validator, as another run of the same pass.
TValidation ValidateAsp(const TPage& page);

// Tests of the dispatcher put a scripted validator in place of the real ones: it
// returns the verdict on a page, or none to let the real validator run. An empty
// function puts the real ones back.
using TPageValidatorStandIn =
    std::function<std::optional<TValidation>(TValidatorKind kind, const TPage& page)>;
void SetPageValidatorStandIn(TPageValidatorStandIn standIn);
// The same for a scripted validator that stands in for every real one, asks for
// another pass through ValidateAgain and rewrites the document itself.
using TValidatorStandIn = std::function<void(TValidatorKind kind, const std::string& sender)>;
void SetValidatorStandIn(TValidatorStandIn standIn);

}  // namespace quorrel
