#pragma once
// The desktop on Qt: the system clipboard and the printer set-up dialog.
#include <QObject>

#include "platform/Desktop.h"

class QPrinter;

namespace quorrel {

class TQtDesktop : public QObject, public TDesktop {
 public:
  TQtDesktop();
  ~TQtDesktop() override;

  void SetClipboardText(const std::string& text) override;
  std::string ClipboardText() override;
  bool ClipboardRich() override;
  std::string ClipboardRtf() override;
  void SetClipboardRich(const std::string& text, const std::string& rtf) override;
  bool PrinterSetup() override;
  bool ShowInFileManager(const std::string& path) override;

 private:
  // One printer for the run, so that the set-up stays as the user left it. Made with
  // its first use: a printer loads the printing system's libraries.
  QPrinter* Printer();

  QPrinter* printer_ = nullptr;
};

// Start-up: makes the Qt desktop the program's.
void InstallQtDesktop();

}  // namespace quorrel
