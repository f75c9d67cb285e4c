#include "shell/PrintLayout.h"

#include <algorithm>
#include <cstdint>

#include "platform/IniFile.h"
#include "shell/ShellState.h"

namespace quorrel {

TPrintMargins ReadPrintMargins() {
  TPrintMargins m;
  if (!SettingsIni) return m;
  auto read = [](const char* key) {
    return std::max(0, SettingsIni->ReadInteger("System", key, 0));
  };
  m.top = read("TopMargin");
  m.right = read("RightMargin");
  m.bottom = read("BottomMargin");
  m.left = read("LeftMargin");
  return m;
}

int MarginToPixels(int millimetres, int dpi) {
  return static_cast<int>(static_cast<int64_t>(millimetres) * dpi * 57 / 1440);
}

TPrintRect PrintArea(const TPrintJob& job, const TPrinterPage& page) {
  const TPrintMargins& m = job.margins;
  if (!m.AllZero()) {
    return {MarginToPixels(m.left, page.dpiX), MarginToPixels(m.top, page.dpiY),
            page.width - MarginToPixels(m.right, page.dpiX),
            page.height - MarginToPixels(m.bottom, page.dpiY)};
  }
  const int64_t width = page.width;
  const int64_t height = page.height - 120;
  if (job.letter && job.noMargin) return {0, 0, page.width, static_cast<int>(height)};
  return {static_cast<int>(job.letter ? width * 12 / 156 : 250),
          static_cast<int>(height * 17 / 306), static_cast<int>(width * 12 / 13),
          static_cast<int>(height * 17 / 18)};
}

}  // namespace quorrel
