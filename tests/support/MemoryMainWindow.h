#pragma once
// The tests' main window: tabs of in-memory editors, captions, status panels and
// the window's state, all kept for the tests to look at.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/MainWindow.h"
#include "shell/Page.h"
#include "support/MemoryRich.h"

namespace quorrel::test {

class MemoryMainWindow : public TMainWindow {
 public:
  struct Tab {
    std::unique_ptr<MemoryRich> editor;
    std::string caption, hint;
    int helpContext = 0;
  };

  int TabCount() const override { return static_cast<int>(tabs_.size()); }
  int ActiveTab() const override { return active_; }
  TMyRich* TabEditor(int index) const override { return tabs_.at(index).editor.get(); }
  TMyRich* NewTab() override;
  void ActivateTab(int index) override { active_ = index; }
  void CloseTab(int index) override;
  void MoveTab(int from, int to) override;
  void SetTabCaption(int index, const std::string& caption, const std::string& hint) override;
  std::string TabCaption(int index) const override { return tabs_.at(index).caption; }
  std::string TabHint(int index) const override { return tabs_.at(index).hint; }
  void SetTabHelpContext(int index, int context) override { tabs_.at(index).helpContext = context; }
  int TabHelpContext(int index) const override { return tabs_.at(index).helpContext; }
  void SetTabsVisible(bool visible) override { tabsVisible_ = visible; }
  bool TabsVisible() const override { return tabsVisible_; }
  void SetMultiRowTabs(bool multiRow) override { multiRow_ = multiRow; }

  void SetCaption(const std::string& caption) override { caption_ = caption; }
  std::string Caption() const override { return caption_; }
  void SetStatusText(int panel, const std::string& text) override { panels_[panel] = text; }
  std::string StatusText(int panel) const override;
  void SetIndicator(const std::string& text, int colour, bool visible) override;

  void SetBusyCursor(bool busy) override { busyCursor_ = busy; }
  void ProcessMessages() override {}
  void ShowPendingChanges() override {}

  bool SplashShowing() const override { return splash_ == Splash::Shown; }
  std::string SplashCaption() const override { return splashCaption_; }
  void HideSplash() override;
  void CloseSplash() override { splash_ = Splash::Closed; }
  void SetSplashText(const std::string& text) override { splashTexts.push_back(text); }
  // Each name the splash was given to show, in order.
  std::vector<std::string> splashTexts;

  TWindowPlacement Placement() const override { return placement_; }
  void SetPlacement(const TWindowPlacement& placement) override;
  void Minimise() override { minimised_ = true; }
  int ScreenWidth() const override { return screenWidth_; }
  void Terminate() override { terminated_ = true; }

  void HideMarkers() override { ++markersHidden_; }
  void HideSectionsBox() override { sectionsShown_ = false; }
  void ShowSectionsBox(const TSectionsBox& box) override;
  bool SectionsBoxShowing() const override { return sectionsShown_; }
  bool SectionsBoxFocused() const override { return sectionsShown_; }
  void HighlightSectionLabel(int index) override { highlightedLabel_ = index; }
  int PageControlHeight() const override { return pageHeight_; }
  // The list as last shown, and its highlighted label.
  const TSectionsBox& ShownSectionsBox() const;
  int HighlightedLabel() const { return highlightedLabel_; }
  void SetPageControlHeight(int height) { pageHeight_ = height; }
  std::unique_ptr<TMyRich> NewHiddenEditor() override {
    ++hiddenEditors_;
    return std::make_unique<MemoryRich>();
  }
  int HiddenEditorsMade() const { return hiddenEditors_; }
  // The paragraph viewer's content as last shown.
  void ShowParagraphView(const TParagraphView& view) override { paragraphView = view; }
  std::optional<TParagraphView> paragraphView;
  // Jobs are kept, not printed; printError is what the printing answers.
  std::string Print(const TPrintJob& job) override {
    printed.push_back(job);
    return printError;
  }
  std::vector<TPrintJob> printed;
  std::string printError;
  void ShowForm(bool visible) override {
    formShown_ = visible;
    if (!visible) ++formHidden_;
  }

  // What the tests look at or arrange.
  enum class Splash { Shown, Hidden, Closed };
  MemoryRich& Editor(int index) { return *tabs_.at(index).editor; }
  Splash SplashState() const { return splash_; }
  void SetSplashCaption(const std::string& caption) { splashCaption_ = caption; }
  bool BusyCursor() const override { return busyCursor_; }
  bool MultiRow() const { return multiRow_; }
  bool Minimised() const { return minimised_; }
  bool Terminated() const { return terminated_; }
  bool PlacementSet() const { return placementSet_; }
  void SetScreenWidth(int width) { screenWidth_ = width; }
  std::vector<std::string> Captions() const;
  // Whether the main form shows, and how often it was hidden.
  bool FormShown() const { return formShown_; }
  int FormHidden() const { return formHidden_; }
  // The server-comparison indicator: "" while hidden, and its colour (0x00BBGGRR).
  const std::string& Indicator() const { return indicator_; }
  int IndicatorColour() const { return indicatorColour_; }

 private:
  int hiddenEditors_ = 0;
  bool sectionsShown_ = false;
  int highlightedLabel_ = -1;
  int pageHeight_ = 600;
  std::shared_ptr<TSectionsBox> shownBox_;
  std::vector<Tab> tabs_;
  int active_ = -1;
  bool tabsVisible_ = false;
  bool multiRow_ = false;
  std::string caption_ = "Quorrel";
  std::map<int, std::string> panels_;
  std::string indicator_;
  int indicatorColour_ = 0;
  bool busyCursor_ = false;
  Splash splash_ = Splash::Shown;
  std::string splashCaption_ = "Quorrel";
  TWindowPlacement placement_;
  bool placementSet_ = false;
  bool minimised_ = false;
  int screenWidth_ = 1920;
  bool terminated_ = false;
  int markersHidden_ = 0;
  bool formShown_ = true;
  int formHidden_ = 0;
};

}  // namespace quorrel::test
