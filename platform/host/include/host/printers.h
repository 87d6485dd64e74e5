// The printers the desktop offers: the file printer "pdf:FILE", and the printing system's queues
// through a backend the GUI layer installs (CUPS through Qt). Which one is the default printer:
// the name a container was given, else the operator's choice in the printer set-up, else
// ZELK_PRINTER when it is set, else the printing system's default queue. An empty name at any of
// these steps means there is no default printer.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ocx/printing.h"

namespace host {

// The printing system's queues by name.
class QueuePrinters {
 public:
  virtual ~QueuePrinters();
  // The printing system's default queue; nothing without a scheduler or a default.
  virtual std::optional<std::string> defaultQueue() = 0;
  // The queue's device, driver and port; nothing for a queue the scheduler does not know.
  virtual std::optional<ocx::PrinterEntry> queue(const std::string& name) = 0;
  virtual std::unique_ptr<ocx::PrinterDC> open(const ocx::PrinterEntry& printer) = 0;
};

// The process's queue backend; null (the start) leaves only the file printer.
void setQueuePrinters(QueuePrinters* printers);
// The operator's choice of printer for later prints; nothing forgets it.
void setChosenPrinter(std::optional<std::string> name);
std::optional<std::string> chosenPrinter();

// The file printer: one A4 portrait page of 300 dots per inch each way, printable to the edges.
inline constexpr int kPdfPageWidth = 2480;
inline constexpr int kPdfPageHeight = 3508;
inline constexpr int kPdfDotsPerInch = 300;
inline constexpr char kPdfPrefix[] = "pdf:";
inline constexpr char kPdfDevice[] = "PDF file";
inline constexpr char kPdfDriver[] = "pdf";

// The printer a name stands for: "pdf:FILE" the file printer writing FILE, any other name a
// queue. Nothing for an empty name or an unknown queue.
std::optional<ocx::PrinterEntry> printerNamed(const std::string& name);
// The default printer, with containerChoice (a container's setPrinter) first.
std::optional<ocx::PrinterEntry> defaultPrinter(const std::optional<std::string>& containerChoice);
// What a printer of a printable area of width x height pixels at dotsPerInch each way answers
// for a device capability: 24-bit colour in one plane, 0 for anything else.
int printerDeviceCaps(int index, int width, int height, int dotsPerInch);

// A device context on the printer; null when it cannot be opened.
std::unique_ptr<ocx::PrinterDC> openPrinter(const ocx::PrinterEntry& printer);

}  // namespace host
