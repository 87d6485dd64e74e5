// The window on a real X server (the test runs under xvfb-run): its layout, the moving
// spectrogram and meter, and every control reaching the form.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <optional>

#include <filesystem>
#include <set>

#include "echo_window.h"
#include "form_chart.h"
#include "gui_checks.h"
#include "host/printers.h"
#include "host/qt/qt_container.h"
#include "page_raster.h"
#include "recording_prompter.h"
#include "spec_window.h"
#include "xvtools/qt/qt_form_thread.h"
#include "xvtools/qt/spin_button_widget.h"

namespace spectrograph::app {
namespace {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.WaveIn().setInput(*xvtools::InputSpec::parse("synthetic:7"));
    form.WaveIn().setFormThread(&thread);
    form.WaveIn().setMode(xvtools::XVWaveInX::Mode::RealTime);
    form.load();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  void TearDown() override { form.WaveIn().Stop(); }
  template <typename W = QWidget>
  W* child(const char* name) {
    W* w = window.findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QString text(const char* name) { return child<QLineEdit>(name)->text(); }
  void up(const char* name) {
    QTest::mouseClick(child<xvtools::qt::SpinButtonWidget>(name)->upButton(), Qt::LeftButton);
  }

  xvtools::qt::QtFormThread thread;
  SpecHost host;
  testing::RecordingPrompter prompter;
  Form1 form{nullptr, host, prompter};
  SpecWindow window{form};
};

TEST_F(WindowTest, LayoutFollowsTheForm) {
  EXPECT_EQ(window.windowTitle(), "ZelkSpec");
  struct Place {
    const char* name;
    QRect rect;
  };
  const Place places[] = {
      {"Spec", {8, 8, 569, 257}},           {"XVMeterX1", {16, 304, 121, 65}},
      {"WindowButton", {160, 296, 16, 32}}, {"PalletButton", {160, 352, 16, 32}},
      {"GainButton", {312, 296, 16, 32}},   {"FFTButton", {312, 352, 16, 32}},
      {"LogAmpSwitch", {424, 296, 20, 36}}, {"Embosswitch", {424, 352, 20, 36}},
      {"QVM_Plotrex1", {240, 160, 105, 49}}};
  for (const Place& p : places) EXPECT_EQ(child(p.name)->geometry(), p.rect) << p.name;
  EXPECT_EQ(child("FFTLength")->x(), 344);
  // The window box names the window the spectrogram applies from its first column on.
  EXPECT_EQ(text("WindowText"), "Gaussian");
  EXPECT_EQ(text("WindowText").toStdString(),
            form.tables().WindowTable[static_cast<std::size_t>(form.Spec().Window())]);
  EXPECT_EQ(text("PalletText"), "Threshold");
  EXPECT_EQ(text("GainText"), "0dB");
  EXPECT_EQ(window.startStopButton()->text(), "&Start");
}

TEST_F(WindowTest, StartRunsTheSpectrogramAndMeterAndEveryControlReachesTheForm) {
  QTest::mouseClick(window.startStopButton(), Qt::LeftButton);
  EXPECT_EQ(window.startStopButton()->text(), "&Stop");
  QElapsedTimer clock;
  clock.start();
  while (form.Spec().columns() < 10 && clock.elapsed() < 5000) QTest::qWait(20);
  EXPECT_GE(form.Spec().columns(), 10u);
  EXPECT_GT(form.XVMeterX1().level(), xvtools::XVMeterX::kFloorDb);

  up("WindowButton");
  EXPECT_EQ(text("WindowText"), "Welch");
  EXPECT_EQ(form.Spec().Window(), 5);
  up("PalletButton");
  EXPECT_EQ(text("PalletText"), "Black on White");
  up("GainButton");
  EXPECT_EQ(text("GainText"), "+6dB");
  EXPECT_EQ(form.Spec().Gain(), 1);
  up("FFTButton");
  EXPECT_EQ(form.Spec().FFTLength(), 1024);
  EXPECT_EQ(form.FFTLength().Value(), 1024);
  QTest::mouseClick(child("LogAmpSwitch"), Qt::LeftButton);
  EXPECT_TRUE(form.Spec().LogAmp());
  QTest::mouseClick(child("Embosswitch"), Qt::LeftButton);
  EXPECT_TRUE(form.Spec().Emboss());

  // Without a chart control Print reports that printing is not available.
  QTest::mouseClick(window.printButton(), Qt::LeftButton);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_NE(prompter.messages[0].find("Printing is not available"), std::string::npos);

  QTest::mouseClick(window.startStopButton(), Qt::LeftButton);
  EXPECT_EQ(window.startStopButton()->text(), "&Start");
  EXPECT_FALSE(form.WaveIn().Running());
  if (const char* shot = std::getenv("ZELKSPEC_WINDOW_SHOT")) window.grab().save(shot);
}

TEST_F(WindowTest, ButtonsAnswerTheirAltKeysAndTabReachesEverySpinButtonAndSwitch) {
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  // Through the window system, as a typed key arrives.
  const struct {
    Qt::Key key;
    std::function<bool()> done;
  } keys[] = {
      {Qt::Key_S, [&] { return form.WaveIn().Running(); }},
      {Qt::Key_S, [&] { return !form.WaveIn().Running(); }},
      {Qt::Key_P, [&] { return prompter.messages.size() == 1; }},  // no chart: said so
  };
  for (const auto& k : keys) {
    QTest::keyClick(window.windowHandle(), k.key, Qt::AltModifier);
    QTest::qWait(300);  // a button pressed by its key shows itself pressed before it acts
    EXPECT_TRUE(k.done()) << char(k.key);
  }
  EXPECT_EQ(QKeySequence::mnemonic(window.exitButton()->text()), QKeySequence(Qt::ALT | Qt::Key_X));

  child("WindowButton")->setFocus();
  const char* order[] = {"PalletButton", "GainButton", "FFTButton",  "LogAmpSwitch",
                         "Embosswitch",  "StartStop",  "ExitButton", "PrintButton"};
  for (const char* next : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), child(next)) << next;
  }
  // A focused switch flips with Space and stands as the arrow keys say; a focused spin button
  // steps with them.
  const struct {
    const char* control;
    Qt::Key key;
    std::function<int()> shown;
    int expected;
  } steps[] = {
      {"LogAmpSwitch", Qt::Key_Space, [&] { return int(form.Spec().LogAmp()); }, 1},
      {"LogAmpSwitch", Qt::Key_Down, [&] { return int(form.Spec().LogAmp()); }, 1},
      {"LogAmpSwitch", Qt::Key_Up, [&] { return int(form.Spec().LogAmp()); }, 0},
      {"Embosswitch", Qt::Key_Down, [&] { return int(form.Spec().Emboss()); }, 1},
      {"WindowButton", Qt::Key_Down, [&] { return form.Spec().Window(); }, 3},
      {"WindowButton", Qt::Key_Up, [&] { return form.Spec().Window(); }, 4},
      {"GainButton", Qt::Key_Up, [&] { return form.Spec().Gain(); }, 1},
  };
  for (const auto& s : steps) {
    child(s.control)->setFocus();
    QTest::keyClick(child(s.control), s.key);
    EXPECT_EQ(s.shown(), s.expected) << s.control << " " << s.key;
  }
}

