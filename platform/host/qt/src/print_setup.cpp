#include <QPrintDialog>
#include <QPrinter>

#include "host/printers.h"
#include "host/qt/print_services.h"

namespace host::qt {

bool showPrinterSetup(QWidget* parent) {
  QPrinter printer;
  if (const auto current = host::defaultPrinter(std::nullopt)) {
    if (current->driver == kPdfDriver) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(current->port));
    } else {
      printer.setPrinterName(QString::fromStdString(current->device));
    }
  }
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle("Printer Setup");
  if (dialog.exec() != QDialog::Accepted) return false;
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
    setChosenPrinter(kPdfPrefix + printer.outputFileName().toStdString());
  } else {
    setChosenPrinter(printer.printerName().toStdString());
  }
  return true;
}

}  // namespace host::qt
