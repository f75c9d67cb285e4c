#pragma once
// What a print job holds and where on the page its text goes: the margins of the
// settings, the printer font and the rules for a page without margins. The ui
// prints the job (TMainWindow::Print). Texts are Windows-1252 bytes.
#include <string>

#include "platform/UserDialogs.h"

namespace quorrel {

class TMyRich;

// [System] "TopMargin", "RightMargin", "BottomMargin", "LeftMargin", in millimetres;
// a negative value counts as 0.
struct TPrintMargins {
  int top = 0;
  int right = 0;
  int bottom = 0;
  int left = 0;
  bool AllZero() const { return top == 0 && right == 0 && bottom == 0 && left == 0; }
};
TPrintMargins ReadPrintMargins();

// [Text] "PrFont" and "PrFontSize".
inline constexpr const char* DefaultPrintFont = "Lucida Sans Typewriter";
inline constexpr int DefaultPrintFontSize = 10;

struct TPrintJob {
  TPrintTarget target;  // the printer, or the PDF file, the print dialog chose
  std::string title;    // the job's name in the queue: the document's file name
  // An editor printed with its own formats; without one, text is printed plainly,
  // black on white, in the printer font.
  TMyRich* formatted = nullptr;
  std::string text;
  std::string fontName = DefaultPrintFont;
  int fontSize = DefaultPrintFontSize;
  TPrintMargins margins;
  // Without margins in the settings: a letter (".LTR") is laid out as a letter, and
  // noMargin (the letter's "Add margin?" answered No) uses the whole page.
  bool letter = false;
  bool noMargin = false;
};

// The printer's page: its printable area and its resolution, in device pixels.
struct TPrinterPage {
  int width = 0;
  int height = 0;
  int dpiX = 0;
  int dpiY = 0;
};

// Where the text goes on each page, in device pixels from the top left of the
// printable area.
struct TPrintRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const TPrintRect&) const = default;
};

// Millimetres (57 twips each) as pixels at a resolution.
int MarginToPixels(int millimetres, int dpi);

// The text's rectangle on the page. Margins of the settings are measured from the
// edges of the printable area, the horizontal ones at the horizontal resolution
// and the vertical ones at the vertical resolution. Without margins the page loses
// 120 pixels at the bottom; the text keeps 1/18 of the rest above and below it,
// 1/13 of the width to its right and 250 pixels (a letter: 1/13 of the width) to
// its left. Empty (right <= left or bottom <= top) when the margins leave no room.
TPrintRect PrintArea(const TPrintJob& job, const TPrinterPage& page);

}  // namespace quorrel