class WindowOnScreen final : public SpecHost {
 public:
  QWidget* window = nullptr;
  std::int32_t windowHandle() const override {
    return window == nullptr ? 0 : static_cast<std::int32_t>(window->winId());
  }
};

// The form's chart control sited in the window prints the whole window on the default printer:
// the spectrogram as the screen shows it, at the best fit of the page.
TEST(SitedChartWindow, PrintPutsTheWindowOnThePage) {
  const auto folder = std::filesystem::temp_directory_path() /
                      ("zelkspec-print-" + std::to_string(QCoreApplication::applicationPid()));
  std::filesystem::create_directories(folder);
  const auto pdf = folder / "spec.pdf";
  host::setChosenPrinter("pdf:" + pdf.string());

  xvtools::qt::QtFormThread thread;
  WindowOnScreen host;
  testing::RecordingPrompter prompter;
  host::qt::QtContainer chart;
  chart.resize(kChartWidth, kChartHeight);
  automation::Dispatch& control = createFormChart(chart);
  Form1 form(&control, host, prompter);
  form.WaveIn().setInput(*xvtools::InputSpec::parse("synthetic:7"));
  form.WaveIn().setFormThread(&thread);
  form.WaveIn().setMode(xvtools::XVWaveInX::Mode::RealTime);
  {
    SpecWindow window(form, &chart);
    host.window = &window;
    form.load();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.findChild<QWidget*>("QVM_Plotrex1"), &chart);
    QTest::mouseClick(window.startStopButton(), Qt::LeftButton);
    QElapsedTimer clock;
    clock.start();
    while (form.Spec().columns() < 20 && clock.elapsed() < 20000) QTest::qWait(20);
    QTest::mouseClick(window.startStopButton(), Qt::LeftButton);
    window.repaint();
    const QImage shown = zelk::test::screenImageOf(window);

    QTest::mouseClick(window.printButton(), Qt::LeftButton);
    EXPECT_EQ(form.printFailure(), "");
    EXPECT_EQ(form.PrintResult(), 0);
    EXPECT_TRUE(prompter.messages.empty());

    // Without a window manager the window has no frame: the page shows the window alone,
    // enlarged to the page's width in blocks of equal printer pixels.
    const auto page = zelk::testing::rasterisePage(pdf, {0, 0, 2480, 1800});
    ASSERT_TRUE(page);
    const double scale = 2480.0 / window.width();
    std::set<std::uint32_t> colours;
    int wrong = 0;
    for (int y = 8; y < 8 + 257; ++y) {
      for (int x = 8; x < 8 + 569; ++x) {
        const QRgb p = shown.pixel(x, y);
        const std::uint32_t want = qRed(p) | qGreen(p) << 8 | std::uint32_t(qBlue(p)) << 16;
        colours.insert(want);
        const int px = static_cast<int>((x + 0.5) * scale),
                  py = static_cast<int>((y + 0.5) * scale);
        if (page->at(px, py) != want && ++wrong < 5) ADD_FAILURE() << "at " << x << "," << y;
      }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(colours.size(), 8u);  // a spectrogram, not an empty panel
  }
  form.WaveIn().Stop();
  host::setChosenPrinter(std::nullopt);
  std::filesystem::remove_all(folder);
}

