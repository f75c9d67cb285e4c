#pragma once
// The desktop on Qt: the system clipboard, the printer set-up dialog, the lock
// keys as the last key event reported them, and the application's activation,
// which runs the shell's activation check.
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
  bool PrinterSetup() override;
  bool LockKeysOn() override { return locksOn_; }
  bool ShowInFileManager(const std::string& path) override;

  // The lock state a key event's native modifiers give on this platform; false
  // where the platform does not say.
  static bool LocksInNativeModifiers(quint32 nativeModifiers);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPrinter* printer_;
  bool locksOn_ = false;
};

// Start-up: makes the Qt desktop the program's, and runs the activation check
// whenever the application becomes active.
void InstallQtDesktop();

}  // namespace quorrel
