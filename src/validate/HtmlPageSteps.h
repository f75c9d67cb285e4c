#pragma once
// The steps of ValidateHtml that look at the page as a whole: the checks and
// repairs before the walk, the dialect and DOCTYPE, and after the walk the frame
// of the page, its title, first heading and head, and the site map.
#include <string>

#include "validate/HtmlRun.h"

namespace quorrel {

// The dialect of the site's server pages: 'H' HTML, 'X' XHTML, ' ' not yet known
// (forgotten whenever a tab is activated).
extern char HtmlDialect;

// Repairs of UTF-8 punctuation and of "Â", the first-heading check, empty bold and
// italic pairs, long link texts and the skip link; hands the page over.
void HtmlPageChecks(THtmlRun& run);

// Works out the page's dialect: for server pages from the site's index page; for
// other pages a missing DOCTYPE is added as the DocType menu says, and the html
// start tag gets its language.
void HtmlDoctype(THtmlRun& run);

// The DOCTYPE text of a DocType menu item ("DT3F" ... "DTXT"), without the html
// start tag; "" for any other name.
std::string DoctypeText(const std::string& item);

// After the walk: e-mail scripts back to links when they are not wanted, server
// code in a plain page, the title and first heading, the head, trailing blanks,
// the frame of the page, InStr arguments and smart quotes.
void HtmlAfterWalk(THtmlRun& run);

// The title and the first heading: an untitled page, a heading at odds with the title.
void CheckTitleAndHeading(THtmlRun& run);

// The head: character set, viewport, the style sheet, help-topic pages.
void CompleteHead(THtmlRun& run);

// The site map page lists every page of the site, and its link texts agree with
// the titles of the pages they name.
void CheckSiteMap(THtmlRun& run, const std::string& sender);

// Back to the state of a freshly started program.
void ResetHtmlPageSteps();

}  // namespace quorrel
