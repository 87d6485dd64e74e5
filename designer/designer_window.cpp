#include "designer_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <memory>

#include "automation/server.h"
#include "bag_file.h"
#include "form_files.h"
#include "help_pages.h"
#include "host/qt/page_widget.h"
#include "host/qt/qt_container.h"
#include "page_classes.h"

namespace designer {

namespace {

using host::qt::PageWidget;

const QString kBagFilter = QObject::tr("Property bags (*.bag);;All files (*)");

}  // namespace

DesignerWindow::DesignerWindow(QWidget* parent)
    : QMainWindow(parent), chart_(nullptr), sheet_(new QTabWidget) {
  message_ = [this](const QString& message) {
    QMessageBox::warning(this, QStringLiteral("kvplotax-designer"), message);
  };
  saveQuestion_ = [this](const QString& question) {
    return QMessageBox::question(this, QStringLiteral("kvplotax-designer"), question,
                                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                 QMessageBox::Save);
  };
  openQuestion_ = [this](const QString& question) {
    return QMessageBox::question(this, QStringLiteral("kvplotax-designer"), question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  };
  auto* split = new QSplitter(Qt::Horizontal, this);
  split->setChildrenCollapsible(false);
  sheet_->setObjectName(QStringLiteral("sheet"));
  split->addWidget(sheet_);
  chart_ = new host::qt::QtContainer;
  chart_->setObjectName(QStringLiteral("chart"));
  chart_->setMinimumSize(200, 150);
  // As a form designer shows it: a scale changed on a page is laid out again at once.
  chart_->setUserMode(false);
  // A program's form is shown at the size the program gives its chart, scrolled when larger.
  preview_ = new QScrollArea(split);
  preview_->setWidget(chart_);
  preview_->setWidgetResizable(true);
  preview_->setAlignment(Qt::AlignCenter);
  split->addWidget(preview_);
  revertQuestion_ = [this](const QString& question) {
    return QMessageBox::question(this, QStringLiteral("kvplotax-designer"), question) ==
           QMessageBox::Yes;
  };
  split->setStretchFactor(1, 1);
  split->setSizes({420, 580});
  setCentralWidget(split);
  // A page shown again reads the control: another page may have changed what it shows. An open
  // help window follows it to its help.
  connect(sheet_, &QTabWidget::currentChanged, this, [this](int index) {
    if (index >= 0 && index < pageCount()) page(index).reload();
    if (helpShown(this)) showCurrentHelp();
  });
  buildMenus();
  updateTitle();
  // As large as the pages and the chart want, but no larger than the screen it opens on.
  QSize size(1000, 600);
  if (const QScreen* screen = this->screen())
    size = size.boundedTo(screen->availableGeometry().size());
  resize(size);
}

DesignerWindow::~DesignerWindow() { clearPages(); }

PageWidget& DesignerWindow::page(int index) { return *pages_.at(static_cast<std::size_t>(index)); }

void DesignerWindow::setMessageHandler(std::function<void(const QString&)> handler) {
  message_ = std::move(handler);
}

void DesignerWindow::tell(const QString& message) {
  if (message_) message_(message);
}

void DesignerWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(tr("&Open..."), QKeySequence::Open, this, [this] { askOpen(); });
  file->addAction(tr("&Save"), QKeySequence::Save, this, [this] { save(); });
  file->addAction(tr("Save &As..."), QKeySequence::SaveAs, this, [this] { askSaveAs(); });
  file->addAction(tr("&Revert to Designed"), this, [this] { revertToDesigned(); });
  file->addSeparator();
  file->addAction(tr("E&xit"), QKeySequence::Quit, this, [this] { close(); });
  QMenu* help = menuBar()->addMenu(tr("&Help"));
  help->addAction(tr("Help on This &Page"), QKeySequence::HelpContents, this,
                  [this] { showCurrentHelp(); });
}

bool DesignerWindow::openFile(const QString& path) {
  const FormFiles files = formFiles(path);
  QString reason;
  const auto bag = readBagFile(files.read, &reason);
  if (!bag) {
    tell(tr("%1 cannot be read: %2").arg(path, reason));
    return false;
  }
  // Without its heading the file is not a saved chart: the pages would show a new control's
  // defaults, and a later Save would write them over whatever the file holds.
  if (!bagClass(*bag) &&
      openQuestion_(tr("%1 is not a saved chart: it has no [Class ...] line. Open it with a new "
                       "chart's settings, which Save would write over what it holds?")
                        .arg(path)) != QMessageBox::Yes)
    return false;
  const automation::Guid clsid =
      bagClass(*bag).value_or(*automation::Guid::parse(std::string(kChartClass)));
  clearPages();
  try {
    chart_->loadBag(clsid, *bag);
  } catch (const std::exception& e) {
    tell(tr("The control of %1 cannot be created: %2").arg(path, QString::fromUtf8(e.what())));
    path_.clear();
    installed_.clear();
    savedBag_.clear();
    updateTitle();
    return false;
  }
  const QSize formSize = formChartSize(files.write);
  preview_->setWidgetResizable(formSize.isEmpty());
  if (formSize.isEmpty()) {
    chart_->setMinimumSize(200, 150);
    chart_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  } else {
    chart_->setFixedSize(formSize);
  }
  chart_->pump();
  path_ = QFileInfo(files.write).absoluteFilePath();
  installed_ = files.installed;
  savedBag_ = chart_->saveBag();
  buildPages();
  updateTitle();
  return true;
}

void DesignerWindow::buildPages() {
  // The pages borrow the control: the container keeps it, and the pages go before it does.
  const std::shared_ptr<automation::Dispatch> control(std::shared_ptr<automation::Dispatch>(),
                                                      &chart_->control());
  for (const std::string_view clsid : kPageClasses) {
    std::shared_ptr<automation::Dispatch> object;
    try {
      object = automation::createObject(*automation::Guid::parse(std::string(clsid)));
      object->put("Object", automation::Variant(control));
    } catch (const std::exception& e) {
      tell(tr("The page %1 cannot be created: %2")
               .arg(QString::fromUtf8(clsid.data(), static_cast<int>(clsid.size())),
                    QString::fromUtf8(e.what())));
      continue;
    }
    auto* widget = new PageWidget(std::move(object));
    widget->setChangeHandler([this] { updateTitle(); });
    widget->setErrorReporter([this](const QString& message) { tell(message); });
    auto* scroll = new QScrollArea;
    scroll->setWidget(widget);
    scroll->setWidgetResizable(true);
    sheet_->addTab(scroll, widget->title());
    pages_.push_back(widget);
  }
}

void DesignerWindow::clearPages() {
  const QSignalBlocker block(sheet_);
  pages_.clear();
  while (sheet_->count() > 0) {
    QWidget* tab = sheet_->widget(0);
    sheet_->removeTab(0);
    delete tab;
  }
}

bool DesignerWindow::isModified() {
  try {
    return !path_.isEmpty() && chart_->saveBag() != savedBag_;
  } catch (const automation::AutomationError&) {
    return false;  // no control
  }
}

void DesignerWindow::updateTitle() {
  const QString name = path_.isEmpty() ? tr("Untitled") : QFileInfo(path_).fileName();
  setWindowTitle(name + QStringLiteral("[*] - kvplotax-designer"));
  setWindowModified(isModified());
}

bool DesignerWindow::save() {
  if (path_.isEmpty()) return askSaveAs();
  return saveAs(path_);
}

bool DesignerWindow::saveAs(const QString& path) {
  if (pages_.empty()) return false;  // nothing open
  const std::string bag = chart_->saveBag();
  QString reason;
  // The user's forms folder is made on the first save of a style; other folders must exist.
  if (!installed_.isEmpty() && QFileInfo(path).absoluteFilePath() == path_)
    QDir().mkpath(QFileInfo(path).absolutePath());
  if (!writeBagFile(path, bag, reason)) {
    tell(tr("%1 cannot be written: %2").arg(path, reason));
    return false;
  }
  path_ = QFileInfo(path).absoluteFilePath();
  installed_ = formFiles(path_).installed;
  savedBag_ = bag;
  updateTitle();
  return true;
}

bool DesignerWindow::revertToDesigned() {
  if (installed_.isEmpty()) {
    tell(tr("Only a program's form can be reverted to its designed settings."));
    return false;
  }
  if (!revertQuestion_(tr("Remove your style %1 and show the form as designed?").arg(path_)))
    return false;
  QFile mine(path_);
  if (mine.exists() && !mine.remove()) {
    tell(tr("%1 cannot be removed: %2").arg(path_, mine.errorString()));
    return false;
  }
  return openFile(installed_);
}

void DesignerWindow::askOpen() {
  if (!maySetAside()) return;
  const QString path = QFileDialog::getOpenFileName(this, tr("Open"), path_, kBagFilter);
  if (!path.isEmpty()) openFile(path);
}

bool DesignerWindow::askSaveAs() {
  const QString path = QFileDialog::getSaveFileName(this, tr("Save As"), path_, kBagFilter);
  return !path.isEmpty() && saveAs(path);
}

bool DesignerWindow::maySetAside() {
  if (!isModified()) return true;
  const QMessageBox::StandardButton answer = saveQuestion_(
      tr("The settings of %1 have changed. Save them?").arg(QFileInfo(path_).fileName()));
  if (answer == QMessageBox::Save) return save();
  return answer == QMessageBox::Discard;
}

void DesignerWindow::closeEvent(QCloseEvent* event) {
  if (maySetAside()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void DesignerWindow::showCurrentHelp() {
  const int index = sheet_->currentIndex();
  if (index < 0 || index >= pageCount()) return;
  PageWidget& current = page(index);
  if (!showHelpPage(this, current.helpContext(), current.title()))
    tell(tr("No help is installed for the %1 page.").arg(current.title()));
}

}  // namespace designer
