#include "ui/shell/Startup.h"

#include <QApplication>
#include <QDialog>
#include <QHelpEvent>
#include <QTimer>
#include <QToolTip>

#include "commands/SpellCheck.h"
#include "commands/StartUp.h"
#include "music/MyPlayer.h"
#include "platform/CodePage.h"
#include "shell/Commands.h"
#include "shell/ShellState.h"
#include "ui/music/Mp3Device.h"
#include "ui/music/PlayerBarForm.h"
#include "ui/platform/QtDesktop.h"
#include "ui/platform/QtDialogs.h"
#include "ui/platform/SoundAndKeys.h"
#include "ui/publish/ConnectForm.h"
#include "ui/publish/OpenForm.h"
#include "ui/publish/SDetForm.h"
#include "ui/publish/ServForm.h"
#include "ui/shell/AssForm.h"
#include "ui/shell/FindForm.h"
#include "ui/shell/GotoForm.h"
#include "ui/shell/HelpViewer.h"
#include "ui/shell/LinkForm.h"
#include "ui/shell/MarkForm.h"
#include "ui/shell/PopForm.h"
#include "ui/sitebuild/UpForm.h"
#include "ui/shell/ProgBox.h"
#include "ui/shell/SetForm.h"
#include "ui/shell/SpecForm.h"
#include "ui/shell/SplashForm.h"
#include "ui/shell/ViewForm.h"
#include "ui/shell/WebForm.h"
#include "ui/shell/WhereForm.h"
#include "ui/sitebuild/LinkTextMetrics.h"
#include "ui/spell/SpellerDialog2.h"

namespace quorrel {

namespace {

// Tool tips stay up for 20 seconds.
class TToolTipPause : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->toolTip().isEmpty()) return false;
    auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), widget->toolTip(), widget, QRect(), 20000);
    return true;
  }
};

// A permanent form whose own part is still to be built: it exists, in its place
// in the order of creation, and shows nothing.
QDialog* FormShell(const char* name, const char* caption, QWidget* owner) {
  auto* form = new QDialog(owner);
  form->setObjectName(name);
  form->setWindowTitle(caption);
  return form;
}

}  // namespace

int RunProgram(QApplication& app) {
  ApplicationTitle = "Quorrel Editor";
  app.installEventFilter(new TToolTipPause(&app));
  QStringList arguments = app.arguments();
  arguments.removeFirst();
  StartParameters.clear();
  for (const QString& argument : arguments) StartParameters.push_back(QStringToAnsi(argument));

  // The permanent forms, in this order.
  auto* webForm = new TWebForm;
  SetMainWindow(webForm);
  auto* splash = new TSplashForm(webForm);
  webForm->SetSplash(splash);
  splash->ShowSplash(arguments);
  FormShell("MenuForm", "", webForm);
  InstallQtDialogs();
  CreateOpenForm(webForm);
  CreateFindForm(webForm);
  FormShell("BrowForm", "", webForm);
  CreateProgBox(webForm);
  CreateServForm(webForm);

  InstallSoundAndKeys();
  InstallQtDesktop();
  InstallHelpViewer();
  InstallLinkTextMetrics();
  InstallConnectForm();
  InstallServerDetailsForm();
  InstallSetForm();
  InstallMarkForm();
  InstallGotoForm();
  InstallViewForm(webForm);
  InstallPlayerBar(webForm);
  RegisterMp3Device();
  InstallSpellerDialog();
  InstallLinkForm();
  InstallAssForm();
  InstallSpecForm();
  InstallWhereForm();
  InstallPopForm();
  InstallUpForm();

  // The start-up runs as the main window is first activated, inside the message loop.
  QTimer::singleShot(0, webForm, [webForm] {
    RunGuarded(FormActivate);
    // A start-up that failed half-way still leaves a window to work in.
    if (!ProgramEnding && !webForm->isVisible()) webForm->show();
    // The documents opened show as soon as the start-up is done.
    if (!ProgramEnding) webForm->IdleSoon();
  });
  int result = app.exec();
  FreePlayer();
  FreeSpellChecker();
  CloseInternet();
  SetMainWindow(nullptr);
  delete webForm;
  return result;
}

}  // namespace quorrel
