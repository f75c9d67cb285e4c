// The real editor control with RTF documents: the RTF conformance suite, then
// what only the real control shows.
#include <QApplication>
#include <QTextBlock>
#include <QTextDocument>

#include "support/RtfConformance.h"
#include "ui/platform/RichEdit.h"

namespace quorrel::test {
namespace {

struct QtRtfFactory {
  static std::unique_ptr<TMyRich> Make() {
    auto rich = std::make_unique<TRichEdit>();
    rich->SetEditorFont("DejaVu Sans Mono", 10, false);
    rich->resize(600, 400);
    rich->show();
    Settle();
    return rich;
  }
  static void Settle() { QApplication::processEvents(); }
};

INSTANTIATE_TYPED_TEST_SUITE_P(QTextEdit, RtfConformance, QtRtfFactory);

}  // namespace
}  // namespace quorrel::test
