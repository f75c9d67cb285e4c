#pragma once
// The server window as core tests see it: it records the transfer gauge and can
// act once the bar has moved (press "Stop NOW", end the server mid-transfer).
#include <functional>
#include <vector>

#include "publish/Transfers.h"

namespace quorrel::test {

class RecordingServerWindow : public TServerWindowView {
 public:
  bool active = true;
  int rows = 0;  // selected rows of its list
  bool gaugeShown = false;
  int gaugeShows = 0;
  std::vector<int> widths;            // the Filler bar's widths, in order
  std::function<void()> onProgress;  // run each time the bar is past its start

  bool Active() const override { return active; }
  void ShowGauge(bool visible) override {
    gaugeShown = visible;
    gaugeShows += visible;
  }
  int GaugeWidth() const override { return 200; }
  void SetFillerWidth(int width) override {
    widths.push_back(width);
    if (width > 2 && onProgress) onProgress();
  }
  int SelectedRows() const override { return rows; }
};

}  // namespace quorrel::test
