#pragma once
// The start-up splash, which later serves as the About box.
#include <QDialog>
#include <QStringList>

class QFrame;
class QLabel;
class QPushButton;

namespace quorrel {

class TSplashForm : public QDialog {
  Q_OBJECT

 public:
  explicit TSplashForm(QWidget* parent = nullptr);

  // Start: shows the splash above every window (not modal) for the program's
  // command-line parameters (without the program name), then checks the screen's fonts.
  void ShowSplash(const QStringList& parameters);
  // Help, About: the version line and OK; returns when the user closes it.
  int ShowAbout();

  QFrame* Panel;
  QLabel* Title;
  QLabel* ProgName;
  QLabel* VInfo;
  QPushButton* OKBtn;

 private:
  void Arrange(int height);
};

}  // namespace quorrel
