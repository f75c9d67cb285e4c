#include "ui/platform/QtPrinting.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

#include "platform/CodePage.h"
#include "ui/platform/QtDialogs.h"

namespace quorrel {

namespace {

// Where the print dialog sent the job: a PDF file, or a queue.
void ApplyTarget(QPrinter& printer, const TPrintTarget& target) {
  const QString file = AnsiToQString(target.outputFile);
  if (printer.outputFileName() != file) printer.setOutputFileName(file);
  if (file.isEmpty() && printer.outputFormat() != QPrinter::NativeFormat) {
    printer.setOutputFormat(QPrinter::NativeFormat);
  }
  const QString queue = AnsiToQString(target.printer);
  if (file.isEmpty() && !queue.isEmpty() && printer.printerName() != queue) {
    printer.setPrinterName(queue);
  }
}

// Plain text black on white in the printer font.
std::unique_ptr<QTextDocument> PlainDocument(const TPrintJob& job) {
  QString text = AnsiToQString(job.text);
  text.replace("\r\n", "\n");
  text.replace('\r', '\n');
  auto document = std::make_unique<QTextDocument>();
  QFont font(AnsiToQString(job.fontName));
  font.setPointSize(job.fontSize > 0 ? job.fontSize : DefaultPrintFontSize);
  font.setStyleHint(QFont::TypeWriter);
  document->setDefaultFont(font);
  document->setPlainText(text);
  QTextCursor all(document.get());
  all.select(QTextCursor::Document);
  QTextCharFormat colours;
  colours.setForeground(Qt::black);
  colours.setBackground(Qt::white);
  all.mergeCharFormat(colours);
  return document;
}

}  // namespace

QPrinter& RunPrinter() {
  // Never destroyed: the print system may be gone by the time statics are.
  static QPrinter* printer = new QPrinter(QPrinter::HighResolution);
  return *printer;
}

std::string PrintJob(const TPrintJob& job, const QTextDocument* formatted) {
  QPrinter& printer = RunPrinter();
  ApplyTarget(printer, job.target);
  printer.setDocName(AnsiToQString(job.title));
  const TPrinterPage page{printer.width(), printer.height(), printer.logicalDpiX(),
                          printer.logicalDpiY()};
  const TPrintRect area = PrintArea(job, page);
  if (area.right <= area.left || area.bottom <= area.top) {
    return "The print margins leave no room on the page.";
  }
  std::unique_ptr<QTextDocument> document(formatted ? formatted->clone() : nullptr);
  if (!document) document = PlainDocument(job);

  QPainter painter;
  if (!painter.begin(&printer)) {
    return printer.outputFileName().isEmpty()
               ? std::string("The printer could not be started.")
               : "Cannot write " + QStringToAnsi(printer.outputFileName());
  }
  // Laid out on the printer's own resolution, a page the size of the text's rectangle.
  const qreal width = area.right - area.left;
  const qreal height = area.bottom - area.top;
  document->documentLayout()->setPaintDevice(&printer);
  document->setDocumentMargin(0);
  document->setPageSize(QSizeF(width, height));
  const int pages = document->pageCount();
  for (int i = 0; i < pages; ++i) {
    if (i > 0) printer.newPage();
    painter.save();
    painter.translate(area.left, area.top - i * height);
    const QRectF sheet(0, i * height, width, height);
    painter.setClipRect(sheet);
    // The layout draws every line that touches the area it is given, and the next
    // page's first line touches it at its foot: clipped out of sight, it would still
    // be in the file, found by a search or a copy. Lines are asked for from just
    // inside the page.
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = sheet.adjusted(0, 1, 0, -1);
    document->documentLayout()->draw(&painter, context);
    painter.restore();
  }
  painter.end();
  return "";
}

bool TQtDialogs::PrintDialog(TPrintTarget& target) {
  QPrinter& printer = RunPrinter();
  QPrintDialog dialog(&printer, QApplication::activeWindow());
  if (dialog.exec() != QDialog::Accepted) return false;
  target.outputFile =
      printer.outputFormat() == QPrinter::PdfFormat ? QStringToAnsi(printer.outputFileName()) : "";
  target.printer = QStringToAnsi(printer.printerName());
  return true;
}

}  // namespace quorrel
