#include "commands/InsertCommands.h"

#include "commands/LinkCommand.h"
#include "commands/MarkupPaths.h"
#include "commands/TextInserts.h"
#include "edit/PasteSteps.h"
#include "platform/CodePage.h"
#include "platform/Desktop.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "shell/TextFiles.h"

namespace quorrel {

namespace {

// "*jpg" without its dot is as the filter has always read; it finds every ".jpg".
constexpr char kImageFilter[] =
    "All images|*jpg;*.jpeg;*.gif;*.png|JPEG images|*.jpg;*.jpeg|GIF images|*.gif|PNG "
    "images|*.png|All files|*.*";
constexpr char kImageDialogTitle[] = "Image to be inserted";
// The caret goes this far into a new row: just after "<TR><TD".
constexpr size_t kRowCaretStep = 7;

// The folder the image dialog showed last; "" before the first image.
std::string lastImageFolder;

bool TrimmedAway(char c) {
  return static_cast<unsigned char>(c) < '!' || c == '"' || c == '\'';
}

// The selection, narrowed; a message when there is none.
bool SelectedAddress(TMyRich& editor, std::string& address, const char* what) {
  address = NarrowSelection(editor);
  if (!address.empty()) return true;
  ShowMsg(std::string("First select the ") + what + ".");
  return false;
}

}  // namespace

TTableRowPlace TableRowPlace(const std::string& text, size_t caret) {
  TTableRowPlace place;
  const std::string_view all(text);
  const std::string_view before = all.substr(0, caret);
  const size_t open = PosBackNoCase("<Table", before);
  const size_t end = PosNoCase("</Table", all, caret + 1);
  if (open == 0 || PosBackNoCase("</Table", before) > open || end == 0) {
    place.error = "Cursor not within table";
    return place;
  }
  const size_t firstCell = PosNoCase("<TD", all, open);
  if (firstCell == 0 || firstCell > end) {
    place.error = "No <TD> found";
    return place;
  }
  size_t rowEnd = PosNoCase("</TR", all, firstCell);
  if (rowEnd == 0 || rowEnd > end) rowEnd = end;
  std::string cells;
  for (size_t at = firstCell; at != 0 && at < rowEnd; at = PosNoCase("<TD", all, at + 3)) {
    cells += "<TD></TD>";
  }
  place.row = "<TR>" + cells + "</TR>\n";
  const size_t nextRow = PosNoCase("<TR", all, caret + 1);
  place.offset = (nextRow != 0 && nextRow < end ? nextRow : end) - 1;
  return place;
}

void InsRowClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const TTableRowPlace place =
      TableRowPlace(editor->GetText(), editor->PosToOffset(editor->SelStart()));
  if (!place.error.empty()) {
    ShowMsg(place.error);
    return;
  }
  const size_t at = editor->OffsetToPos(place.offset);
  editor->Select(at, 0);
  editor->SetSelText(place.row);
  editor->Select(at + kRowCaretStep, 0);
  editor->ScrollCaret();
  Desktop().SetClipboardText(place.row);
}

std::string FirstImageFolder(const std::string& documentFolder) {
  for (const char* name : {"IMAGES", "IMAGE", "GRAPHICS"}) {
    const std::string found = ResolveNoCase(documentFolder + name);
    if (!found.empty() && DirectoryExists(found)) return found + "/";
  }
  return documentFolder;
}

std::string DefaultAltText(const std::string& path) {
  const std::string name = ExtractFileName(path);
  return ReplaceChar(name.substr(0, name.size() - ExtractFileExt(name).size()), '_', ' ');
}

std::string ImageTag(const std::string& src, const std::string& alt) {
  return "<Img Src=\"" + HrefPath(src) + "\" Alt=\"" + EscapeAttribute(alt) + "\">";
}

void InsImageClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  if (lastImageFolder.empty()) lastImageFolder = FirstImageFolder(CurrentFolder);
  std::string path;
  if (!ShowFileDialog(kImageFilter, lastImageFolder, false, path, kImageDialogTitle)) return;
  lastImageFolder = ExtractFilePath(path);
  // Refused before the user types its text.
  const std::string src = SiteRelativePath(path);
  if (src.empty()) {
    ShowErrorAndAbort("Image path " + path + "\ris not within " + SiteRootFolder());
  }
  std::string alt = DefaultAltText(path);
  if (!UserDialogs().InputQuery("Quorrel", "Alt Text", alt, false)) return;
  editor->SetSelText(ImageTag(src, alt));
}

std::string WebsiteLink(const std::string& address) {
  std::string scheme = "http://";
  std::string shown = address;
  if (StartsWithNoCase(shown, "https://")) {
    scheme = "https://";
    shown.erase(0, 8);
  } else if (StartsWithNoCase(shown, "http://")) {
    shown.erase(0, 7);
  }
  return "<A Href=\"" + LinkAddress(scheme + shown) + "\">" + shown + "</A>";
}

void WebsiteClick() {
  TMyRich* editor = CurrentEditor;
  std::string address;
  if (!editor || !SelectedAddress(*editor, address, "web address")) return;
  editor->SetSelText(WebsiteLink(address));
}

void EmailClick() {
  TMyRich* editor = CurrentEditor;
  std::string address;
  if (!editor || !SelectedAddress(*editor, address, "e-mail address")) return;
  editor->SetSelText(MailtoLink(address));
}

std::string NarrowSelection(TMyRich& editor) {
  const std::string selected = editor.SelText();
  size_t first = 0, last = selected.size();
  while (first < last && TrimmedAway(selected[first])) ++first;
  while (last > first && TrimmedAway(selected[last - 1])) --last;
  const std::string text = selected.substr(first, last - first);
  editor.Select(editor.SelStart() + PositionsOf(selected.substr(0, first)), PositionsOf(text));
  return text;
}

void ResetInsertCommands() {
  lastImageFolder.clear();
}

namespace {
const TResetEntry resetInsertCommands(ResetInsertCommands);
}  // namespace

void InstallInsertCommands() {
  TMenuModel& menu = MainMenu();
  menu.SetHandler("InsRow", [](const TMenuItem&) { InsRowClick(); });
  menu.SetHandler("InsImage", [](const TMenuItem&) { InsImageClick(); });
  menu.SetHandler("Link", [](const TMenuItem&) { LinkClick(); });
  menu.SetHandler("Email", [](const TMenuItem&) { EmailClick(); });
  menu.SetHandler("Website", [](const TMenuItem&) { WebsiteClick(); });
}

}  // namespace quorrel
