#include "ui/shell/HelpViewer.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QTextBrowser>
#include <QTextStream>
#include <QVBoxLayout>

#include "platform/CodePage.h"
#include "shell/HelpSystem.h"
#include "shell/MenuModel.h"

static void InitHelpResources() {
  Q_INIT_RESOURCE(help);
}

namespace quorrel {

namespace {

const char kHelpContextProperty[] = "helpContext";

QString NoTopicPage(int helpContext) {
  return QString(
             "<html><head><title>Quorrel Help</title></head><body>"
             "<h1>Quorrel Help</h1><p>There is no help topic for context %1.</p>"
             "</body></html>")
      .arg(helpContext);
}

// Routes F1 to the help system before any shortcut can take it.
class TF1Filter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
      return false;
    }
    // Only widgets receive keys; a window that has no context of its own keeps
    // its own handling of F1.
    if (!watched->isWidgetType()) return false;
    const int helpContext = HelpContextFor(watched);
    if (helpContext <= 0) return false;
    event->accept();
    if (type == QEvent::KeyPress && !key->isAutoRepeat()) ShowHelpContext(helpContext);
    return true;
  }
};

QPointer<THelpViewer>& Viewer() {
  static QPointer<THelpViewer> viewer;
  return viewer;
}

}  // namespace

std::map<int, QString> ReadHelpMap(const QString& mapFile) {
  std::map<int, QString> map;
  QFile file(mapFile);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return map;
  QTextStream in(&file);
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.isEmpty() || line.startsWith('#') || line.startsWith(';')) continue;
    const qsizetype eq = line.indexOf('=');
    if (eq <= 0) continue;
    bool ok = false;
    const int helpContext = line.left(eq).trimmed().toInt(&ok);
    const QString page = line.mid(eq + 1).trimmed();
    if (ok && helpContext > 0 && !page.isEmpty()) map[helpContext] = page;
  }
  return map;
}

THelpViewer::THelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("HelpViewer");
  setWindowTitle("Quorrel Help");
  Browser = new QTextBrowser(this);
  Browser->setObjectName("Browser");
  Browser->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Browser);
  resize(640, 520);
}

void THelpViewer::keyPressEvent(QKeyEvent* event) {
  // Esc closes the window, as it does every other box of the program.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool THelpViewer::LoadMap(const QString& mapFile) {
  if (mapFile == mapFile_ && !map_.empty()) return true;
  map_ = ReadHelpMap(mapFile);
  mapFile_ = mapFile;
  folder_ = mapFile.left(mapFile.lastIndexOf('/') + 1);
  return !map_.empty();
}

bool THelpViewer::ShowTopic(const std::string& helpFile, int helpContext) {
  // A window definition after ">" only names the window; we have one.
  QString mapFile = AnsiToQString(helpFile);
  mapFile = mapFile.left(mapFile.indexOf('>') < 0 ? mapFile.size() : mapFile.indexOf('>'));
  LoadMap(mapFile);
  context_ = helpContext;
  auto it = map_.find(helpContext);
  page_ = it == map_.end() ? QString() : it->second;
  const QString pagePath = folder_ + page_;
  if (!page_.isEmpty() && QFile::exists(pagePath)) {
    Browser->setSource(pagePath.startsWith(':') ? QUrl("qrc" + pagePath)
                                                : QUrl::fromLocalFile(pagePath));
    setWindowTitle("Quorrel Help - " + Browser->documentTitle());
  } else {
    page_.clear();
    Browser->setHtml(NoTopicPage(helpContext));
    setWindowTitle("Quorrel Help");
  }
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
  return true;
}

void THelpViewer::CloseAll() {
  close();
}

void InstallHelpViewer() {
  HookHelpSystem();
  if (Viewer()) return;
  InitHelpResources();
  Viewer() = new THelpViewer;
  Viewer()->setAttribute(Qt::WA_QuitOnClose, false);
  SetHelpWindow(Viewer());
  QObject::connect(Viewer().data(), &QObject::destroyed, [] { SetHelpWindow(nullptr); });
  // Gone with the event loop, before anything is released at exit.
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { delete Viewer().data(); });
  qApp->installEventFilter(new TF1Filter(qApp));
}

THelpViewer* HelpViewerWindow() {
  return Viewer();
}

void SetHelpContext(QObject* target, int helpContext) {
  if (target) target->setProperty(kHelpContextProperty, helpContext);
}

int HelpContextFor(QObject* receiver) {
  if (auto* menu = qobject_cast<QMenu*>(receiver)) {
    if (QAction* action = menu->activeAction()) {
      int helpContext = action->property(kHelpContextProperty).toInt();
      // An item of the main menu carries its help context in the menu model.
      if (helpContext <= 0) {
        if (const TMenuItem* item = MainMenu().Find(action->objectName().toStdString())) {
          helpContext = item->helpContext;
        }
      }
      if (helpContext > 0) return helpContext;
    }
  }
  for (auto* widget = qobject_cast<QWidget*>(receiver); widget; widget = widget->parentWidget()) {
    const int helpContext = widget->property(kHelpContextProperty).toInt();
    if (helpContext > 0) return helpContext;
    if (widget->isWindow()) break;  // a form's owner lends it no help
  }
  return 0;
}

}  // namespace quorrel
