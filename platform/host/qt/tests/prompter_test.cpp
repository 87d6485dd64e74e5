// The form's questions as Qt dialogs, answered here as an operator would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "host/qt/qt_prompter.h"

namespace host::qt {
namespace {

// Runs act on the next modal dialog once the prompter has opened it.
void whenOpen(std::function<void(QWidget&)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      act(*dialog);
    }
  });
  timer->start();
}

TEST(QtPrompter, MessageBoxesHaveTheRuntimesButtonsAndAnswerWithThem) {
  QtPrompter prompter;
  const struct {
    int style;
    QStringList buttons;
    const char* press;  // nullptr: Escape
    MsgBoxResult answer;
  } cases[] = {
      {vbOKOnly | vbCritical, {"OK"}, "OK", vbOK},
      {vbOKOnly, {"OK"}, nullptr, vbOK},
      {vbOKCancel, {"OK", "Cancel"}, nullptr, vbCancel},
      {vbYesNo | vbQuestion, {"Yes", "No"}, "No", vbNo},
      {vbYesNoCancel | vbDefaultButton2, {"Yes", "No", "Cancel"}, "Cancel", vbCancel},
      {vbAbortRetryIgnore, {"Abort", "Retry", "Ignore"}, "Ignore", vbIgnore},
      {vbRetryCancel | vbExclamation, {"Retry", "Cancel"}, "Retry", vbRetry},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    QStringList shown;
    QString preferred;
    whenOpen([&](QWidget& widget) {
      auto& box = dynamic_cast<QMessageBox&>(widget);
      EXPECT_EQ(box.text(), "Text");
      EXPECT_EQ(box.windowTitle(), "Title");
      for (QAbstractButton* b : box.buttons()) shown << b->text().remove('&');
      preferred = box.defaultButton()->text().remove('&');
      if (c.press == nullptr) {
        box.reject();  // what Escape and the window's close button do
        return;
      }
      for (QAbstractButton* b : box.buttons()) {
        if (b->text().remove('&') == c.press) b->click();
      }
    });
    EXPECT_EQ(prompter.messageBox("Text", "Title", c.style), c.answer);
    shown.sort();
    QStringList expected = c.buttons;
    expected.sort();
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(preferred, c.buttons[(c.style & vbDefaultButton2) ? 1 : 0]);
  }
}

// Texts carry file names: one that looks like markup is shown as it is, not rendered.
TEST(QtPrompter, FileTextIsShownAsItIs) {
  QtPrompter prompter;
  const QString name = "<b>night</b>&amp;.log";
  whenOpen([&](QWidget& widget) {
    auto& box = dynamic_cast<QMessageBox&>(widget);
    EXPECT_EQ(box.textFormat(), Qt::PlainText);
    EXPECT_EQ(box.text(), name);
    box.reject();
  });
  prompter.messageBox(name.toStdString(), "ZelkChart", vbOKOnly);
  whenOpen([&](QWidget& widget) {
    auto* label = widget.findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), name);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    dynamic_cast<QDialog&>(widget).reject();
  });
  prompter.inputBox(name.toStdString(), "ZelkChart", "");
}

TEST(QtPrompter, InputBoxProposesItsTextAndCancelGivesNothing) {
  QtPrompter prompter;
  whenOpen([](QWidget& widget) {
    auto& dialog = dynamic_cast<QInputDialog&>(widget);
    EXPECT_EQ(dialog.labelText(), "When?");
    EXPECT_EQ(dialog.textValue(), "12:34:56");
    dialog.setTextValue("01:02:03");
    dialog.accept();
  });
  EXPECT_EQ(prompter.inputBox("When?", "ZelkChart", "12:34:56"), "01:02:03");
  whenOpen([](QWidget& widget) { dynamic_cast<QDialog&>(widget).reject(); });
  EXPECT_EQ(prompter.inputBox("When?", "ZelkChart", "12:34:56"), std::nullopt);
}

TEST(QtPrompter, FileFiltersBecomeQtsAndPrinterChoiceIsTheProgramsHook) {
  EXPECT_EQ(fileDialogFilter("Log Files (*.log)|*.log|All (*.*)|*.*"),
            "Log Files (*.log);;All (*.*)");
  EXPECT_EQ(fileDialogFilter("Recordings|*.wav;*.flac"), "Recordings (*.wav *.flac)");
  EXPECT_EQ(fileDialogFilter(""), "");
  QtPrompter prompter;
  EXPECT_FALSE(prompter.choosePrinter());  // no printer dialog installed
  int asked = 0;
  prompter.setPrinterChooser([&](QWidget*) { return ++asked == 1; });
  EXPECT_TRUE(prompter.choosePrinter());
  EXPECT_EQ(asked, 1);
}

}  // namespace
}  // namespace host::qt
