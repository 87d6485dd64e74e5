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

bool showHelpPage(QWidget* parent, std::int32_t context, const QString& title) {
  const QString file = helpPageFile(context);
  if (file.isEmpty()) return false;
  auto* dialog = new QDialog(parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setObjectName(QStringLiteral("help"));
  dialog->setWindowTitle(title);
  auto* browser = new QTextBrowser(dialog);
  browser->setSource(QUrl::fromLocalFile(file));
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(browser);
  dialog->resize(480, 360);
  dialog->show();
  return true;
}

}  // namespace designer
