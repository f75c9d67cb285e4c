#pragma once
// The player bar at the foot of the main window (PlayPnl) as core drives it: whether
// it shows, which of its optional buttons show and how far the position slider
// reaches. The ui draws it from this model and lays it out; its buttons run the
// handlers below. Main thread only.
#include <cstdint>
#include <functional>
#include <string>

namespace quorrel {

class TPlayPnl {
 public:
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // The width in pixels of the slider on the gauge.
  int SliderWidth() const { return sliderWidth_; }
  void SetSliderWidth(int width);
  // "End repeated section"
  bool SecBVisible() const { return secB_; }
  void SetSecBVisible(bool visible);
  // "Convert from MIDI to ABC"
  bool ABCBtnVisible() const { return abcBtn_; }
  void SetABCBtnVisible(bool visible);
  // "Play at half speed" and "Back to normal speed"
  bool SlowBtnVisible() const { return slowBtn_; }
  void SetSlowBtnVisible(bool visible);
  bool FastBtnVisible() const { return fastBtn_; }
  void SetFastBtnVisible(bool visible);
  // The gauge's width in pixels, as the ui lays it out.
  int GaugeWidth() const { return gaugeWidth_; }
  void SetGaugeWidth(int width);
  // The repeated section drawn on the gauge (shown with "End repeated section",
  // "Repeat to end of tune" and "Cancel repeated section"): left and width in
  // pixels of the gauge.
  bool RepLineVisible() const { return repLine_; }
  int RepLineLeft() const { return repLeft_; }
  int RepLineWidth() const { return repWidth_; }
  void SetRepLine(bool visible, int left, int width);
  // Elapsed and total time, "m:ss".
  const std::string& Elapsed() const { return elapsed_; }
  const std::string& TotalLength() const { return total_; }
  void SetTimes(const std::string& elapsed, const std::string& total);

  // Called after every change (the ui redraws).
  void SetOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }
  void Reset();

 private:
  void Changed();
  bool visible_ = false;
  int sliderWidth_ = 0;
  bool secB_ = false;
  bool abcBtn_ = false;
  bool slowBtn_ = true;
  bool fastBtn_ = true;
  int gaugeWidth_ = 0;
  bool repLine_ = false;
  int repLeft_ = 0;
  int repWidth_ = 0;
  std::string elapsed_ = "0:00";
  std::string total_ = "0:00";
  std::function<void()> onChange_;
};

TPlayPnl& PlayPnl();

// Length in milliseconds of the file the player plays, read when playing starts.
extern int64_t PlayLength;
// While set, stopping the player leaves the bar showing (playing starts again).
extern bool StopRequested;

// Shows the bar, with the speed buttons that suit the current document.
void SetPanel();
// Checks the repeated section against the length and draws it.
void GoRepeat();

// The bar's buttons.
void PlayBtnClick();   // play from the start, or from the start of the repeated section
void PauseBtnClick();  // pause, or resume
void StopBtnClick();   // stop; the bar stays
void ClosePClick();    // stop and hide the bar; an MP3 document's tab closes too

// Back to a hidden bar and no length.
void ResetPlayerBar();

}  // namespace quorrel