// A print that fails says so, and why: on a printer that cannot take the page, and with no
// printer at all (the test's environment names none, and it has no print queues).
TEST(SitedChartWindow, FailedPrintTellsTheOperator) {
  const struct {
    std::optional<std::string> printer;
    const char* message;
  } cases[] = {
      {"pdf:/no/such/folder/spec.pdf", "Not printed: the printer did not take the page"},
      {std::nullopt, "Not printed: there is no printer"},
  };
  xvtools::qt::QtFormThread thread;
  WindowOnScreen host;
  testing::RecordingPrompter prompter;
  host::qt::QtContainer chart;
  chart.resize(kChartWidth, kChartHeight);
  Form1 form(&createFormChart(chart), host, prompter);
  SpecWindow window(form, &chart);
  host.window = &window;
  form.load();
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.printer.value_or("none"));
    host::setChosenPrinter(c.printer);
    prompter.messages.clear();
    QTest::mouseClick(window.printButton(), Qt::LeftButton);
    EXPECT_NE(form.PrintResult(), 0);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].rfind(c.message, 0), 0u) << prompter.messages[0];
  }
  host::setChosenPrinter(std::nullopt);
}

// Options > Echo counting... and the status line: counting turned on, a ping counted in this
// hour, and the choice kept as text that reads back.
TEST(EchoWindow, CountsOnTheFormsTransformsAndShowsTheHour) {
  SpecHost host;
  testing::RecordingPrompter prompter;
  Form1 form{nullptr, host, prompter};
  form.load();
  QMainWindow main;
  main.setCentralWidget(new SpecWindow(form));
  const auto file = std::filesystem::temp_directory_path() / "zelk-echo-window-choices";
  std::filesystem::remove(file);
  const apps::RememberedChoices choices(file);
  EchoWindow echoes(main, form, choices);
  EXPECT_TRUE(echoes.statusLine()->text().contains("off"));
  EchoSettings settings;
  settings.listenLow = 800;
  settings.listenHigh = 1200;
  echoes.use(settings);
  std::vector<std::int16_t> samples(8000 * 6);
  std::uint32_t state = 1;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    double noise = 0;
    for (int k = 0; k < 4; ++k) {
      state = state * 1664525u + 1013904223u;
      noise += (static_cast<double>(state >> 8) / (1 << 24) - 0.5) * 1700;
    }
    const double t = static_cast<double>(i) / 8000;
    const double ping = t < 2 ? 0 : 8000 * std::exp(-(t - 2) / 0.3);
    samples[i] =
        static_cast<std::int16_t>(noise + ping * std::sin(2 * std::numbers::pi * 1000 * t));
  }
  form.Spec().write(samples);
  EXPECT_TRUE(echoes.statusLine()->text().startsWith("Echoes this hour: 1"))
      << echoes.statusLine()->text().toStdString();
  const auto kept = parseEchoChoice(echoChoiceText(settings));
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->referenceLow(), 1200);
  EXPECT_EQ(kept->referenceHigh(), 1600);
  EXPECT_FALSE(parseEchoChoice("800-1200 1200:1600 10 20"));
  std::filesystem::remove(file);
}

