#pragma once
// The Web menu's Library commands: library items made from a selection and updated
// from a page, and the pages of a site refreshed from the library or regenerated
// from their templates. Paths and texts are Windows-1252 bytes.
#include <functional>
#include <string>
#include <vector>

namespace quorrel {

// Help contexts of the commands.
inline constexpr int CreateLibHelp = 31000;
inline constexpr int UpdateLibHelp = 31100;
inline constexpr int RefreshLibHelp = 31200;
inline constexpr int RegenHtmlHelp = 31300;
inline constexpr int RegenOneHelp = 31400;

// TWebForm.CrLibClick: the selection becomes a library item file in the site's
// "Library" folder and, in the page, a library item block; the page is saved and
// every page refreshed from the library.
void CrLibClick();

// The "Update item" dialog (TUpForm) as the ui shows it: it lists the items (or
// NoLibraryItemsUsed, without an OK button), calls update for an item clicked, and
// for the selected one on OK. Returns true when it closed with OK.
using TUpFormShow = std::function<bool(const std::vector<std::string>& items,
                                       const std::function<void(const std::string&)>& update)>;
void SetUpForm(TUpFormShow show);

// Asks "Update " + item + " from this file?"; Yes writes the page's copy of the item
// into its file (the previous one kept as ".Bak").
void UpdateItemFromPage(const std::string& item);

// TWebForm.UpLibClick: the dialog, then (after OK) every page refreshed.
void UpLibClick();

// TWebForm.RegenAllClick: every "*.HTM*" page of the site (in and below its root
// folder, where the pages' comments name their files from), each loaded into its tab, regenerated ("RegenHtml") or refreshed from the library
// ("RefreshLib"), and saved when it changed. A page whose regions cannot be merged
// is left as it was and named in the run's report.
void RegenAllClick(const std::string& sender);

// TWebForm.RegenClick: the current page regenerated from its template and the
// library; the editor gets the result, unsaved.
void RegenClick();

// Gives the five Library items their commands.
void InstallLibraryCommands();

// Back to a fresh program (no dialog installed).
void ResetLibraryCommands();

}  // namespace quorrel
