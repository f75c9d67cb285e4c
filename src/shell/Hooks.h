#pragma once
// Calls that go up the layers. The shell and the engines sit below the commands
// that tie them together, and may not include them; where one of them must set
// off work of a higher layer (the tab change reads the site's server details, a
// save validates the page, a report opens a new document), it calls a named slot
// here. The composition root (commands/CompositionRoot.h) fills the slots at
// start-up; an empty slot does nothing and returns the empty value.
// Texts and paths are Windows-1252 bytes.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace quorrel {

template <class Signature>
class THook;

template <class R, class... Args>
class THook<R(Args...)> {
 public:
  void Set(std::function<R(Args...)> call) { call_ = std::move(call); }
  explicit operator bool() const { return static_cast<bool>(call_); }
  R operator()(Args... args) const {
    if (call_) return call_(std::forward<Args>(args)...);
    if constexpr (!std::is_void_v<R>) return R{};
  }

 private:
  std::function<R(Args...)> call_;
};

// ---- documents --------------------------------------------------------------------
// A document became current: its site's server details are read ("Data.FTP" found:
// true).
inline THook<bool(const std::string& path)> LoadServerDetailsHook;
// The current document compared with its copy on the server.
inline THook<void()> CheckServerCopyHook;
// A tab was entered: its comparison with the server copy is shown, after a look at
// the server when the tab has none yet. Unset, the indicator stays hidden.
inline THook<void()> ServerComparisonHook;
// The activation check of the current document (changed on disk, gone).
inline THook<void()> ActivateHook;
// The tab change leaves a document: the engines forget what they had worked out
// about it (the HTML dialect of its site).
inline THook<void()> DocumentLeftHook;
// The validation a save runs first, by the sender's component name ("Validate").
inline THook<void(const std::string& sender)> ValidateHook;
// The markers of the document being left, written to the settings file (a tab left
// or closed).
inline THook<void()> SaveMarkersHook;
// The markers' positions forgotten as their document is left.
inline THook<void()> ClearMarkerPositionsHook;
// Whether the markers in memory are a document's; a document entered reads its own
// back (LoadMarkersHook) when they are not.
inline THook<bool(const std::string& path)> MarkersBelongToHook;
inline THook<void(const std::string& path)> LoadMarkersHook;
// The validation dispatcher on the current document (ValidateCurrentFile), by the
// sender's component name: the page builder checks each page it writes, the
// server window re-checks a page it downloaded, the music commands validate a tune
// book.
inline THook<void(const std::string& sender)> ValidateDocumentHook;

// ---- what the validators ask of the server --------------------------------------
// Links and images of a page are checked against the site's server. Unset until the
// link checker: a validator that finds one empty checks locally only.
// A server file fetched to a local path; true when it came.
inline THook<bool(const std::string& serverPath, const std::string& localPath)> ServerDownloadHook;
// A local file sent to the server; true when it went.
inline THook<bool(const std::string& localPath, const std::string& serverPath)> ServerUploadHook;
// Whether the server can be reached now (connecting when the user allows it).
inline THook<bool()> ServerConnectedHook;
// The server's time of a file in seconds (UTC); 0 when it has none.
inline THook<int64_t(const std::string& serverPath)> ServerFileTimeHook;
// A server name as the server spells it; "" when the server has no such file.
inline THook<std::string(const std::string& serverPath)> ServerNameCaseHook;
// The table editor, to which the HTML validator hands a table of the page: the
// table as edited, none when the user left it alone.
inline THook<std::optional<std::string>(const std::string& table)> TableEditorHook;

// ---- the open and exit commands -------------------------------------------------
// The open command as its menu item of that name would run it ("Reload", "NewTXT";
// "" for CurrentFileName).
inline THook<void(const std::string& sender)> OpenBySenderHook;
// A path opened in a tab of its own (an open file's tab is only activated); the
// music commands open the documents they name through it.
inline THook<void(const std::string& path)> OpenThisHook;
// The preview browser (TWebForm.GoBrowser) on an address; internal: in the
// program's own browser window.
inline THook<void(const std::string& address, bool internal)> GoBrowserHook;
// A text shown as the work document "Quorrel.txt".
inline THook<void(const std::string& text)> OpenTextHook;
// The File menu's Recent items filled again from the settings file's [Closed].
inline THook<void()> RecentMenuHook;
// The exit command by its sender's component name ("Exit").
inline THook<void(const std::string& sender)> ExitHook;
// The unwanted-file list TUwForm, shown modally by "Show unwanted"; it sets that
// option from its own check box. The item gets its handler with the form.
inline THook<void()> UwFormHook;
// The Open form's set-up of "Download entire site" (TOpenForm.Entire), which the
// server window then carries out. The item gets its handler with the form.
inline THook<void()> EntireHook;
// The special-characters form; with findField, a chosen character goes into the
// Find dialog's active box instead of the document. Unset, nothing shows.
inline THook<void(bool findField)> SpecialClickHook;

// ---- windows beside the main one --------------------------------------------------
// TFoldForm ("Compare files in this folder with those in another folder"), shown
// modally. The item gets its handler with the form.
inline THook<void()> FoldFormHook;
// The preview browser and the server window take part once they exist: the
// browser gets the focus when it is the active window; the server window, when
// active and on-line, refreshes its list (on activation only with no transfer or
// listing under way and the cursor normal; after an error always). Each window
// fills its own fields and keeps the others'.
struct TActivationWindows {
  std::function<bool()> browserActive;
  std::function<void()> focusBrowser;
  std::function<bool()> serverWindowActive;
  std::function<void()> refreshServerWindow;
};
void SetActivationWindows(TActivationWindows windows);
const TActivationWindows& ActivationWindows();

}  // namespace quorrel
