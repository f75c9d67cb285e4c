#pragma once
// The help window: shows our own help pages, one topic per context number through
// the map file of the help pages. F1 anywhere asks for the help context of the
// control, the form or the highlighted menu item under it.
#include <QWidget>
#include <map>
#include <string>

#include "platform/Help.h"

class QTextBrowser;

namespace quorrel {

class THelpViewer : public QWidget, public THelpWindow {
  Q_OBJECT

 public:
  explicit THelpViewer(QWidget* parent = nullptr);

  bool ShowTopic(const std::string& helpFile, int helpContext) override;
  void CloseAll() override;

  // The context of the topic last shown (0 before the first), and its page's file
  // name ("" when the map has no page for it).
  int Context() const { return context_; }
  QString Page() const { return page_; }

  QTextBrowser* Browser;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool LoadMap(const QString& mapFile);

  QString mapFile_;
  QString folder_;
  std::map<int, QString> map_;
  int context_ = 0;
  QString page_;
};

// The map of a help file: one "context=page" a line; blank lines and lines
// starting with "#" or ";" are skipped. Empty when the file cannot be read.
std::map<int, QString> ReadHelpMap(const QString& mapFile);

// Start-up: hooks the help system, creates the help window and registers it, and
// makes F1 ask for help. The window and F1 are set up once.
void InstallHelpViewer();
// The installed help window; nullptr before InstallHelpViewer.
THelpViewer* HelpViewerWindow();

// Gives a widget (and the controls inside it that have none of their own) or a
// menu action its help context; 0 takes it away.
void SetHelpContext(QObject* target, int helpContext);
// The help context F1 asks for when pressed on the widget: its own, else that of
// the nearest widget around it within its window; for an open menu, that of the
// highlighted item (for the main menu, as its menu model gives it). 0 when there
// is none.
int HelpContextFor(QObject* receiver);

}  // namespace quorrel
