#pragma once
// The main window's keyboard and mouse hooks on the application's events: every
// key for the main window goes to FormShortCut before the menus' shortcuts, each
// key once although Qt shows it twice (as a shortcut override and as a key press);
// characters typed into the current editor then go to MyKeyPress; a click on the
// editor's scroll bar and the preview browser's keys go to the message hook; a
// click or wheel turn in the editor ends a blink.
#include <QObject>

class QKeyEvent;

namespace quorrel {

struct TKey;

class TKeyHook : public QObject {
  Q_OBJECT

 public:
  explicit TKeyHook(QWidget* form);
  ~TKeyHook() override;

  // The key as core sees it.
  static TKey KeyOf(const QKeyEvent& event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool ShortcutOverride(QKeyEvent& event);
  bool KeyPress(QObject* watched, QKeyEvent& event);

  QWidget* form_;
  // The key whose shortcut override FormShortCut has seen, and its answer: the key
  // press that follows is the same key.
  struct {
    bool valid = false;
    int key = 0;
    int modifiers = 0;
    quint64 timestamp = 0;
    bool handled = false;
  } pending_;
};

}  // namespace quorrel
