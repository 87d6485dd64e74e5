// The designer's window: the chart control live in a container beside its property sheet, one
// tab per page, and the property-bag file they edit.
#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "automation/automation.h"

class QScrollArea;
class QTabWidget;

namespace host::qt {
class PageWidget;
class QtContainer;
}  // namespace host::qt

namespace designer {

class DesignerWindow final : public QMainWindow {
 public:
  explicit DesignerWindow(QWidget* parent = nullptr);
  ~DesignerWindow() override;

  // Loads the file's control and shows its pages. False when the file cannot be read, is too
  // large, or is not a saved chart and the user chose not to open it (what was shown stays), or
  // its control cannot be created (nothing is shown then). Unsaved changes are the caller's to
  // ask about.
  bool openFile(const QString& path);
  // Writes the control's settings to the file shown (or asks for one); false when not written.
  bool save();
  bool saveAs(const QString& path);
  // File > Revert to Designed: after asking, removes the user's style of an installed form and
  // shows the form as installed. False when not asked for, refused or not removed.
  bool revertToDesigned();
  void setRevertQuestion(std::function<bool(const QString&)> question) {
    revertQuestion_ = std::move(question);
  }
  // Whether the control's settings differ from the file's.
  bool isModified();

  QString filePath() const { return path_; }
  host::qt::QtContainer& chart() { return *chart_; }
  QTabWidget& sheet() { return *sheet_; }
  host::qt::PageWidget& page(int index);
  int pageCount() const { return static_cast<int>(pages_.size()); }
  // What tells the user of failures; message boxes unless replaced (tests answer them).
  void setMessageHandler(std::function<void(const QString&)> handler);
  // What asks whether to save unsaved changes: Save, Discard or Cancel.
  using SaveQuestion = std::function<QMessageBox::StandardButton(const QString&)>;
  void setSaveQuestion(SaveQuestion question) { saveQuestion_ = std::move(question); }
  // What asks whether to open a file that holds no saved chart: Yes or No.
  void setOpenQuestion(SaveQuestion question) { openQuestion_ = std::move(question); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void buildPages();
  void clearPages();
  void updateTitle();
  void askOpen();
  bool askSaveAs();
  // Whether unsaved changes may go: saved, or discarded, on the user's word.
  bool maySetAside();
  void showCurrentHelp();
  void tell(const QString& message);

  host::qt::QtContainer* chart_;
  QTabWidget* sheet_;
  std::vector<host::qt::PageWidget*> pages_;
  QString path_;
  QString installed_;  // the installed form whose user style path_ is; empty for other files
  QScrollArea* preview_;
  std::function<bool(const QString&)> revertQuestion_;
  std::string savedBag_;  // what the file holds, as the control writes it
  std::function<void(const QString&)> message_;
  SaveQuestion saveQuestion_;
  SaveQuestion openQuestion_;
};

}  // namespace designer
