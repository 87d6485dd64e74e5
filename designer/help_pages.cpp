#include "help_pages.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace designer {

QString helpPageFile(std::int32_t context) {
  const QString name = QString::number(context) + ".html";
  const QDir program(QCoreApplication::applicationDirPath());
  // Installed under the data folder beside the program's; in the build tree beside it.
  for (const QString& folder : {program.filePath(QStringLiteral("../" ZELK_DESIGNER_HELP_DIR)),
                                program.filePath(QStringLiteral("designer-help"))}) {
    const QFileInfo file(QDir(folder).filePath(name));
    if (file.isFile()) return file.canonicalFilePath();
  }
  return {};
}

namespace {

const QString kHelpWindow = QStringLiteral("help");

}  // namespace

bool helpShown(QWidget* parent) {
  const auto* dialog = parent->findChild<QDialog*>(kHelpWindow, Qt::FindDirectChildrenOnly);
  return dialog != nullptr && dialog->isVisible();
}

bool showHelpPage(QWidget* parent, std::int32_t context, const QString& title) {
  const QString file = helpPageFile(context);
  if (file.isEmpty()) return false;
  // One help window, which each request turns to its page.
  auto* dialog = parent->findChild<QDialog*>(kHelpWindow, Qt::FindDirectChildrenOnly);
  if (dialog == nullptr) {
    dialog = new QDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(kHelpWindow);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(new QTextBrowser(dialog));
    dialog->resize(480, 360);
  }
  dialog->setWindowTitle(title);
  dialog->findChild<QTextBrowser*>()->setSource(QUrl::fromLocalFile(file));
  dialog->show();
  dialog->raise();
  return true;
}

}  // namespace designer
