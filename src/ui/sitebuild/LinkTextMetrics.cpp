#include "ui/sitebuild/LinkTextMetrics.h"

#include <QFont>
#include <QFontMetricsF>

#include "platform/CodePage.h"
#include "sitebuild/LinkTextWidth.h"

namespace quorrel {

namespace {

constexpr char kLinkFont[] = "DejaVu Sans";
constexpr int kLinkFontPixels = 16;  // 12 points at 96 dots an inch

}  // namespace

void InstallLinkTextMetrics() {
  QFont font(kLinkFont);
  font.setPixelSize(kLinkFontPixels);
  const QFontMetricsF metrics(font);
  SetLinkTextWidth([metrics](const std::string& text) {
    return metrics.horizontalAdvance(AnsiToQString(text));
  });
}

}  // namespace quorrel
