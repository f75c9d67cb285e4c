// The file-list form listing /usr/share/doc with its pages' titles as the user
// sees it: the real form on the screen, its counter drawn after every file and the
// list refilled every 50 files, against the same scan with nothing drawn.
//   QT_QPA_PLATFORM=offscreen bench_ui_open_form [folder]
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <cstdio>
#include <string>

#include "publish/OpenUnit.h"
#include "publish/SiteFileList.h"
#include "publish/SiteScan.h"
#include "shell/MenuModel.h"
#include "ui/publish/OpenForm.h"

int main(int argc, char** argv) {
  using namespace quorrel;
  QApplication app(argc, argv);
  std::string root = argc > 1 ? argv[1] : "/usr/share/doc/";
  if (root.back() != '/') root += '/';
  MainMenu().SetChecked("ShowTitles", true);

  TScanRequest request;
  request.root = root;
  request.showTitles = true;
  QElapsedTimer timer;
  timer.start();
  const TScanResult quiet = DoScan(request);
  std::printf("Scan alone: %.0f ms, %zu entries\n", timer.nsecsElapsed() / 1e6,
              quiet.entries.size());

  TOpenForm* form = CreateOpenForm(nullptr);
  SiteFileList.root = root;
  SiteFileList.entries = {" placeholder"};  // shown as it is: no listing on show
  form->show();
  app.processEvents();
  timer.restart();
  form->ListClick();
  std::printf("The form's List: %.0f ms, %d lines shown\n", timer.nsecsElapsed() / 1e6,
              form->FileList->count());
  SetOpenForm(nullptr);
  delete form;
  return 0;
}