// Options > Echo counting... driven as the operator does: bands and threshold typed, OK, the
// status line counting with them, and the next window starting with them from the user's choices,
// kept in a configuration folder of the test's own.
TEST(EchoWindow, TheDialogsChoiceCountsAndIsKeptForTheNextWindow) {
  struct Config {
    Config() {
      std::filesystem::remove_all(folder);
      ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    }
    ~Config() {
      ::unsetenv("XDG_CONFIG_HOME");
      std::filesystem::remove_all(folder);
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("zelk-echo-dialog-" + std::to_string(QCoreApplication::applicationPid()));
  } config;
  // A window as the program makes it, with the user's choices.
  struct Run {
    Run() {
      form.load();
      main.setCentralWidget(new SpecWindow(form));
      echoes = std::make_unique<EchoWindow>(main, form, choices);
      main.show();
    }
    QString status() const { return echoes->statusLine()->text(); }
    SpecHost host;
    testing::RecordingPrompter prompter;
    Form1 form{nullptr, host, prompter};
    QMainWindow main;
    const apps::RememberedChoices choices;
    std::unique_ptr<EchoWindow> echoes;
  };
  const QString counting = "Echoes this hour: 0 (900:1100 Hz over 1300:1500 Hz, 12 dB)";
  {
    Run first;
    ASSERT_EQ(first.choices.file().string().rfind(config.folder.string(), 0), 0u);
    EXPECT_TRUE(first.status().contains("off"));
    bool answered = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || dialog->objectName() != "EchoDialog") return;
      answer.stop();
      answered = true;
      dialog->findChild<QCheckBox*>("EchoOn")->setChecked(true);
      dialog->findChild<QLineEdit*>("EchoListen")->setText("900:1100");
      dialog->findChild<QLineEdit*>("EchoNoise")->setText("1300:1500");
      dialog->findChild<QLineEdit*>("EchoSnr")->setText("12");
      QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                        Qt::LeftButton);
    });
    answer.start(20);
    first.main.findChild<QAction*>("EchoCounting")->trigger();
    ASSERT_TRUE(answered);
    EXPECT_EQ(first.status(), counting);
  }
  Run next;
  EXPECT_EQ(next.status(), counting);
}

}  // namespace
}  // namespace spectrograph::app

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
