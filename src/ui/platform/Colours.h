#pragma once
// Colours between the integers core keeps and QColor. Settings and core hold
// Windows' 0x00BBGGRR; the RTF model holds 0xRRGGBB, as RTF's colour table
// writes it. Only ui converts, and only here.
#include <QColor>
#include <cstdint>

namespace quorrel {

inline QColor ColourFromBgr(int bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

inline int BgrOf(const QColor& colour) {
  return (colour.blue() << 16) | (colour.green() << 8) | colour.red();
}

inline QColor ColourFromRgb(int32_t rgb) {
  return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}
inline int32_t RgbOf(const QColor& colour) {
  return (colour.red() << 16) | (colour.green() << 8) | colour.blue();
}

}  // namespace quorrel
