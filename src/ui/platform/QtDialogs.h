#pragma once
// The program's message boxes and questions, on Qt widgets.
#include <QString>
#include <string>

#include "platform/UserDialogs.h"

namespace quorrel {

class TQtDialogs : public TUserDialogs {
 public:
  int ShowBox(const DialogCall& call) override;
  void ProcessMessages() override;
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value,
                  bool password) override;
  bool FileDialog(const FileDialogCall& call, std::string& path) override;
  bool SelectFolder(const std::string& caption, const std::string& startFolder,
                    std::string& folder) override;
  // FontColourDialog.cpp.
  bool FontDialog(TFontChoice& font) override;
  bool ColourDialog(int& colour) override;
  // QtPrinting.cpp.
  bool PrintDialog(TPrintTarget& target) override;
  // ui/shell/LinkForm.cpp.
  bool PickList(const std::string& caption, const std::vector<std::string>& entries,
                int helpContext, std::string& chosen) override;
};

// A filter as the program writes it ("Pages|*.htm;*.html|All files|*.*") in Qt's
// form ("Pages (*.htm *.html);;All files (*)").
QString QtFileFilter(const std::string& filter);

// Message text for a Qt label: the program breaks lines with CR (or CR LF), which a
// label would not show as a break.
QString BoxText(const std::string& text);

// Start-up: creates the three-button box and makes the Qt boxes the program's dialogs.
void InstallQtDialogs();

}  // namespace quorrel
