// The form's questions as Qt dialogs: message boxes with the forms runtime's buttons and icons,
// the input box, the file dialog, and the printer set-up, which the program supplies.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "host/prompter.h"

namespace host::qt {

// "Description|pattern;pattern|..." as a QFileDialog filter list, ";;" between entries.
QString fileDialogFilter(const std::string& filter);

class QtPrompter final : public Prompter {
 public:
  // Dialogs are centred on parent (may be null).
  explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  MsgBoxResult messageBox(const std::string& text, const std::string& title, int style) override;
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::string openFile(const std::string& filter, int flags) override;
  // Runs the printer chooser the program installed; false (nothing chosen) without one.
  bool choosePrinter() override;
  using PrinterChooser = std::function<bool(QWidget* parent)>;
  void setPrinterChooser(PrinterChooser chooser) { printerChooser_ = std::move(chooser); }

 private:
  QWidget* parent_;
  PrinterChooser printerChooser_;
};

}  // namespace host::qt
