#include "qt_prompter.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace spectrograph::app {

// The spectrograph only ever reports; an OK box stands for every style it uses.
xvtools::MsgBoxResult QtPrompter::messageBox(const std::string& text, const std::string& title,
                                             int style) {
  const auto icon = xvtools::msgBoxIcon(style) == xvtools::vbCritical ? QMessageBox::Critical
                                                                      : QMessageBox::Information;
  QMessageBox box(icon, QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::Ok, parent_);
  box.exec();
  return xvtools::vbOK;
}

std::optional<std::string> QtPrompter::inputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(parent_, QString::fromStdString(title), QString::fromStdString(prompt),
                            QLineEdit::Normal, QString::fromStdString(defaultText), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

std::string QtPrompter::openFile(const std::string&, int) {
  return QFileDialog::getOpenFileName(parent_).toStdString();
}

}  // namespace spectrograph::app
