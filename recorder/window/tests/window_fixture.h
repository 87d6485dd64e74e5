// The recorder window on the test's X server, the headless form it is compared with, and helpers
// that answer the window's dialogs the way an operator would.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "fake_front_end.h"
#include "gui_checks.h"
#include "host/headless.h"
#include "recorder_window.h"

namespace recorder::window::testing {

inline const automation::Guid kChartClass =
    *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");

using zelk::test::onScreen, zelk::test::pixelsOf, zelk::test::waitFor;

// Acts on the next modal dialog of type Dialog once it is open, again and again until it has
// closed: a file dialog still reading its folder may not take the first answer. Only that one
// dialog: one opened soon after it is left to the answer given for it.
template <typename Dialog>
void answerNextDialog(std::function<void(Dialog&)> act) {
  // Owned by the application, so that a dialog that never comes leaves no timer behind.
  auto* timer = new QTimer(QCoreApplication::instance());
  timer->setInterval(50);
  auto answered = std::make_shared<QPointer<Dialog>>();
  auto acted = std::make_shared<bool>(false);
  QObject::connect(timer, &QTimer::timeout, [timer, act, answered, acted] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (dialog != nullptr && (!*acted || dialog == answered->data())) {
      *acted = true;
      *answered = dialog;
      act(*dialog);
    } else if (*acted) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start();
}

// Types a file's full path into the next file dialog and confirms it.
inline void answerFileDialog(const std::string& path) {
  answerNextDialog<QFileDialog>([path](QFileDialog& dialog) {
    auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
    if (name == nullptr) return;
    name->setText(QString::fromStdString(path));
    QMetaObject::invokeMethod(&dialog, "accept", Qt::QueuedConnection);
  });
}

// The same form without a screen, fed block by block: the chart the window must show.
class HeadlessForm {
 public:
  HeadlessForm() : container_(601, 257) {
    automation::Dispatch& chart = container_.create(kChartClass);
    container_.pump();
    form_ = std::make_unique<ZelkChrtForm>(chart, host_, prompter_);
    form_->load();
    form_->XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::Pulled);
    container_.pump();
  }
  ZelkChrtForm& form() { return *form_; }
  recorder::testing::ScriptedPrompter& prompter() { return prompter_; }
  void pull(std::uint64_t blocks) {
    for (std::uint64_t i = 0; i < blocks; ++i) ASSERT_TRUE(form_->XVWaveInX1().pull());
    container_.pump();
  }
  std::vector<std::uint32_t> chart() {
    container_.pump();
    return pixelsOf(container_.screen());
  }

 private:
  host::HeadlessContainer container_;
  recorder::testing::FakeHost host_;
  recorder::testing::ScriptedPrompter prompter_;
  std::unique_ptr<ZelkChrtForm> form_;
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The test answers Qt's own dialogs; a desktop's native ones would be out of its reach.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
    dir = std::filesystem::temp_directory_path() /
          ("zelk_window_" + std::to_string(QCoreApplication::applicationPid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    window.reset();
    QTest::qWait(20);
    std::filesystem::remove_all(dir);
  }

  // A window on the synthetic signal (or the input given) with these capture devices listed.
  RecorderWindow& open(StartInput input = {}, std::vector<std::string> devices = {}) {
    window = std::make_unique<RecorderWindow>(input, [devices] { return devices; });
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return *window;
  }
  std::vector<std::uint32_t> chart() {
    window->chart().pump();
    return pixelsOf(window->chart().screenImage());
  }
  std::string path(const std::string& name) const { return (dir / name).string(); }

  std::filesystem::path dir;
  std::unique_ptr<RecorderWindow> window;
};

}  // namespace recorder::window::testing
