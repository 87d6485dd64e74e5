#include "abort_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace host::qt {

AbortDialogWidget::AbortDialogWidget(QWidget* owner, std::function<void()> onCancel)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint),
      onCancel_(std::move(onCancel)) {
  setWindowTitle("Print Bitmap");
  setModal(false);
  auto* group = new QGroupBox(this);
  auto* lines = new QVBoxLayout(group);
  job_ = new QLabel("Printing", group);
  printer_ = new QLabel("on Printer", group);
  progress_ = new QLabel("Spooling...", group);
  for (QLabel* label : {job_, printer_, progress_}) {
    label->setAlignment(Qt::AlignCenter);
    lines->addWidget(label);
  }
  auto* icon = new QLabel(this);
  const QIcon printerIcon =
      QIcon::fromTheme("printer", style()->standardIcon(QStyle::SP_DriveFDIcon));
  icon->setPixmap(printerIcon.pixmap(32, 32));
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setDefault(true);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, Qt::AlignTop);
  layout->addWidget(group, 0, 1);
  layout->addWidget(cancel, 1, 0, 1, 2, Qt::AlignHCenter);
  cancel->setFocus();
}

void AbortDialogWidget::setItemText(int item, const QString& text) {
  switch (item) {
    case ocx::kAbortItemJob:
      job_->setText(text);
      break;
    case ocx::kAbortItemPrinter:
      printer_->setText(text);
      break;
    case ocx::kAbortItemProgress:
      progress_->setText(text);
      break;
    default:
      break;
  }
}

void AbortDialogWidget::reject() {
  // The dialog goes at once; the job hears of the cancel at its next pump.
  hide();
  if (cancelled_) return;
  cancelled_ = true;
  if (onCancel_) onCancel_();
}

AbortDialog::AbortDialog(QWidget* owner, std::function<void()> onCancel)
    : widget_(new AbortDialogWidget(owner, std::move(onCancel))) {
  widget_->show();
  widget_->raise();
}

AbortDialog::~AbortDialog() { delete widget_; }

void AbortDialog::setItemText(int item, const std::string& text) {
  widget_->setItemText(item, QString::fromStdString(text));
}

}  // namespace host::qt
