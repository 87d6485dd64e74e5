#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>

#include "host/printers.h"
#include "host/qt/print_services.h"

namespace host::qt {

namespace {

// Qt's dialog opens on the printing system's default queue whatever printer it is given: turn its
// printer list to the printer in force. The file printer is the one named entry that is no queue
// (an empty one separates the two).
void startOn(QPrintDialog& dialog, const ocx::PrinterEntry& current) {
  auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
  if (printers == nullptr) return;
  const bool file = current.driver == kPdfDriver;
  const QStringList queues = QPrinterInfo::availablePrinterNames();
  for (int i = 0; i < printers->count(); ++i) {
    const QString entry = printers->itemText(i);
    if (file ? !entry.isEmpty() && !queues.contains(entry)
             : entry == QString::fromStdString(current.device)) {
      printers->setCurrentIndex(i);
      break;
    }
  }
  auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
  if (file && name != nullptr) name->setText(QString::fromStdString(current.port));
}

}  // namespace

bool showPrinterSetup(QWidget* parent) {
  QPrinter printer;
  const auto current = host::defaultPrinter(std::nullopt);
  if (current) {
    if (current->driver == kPdfDriver) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(current->port));
    } else {
      printer.setPrinterName(QString::fromStdString(current->device));
    }
  }
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle("Printer Setup");
  // Once shown: showing the dialog sets its list afresh.
  if (current) QTimer::singleShot(0, &dialog, [&dialog, &current] { startOn(dialog, *current); });
  // Nothing is printed here: the button chooses the printer that later prints go to.
  if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
      ok->setText(QObject::tr("&Select"));
  }
  if (dialog.exec() != QDialog::Accepted) return false;
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
    setChosenPrinter(kPdfPrefix + printer.outputFileName().toStdString());
  } else {
    setChosenPrinter(printer.printerName().toStdString());
  }
  return true;
}

}  // namespace host::qt
