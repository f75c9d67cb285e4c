#pragma once
// The desktop on Qt: the system clipboard and the printer set-up dialog.
#include <QObject>

#include "platform/Desktop.h"

namespace quorrel {

class TQtDesktop : public QObject, public TDesktop {
 public:
  void SetClipboardText(const std::string& text) override;
  std::string ClipboardText() override;
  bool ClipboardRich() override;
  std::string ClipboardRtf() override;
  void SetClipboardRich(const std::string& text, const std::string& rtf) override;
  bool PrinterSetup() override;
  bool ShowInFileManager(const std::string& path) override;
};

// Start-up: makes the Qt desktop the program's.
void InstallQtDesktop();

}  // namespace quorrel
