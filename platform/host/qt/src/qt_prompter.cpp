#include "host/qt/qt_prompter.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <vector>

#include "host/common_dialog.h"

namespace host::qt {

namespace {

struct ButtonSpec {
  MsgBoxResult result;
  const char* text;
  QMessageBox::ButtonRole role;
};

std::vector<ButtonSpec> buttonsOf(int style) {
  switch (msgBoxButtons(style)) {
    case vbOKCancel:
      return {{vbOK, "OK", QMessageBox::AcceptRole}, {vbCancel, "Cancel", QMessageBox::RejectRole}};
    case vbAbortRetryIgnore:
      return {{vbAbort, "&Abort", QMessageBox::RejectRole},
              {vbRetry, "&Retry", QMessageBox::AcceptRole},
              {vbIgnore, "&Ignore", QMessageBox::AcceptRole}};
    case vbYesNoCancel:
      return {{vbYes, "&Yes", QMessageBox::YesRole},
              {vbNo, "&No", QMessageBox::NoRole},
              {vbCancel, "Cancel", QMessageBox::RejectRole}};
    case vbYesNo:
      return {{vbYes, "&Yes", QMessageBox::YesRole}, {vbNo, "&No", QMessageBox::NoRole}};
    case vbRetryCancel:
      return {{vbRetry, "&Retry", QMessageBox::AcceptRole},
              {vbCancel, "Cancel", QMessageBox::RejectRole}};
    default:
      return {{vbOK, "OK", QMessageBox::AcceptRole}};
  }
}

QMessageBox::Icon iconOf(int style) {
  switch (msgBoxIcon(style)) {
    case vbCritical:
      return QMessageBox::Critical;
    case vbQuestion:
      return QMessageBox::Question;
    case vbExclamation:
      return QMessageBox::Warning;
    case vbInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

QString fileDialogFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    // The description often repeats the patterns already: show them once.
    const QString& description = parts[i];
    entries << (description.contains('(') ? description.section('(', 0, 0).trimmed()
                                          : description) +
                   " (" + patterns + ")";
  }
  return entries.join(";;");
}

MsgBoxResult QtPrompter::messageBox(const std::string& text, const std::string& title, int style) {
  QMessageBox box(iconOf(style), QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::NoButton, parent_);
  // Texts carry file names and other text from files, never markup to render.
  box.setTextFormat(Qt::PlainText);
  const std::vector<ButtonSpec> specs = buttonsOf(style);
  std::vector<QPushButton*> buttons;
  for (const ButtonSpec& button : specs) buttons.push_back(box.addButton(button.text, button.role));
  const std::size_t preferred = static_cast<std::size_t>((style & 0x300) >> 8);
  box.setDefaultButton(buttons[preferred < buttons.size() ? preferred : 0]);
  // Escape answers as the platform's does: Cancel where there is one, else the only button.
  const std::size_t escape = specs.back().result == vbCancel || specs.size() == 1
                                 ? specs.size() - 1
                                 : static_cast<std::size_t>(-1);
  if (escape != static_cast<std::size_t>(-1)) box.setEscapeButton(buttons[escape]);
  box.exec();
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (box.clickedButton() == buttons[i]) return specs[i].result;
  }
  return specs.back().result == vbCancel ? vbCancel : specs.front().result;
}

std::optional<std::string> QtPrompter::inputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) {
  QInputDialog dialog(parent_);
  dialog.setWindowTitle(QString::fromStdString(title));
  dialog.setLabelText(QString::fromStdString(prompt));
  if (auto* label = dialog.findChild<QLabel*>()) label->setTextFormat(Qt::PlainText);
  dialog.setTextValue(QString::fromStdString(defaultText));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue().toStdString();
}

std::string QtPrompter::openFile(const std::string& filter, int flags) {
  QFileDialog dialog(parent_);
  dialog.setNameFilters(fileDialogFilter(filter).split(";;"));
  // A log to write may be a new file; a recording to play must exist.
  dialog.setFileMode((flags & CommonDialog::cdlOFNFileMustExist) ? QFileDialog::ExistingFile
                                                                 : QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front().toStdString();
}

bool QtPrompter::choosePrinter() { return printerChooser_ ? printerChooser_(parent_) : false; }

}  // namespace host::qt
