// The print progress dialog: "Print Bitmap", the job, the printer and the progress, and Cancel.
// Modeless, so the GUI thread's events keep flowing while the job pumps them.
#pragma once

#include <QDialog>
#include <functional>

#include "ocx/printing.h"

class QLabel;

namespace host::qt {

class AbortDialogWidget : public QDialog {
 public:
  AbortDialogWidget(QWidget* owner, std::function<void()> onCancel);
  void setItemText(int item, const QString& text);

 protected:
  void reject() override;  // Cancel, Escape and closing the window

 private:
  QLabel* job_;
  QLabel* printer_;
  QLabel* progress_;
  std::function<void()> onCancel_;
  bool cancelled_ = false;
};

class AbortDialog : public ocx::AbortDialog {
 public:
  AbortDialog(QWidget* owner, std::function<void()> onCancel);
  ~AbortDialog() override;
  void setItemText(int item, const std::string& text) override;
  AbortDialogWidget& widget() { return *widget_; }

 private:
  AbortDialogWidget* widget_;
};

}  // namespace host::qt
