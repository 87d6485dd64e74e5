// The recorder window on a real X server: its controls at their places, the trace Start draws
// compared with the headless form's, the spin buttons, Logging, Erase, Time and Exit, keyboard
// access and the input choice.
#include <httplib.h>

#include <QFileDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <fstream>
#include <set>
#include <sstream>

#include "host/printers.h"
#include "host/qt/print_services.h"
#include "live_image.h"
#include "recorder/ole_date.h"
#include "web_view.h"
#include "window_fixture.h"
#include "window_layout.h"

namespace recorder::window::testing {
namespace {

QString plain(QString text) { return text.remove('&'); }

TEST_F(WindowTest, ControlsSitAtTheirPlacesWithTheirTextsAndFonts) {
  RecorderWindow& w = open();
  EXPECT_EQ(w.windowTitle(), "ZelkChart");
  EXPECT_EQ(w.chart().geometry(), layout::kChart);
  EXPECT_EQ(w.chart().parentWidget(), w.centralWidget());
  // Centred on the screen.
  const QRect screen = w.screen()->availableGeometry();
  EXPECT_LE(std::abs(w.frameGeometry().center().x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(w.frameGeometry().center().y() - screen.center().y()), 1);

  const QString arial = QFontInfo(QFont("Arial")).family();
  EXPECT_EQ(arial, "Liberation Sans");  // Arial's metric twin, found through fontconfig
  const struct {
    QWidget* widget;
    QRect place;
    QString text;
    const char* font;
  } controls[] = {
      {w.frames()[0], layout::kSampleSizeFrame, "Sample Size (ms)", "Arial"},
      {w.frames()[1], layout::kChartSpeedFrame, "Chart Sp (sec/div)", "Arial"},
      {w.frames()[2], layout::kVertScaleFrame, "Vertical Scale", "Arial"},
      {w.frames()[3], layout::kVertPosFrame, "Vert Pos", "Arial"},
      {w.led(1), layout::kLed1, {}, nullptr},
      {w.spin(1), layout::kSpin1, {}, nullptr},
      {w.led(2), layout::kLed2, {}, nullptr},
      {w.spin(2), layout::kSpin2, {}, nullptr},
      {w.led(3), layout::kLed3, {}, nullptr},
      {w.spin(4), layout::kSpin4, {}, nullptr},
      {w.spin(3), layout::kSpin3, {}, nullptr},
      {w.text2(), layout::kText2, "", "Arial"},
      {w.text1(), layout::kText1, "", "Arial"},
      {w.timeDisp(), layout::kTimeDisp, "", "Arial"},
      {w.text3(), layout::kText3, "Data logging NOT enabled!", "Arial"},
      {w.scrollButton(), layout::kScroll, "Start", "MS Sans Serif"},
      {w.playbackButton(), layout::kPlayback, "Playback", "Arial"},
      {w.eraseButton(), layout::kErase, "Erase", "Arial"},
      {w.printButton(), layout::kPrint, "Print", "Arial"},
      {w.timeButton(), layout::kTime, "Time", "Arial"},
      {w.exitButton(), layout::kExit, "Exit", "MS Sans Serif"},
  };
  for (const auto& c : controls) {
    SCOPED_TRACE(c.widget->metaObject()->className() + (" " + c.text.toStdString()));
    EXPECT_EQ(c.widget->parentWidget(), w.centralWidget());
    EXPECT_EQ(c.widget->geometry(), c.place);
    EXPECT_TRUE(c.widget->isVisible());
    if (auto* frame = qobject_cast<QGroupBox*>(c.widget)) {
      EXPECT_EQ(frame->title(), c.text);
    }
    if (auto* box = qobject_cast<QLineEdit*>(c.widget)) {
      EXPECT_EQ(box->text(), c.text);
    }
    if (auto* button = qobject_cast<QPushButton*>(c.widget)) {
      EXPECT_EQ(plain(button->text()), c.text);
    }
    if (c.font != nullptr) {
      EXPECT_EQ(c.widget->font().family(), c.font);
      EXPECT_EQ(QFontInfo(c.widget->font()).family(), QFontInfo(QFont(c.font)).family());
      EXPECT_EQ(QFontInfo(c.widget->font()).pixelSize(), layout::kFontPixels);
    }
  }
  EXPECT_EQ(w.form().XVLEDPanelX1().Value(), 50);
  EXPECT_EQ(w.form().XVLEDPanelX2().Value(), 30);
  EXPECT_EQ(w.form().XVLEDPanelX3().Value(), 8);

  QStringList bar;
  for (QAction* a : w.menuBar()->actions()) bar << plain(a->text());
  EXPECT_EQ(bar, QStringList({"File", "Options", "About"}));
  EXPECT_EQ(plain(w.printerSetupAction()->text()), "Printer Setup");
  EXPECT_EQ(plain(w.getOutAction()->text()), "Exit");
  EXPECT_EQ(plain(w.loggingAction()->text()), "Logging");
  EXPECT_TRUE(w.loggingAction()->isCheckable());
  EXPECT_FALSE(w.loggingAction()->isChecked());
}

TEST_F(WindowTest, StartOnTheSyntheticSignalDrawsTheHeadlessFormsTrace) {
  RecorderWindow& w = open();
  const std::vector<std::uint32_t> empty = chart();
  QTest::mouseClick(w.scrollButton(), Qt::LeftButton);
  EXPECT_EQ(plain(w.scrollButton()->text()), "Stop");
  // Real time: six blocks of half a second.
  ASSERT_TRUE(waitFor([&] { return w.form().XVWaveInX1().samplesDelivered() >= 6 * 4000; }));
  QTest::mouseClick(w.scrollButton(), Qt::LeftButton);
  EXPECT_EQ(w.form().Running(), 0);
  const std::uint64_t blocks = w.form().XVWaveInX1().samplesDelivered() / 4000;
  EXPECT_EQ(w.form().XVWaveInX1().samplesDelivered() % 4000, 0u);

  HeadlessForm headless;
  headless.form().scrollClick();
  headless.pull(blocks);
  headless.form().scrollClick();
  const std::vector<std::uint32_t> expected = headless.chart();
  EXPECT_NE(expected, empty);
  EXPECT_EQ(chart(), expected);
  w.chart().repaint();
  EXPECT_EQ(onScreen(w.chart()), expected);  // and that is what the X server shows
  EXPECT_FALSE(w.timeDisp()->text().isEmpty());
}

TEST_F(WindowTest, SpinButtonsChangeTheLedsAndTheChartAsTheHeadlessFormDoes) {
  RecorderWindow& w = open();
  HeadlessForm headless;
  w.form().XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::Pulled);
  QTest::mouseClick(w.scrollButton(), Qt::LeftButton);
  headless.form().scrollClick();
  auto record = [&](int blocks) {
    for (int i = 0; i < blocks; ++i) ASSERT_TRUE(w.form().XVWaveInX1().pull());
    headless.pull(static_cast<std::uint64_t>(blocks));
  };
  record(4);
  const std::uint32_t green = 0x00FF00, yellow = 0x00FFFF;
  const struct {
    int spin;
    bool up;
    int led;
    std::int32_t shown;
    std::uint32_t sampleSizeColour;
  } steps[] = {
      {1, false, 1, 20, green},   // 20 ms at 30 s/div: 0.67
      {1, false, 1, 10, yellow},  // 10 ms: 0.33
      {2, false, 2, 12, green},   // 10 ms at 12 s/div: 0.83; the trace is erased
      {4, false, 3, 4, green},    // vertical scale 4: window and channel set up again
      {3, true, 0, 0, green},     // vertical position 4100: the trace moves
      {1, true, 1, 20, green},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE("spin " + std::to_string(s.spin));
    xvtools::qt::SpinButtonWidget& spin = *w.spin(s.spin);
    QTest::mouseClick(s.up ? spin.upButton() : spin.downButton(), Qt::LeftButton);
    xvtools::XVSpinButtonX* models[] = {
        nullptr, &headless.form().XVSpinButtonX1(), &headless.form().XVSpinButtonX2(),
        &headless.form().XVSpinButtonX3(), &headless.form().XVSpinButtonX4()};
    s.up ? models[s.spin]->up() : models[s.spin]->down();
    const xvtools::XVLEDPanelX* leds[] = {nullptr, &w.form().XVLEDPanelX1(),
                                          &w.form().XVLEDPanelX2(), &w.form().XVLEDPanelX3()};
    if (s.led != 0) {
      EXPECT_EQ(leds[s.led]->Value(), s.shown);
    }
    EXPECT_EQ(w.form().XVLEDPanelX1().FillColor(), s.sampleSizeColour);
    record(2);
    EXPECT_EQ(chart(), headless.chart());
  }
  EXPECT_EQ(w.form().XVSpinButtonX3().Value(), 4100);
  // The LED widget shows its model's digits in its colour.
  const QImage led = w.led(1)->grab().toImage();
  bool lit = false;
  for (int x = 0; x < led.width(); ++x) lit = lit || led.pixel(x, led.height() / 4) == 0xFF00FF00;
  EXPECT_TRUE(lit);
}

TEST_F(WindowTest, LoggingEraseTimeAndExitWorkThroughTheWindow) {
  RecorderWindow& w = open();
  HeadlessForm headless;
  w.form().XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::Pulled);
  w.loggingAction()->trigger();
  EXPECT_TRUE(w.loggingAction()->isChecked());
  EXPECT_TRUE(w.form().LoggingEnabled());

  // Start asks for the log file.
  const std::string log = path("night.log");
  answerFileDialog(path("night.log"));
  QTest::mouseClick(w.scrollButton(), Qt::LeftButton);
  ASSERT_EQ(w.form().Running(), 1);
  EXPECT_TRUE(w.form().LogFileOpen());
  EXPECT_EQ(w.text3()->text(), "Logging to night.log");
  headless.form().scrollClick();
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(w.form().XVWaveInX1().pull());
  headless.pull(4);
  // The clock runs in real time: its first tick fills the time boxes.
  ASSERT_TRUE(waitFor([&] { return !w.timeDisp()->text().isEmpty(); }, 3000));
  EXPECT_EQ(w.timeDisp()->text().size(), 8);

  // Time, answered with a start time.
  answerNextDialog<QInputDialog>([](QInputDialog& dialog) {
    EXPECT_EQ(dialog.labelText(), "Enter the start time for the data (hh:mm:ss)");
    EXPECT_EQ(dialog.textValue().size(), 8);  // the time of day proposed
    dialog.setTextValue("12:00:00");
    dialog.accept();
  });
  QTest::mouseClick(w.timeButton(), Qt::LeftButton);
  EXPECT_TRUE(w.form().StartTimeSet());
  EXPECT_DOUBLE_EQ(w.form().CurrentTime(), 0.5);

  QTest::mouseClick(w.eraseButton(), Qt::LeftButton);
  headless.form().eraseButtonClick();
  EXPECT_EQ(chart(), headless.chart());

  // Exit stops the input and closes the log with everything in it.
  QTest::mouseClick(w.exitButton(), Qt::LeftButton);
  EXPECT_TRUE(w.ended());
  EXPECT_FALSE(w.form().XVWaveInX1().Running());
  EXPECT_FALSE(w.form().LogFileOpen());
  std::ifstream in(log);
  int data = 0;
  for (std::string line; std::getline(in, line);) data += line.rfind("\"D\"", 0) == 0;
  EXPECT_EQ(data, 40);  // four blocks of ten points
}

TEST_F(WindowTest, ClosingTheWindowIsExit) {
  RecorderWindow& w = open();
  w.loggingAction()->trigger();
  answerFileDialog(path("close.log"));
  QTest::mouseClick(w.scrollButton(), Qt::LeftButton);
  ASSERT_TRUE(w.form().LogFileOpen());
  ASSERT_TRUE(waitFor([&] { return w.form().XVWaveInX1().samplesDelivered() >= 4000; }));
  w.close();
  EXPECT_TRUE(w.ended());
  EXPECT_FALSE(w.form().XVWaveInX1().Running());
  EXPECT_FALSE(w.form().LogFileOpen());
  EXPECT_GT(std::filesystem::file_size(path("close.log")), 0u);
}

TEST_F(WindowTest, EveryButtonHasItsOwnAltKeyAndTakesTheKeyboardFocus) {
  RecorderWindow& w = open();
  std::set<QKeySequence> keys;
  for (QPushButton* b : {w.scrollButton(), w.playbackButton(), w.eraseButton(), w.printButton(),
                         w.timeButton(), w.exitButton()}) {
    const QKeySequence key = QKeySequence::mnemonic(b->text());
    EXPECT_FALSE(key.isEmpty()) << b->text().toStdString();
    keys.insert(key);
    EXPECT_TRUE(b->focusPolicy() & Qt::TabFocus);
  }
  EXPECT_EQ(keys.size(), 6u);
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  // Through the window system, as a typed key arrives: the window's shortcuts see it.
  QTest::keyClick(w.windowHandle(), Qt::Key_S, Qt::AltModifier);
  QTest::qWait(300);  // a button pressed by its key shows itself pressed before it acts
  EXPECT_EQ(w.form().Running(), 1);
  EXPECT_EQ(QKeySequence::mnemonic(w.scrollButton()->text()), QKeySequence(Qt::ALT | Qt::Key_S));
  QTest::keyClick(w.windowHandle(), Qt::Key_S, Qt::AltModifier);
  QTest::qWait(300);
  EXPECT_EQ(w.form().Running(), 0);
  // Tab moves the focus from button to button; Space presses the one that has it.
  w.eraseButton()->setFocus();
  QSignalSpy erased(w.eraseButton(), &QPushButton::clicked);
  QTest::keyClick(w.eraseButton(), Qt::Key_Space);
  EXPECT_EQ(erased.count(), 1);
}

TEST_F(WindowTest, WithoutACaptureDeviceTheStatusLineSaysSoAndOtherInputsAreOffered) {
  const StartInput chosen = chooseStartInput(std::nullopt, {});
  EXPECT_EQ(chosen.input.kind, xvtools::InputSpec::Kind::Synthetic);
  RecorderWindow& w = open(chosen);
  EXPECT_EQ(w.text3()->text(), kNoCaptureDevice);
  InputMenu& menu = *w.inputMenu();
  menu.refresh();
  QStringList entries;
  for (QAction* a : menu.actions()) {
    if (!a->isSeparator()) entries << plain(a->text()) + (a->isChecked() ? " *" : "");
  }
  EXPECT_EQ(entries, QStringList({"No capture device", "Synthetic signal *", "Recording..."}));
  EXPECT_FALSE(menu.actions().front()->isEnabled());
  // Start records the synthetic signal instead of failing.
  QTest::mouseClick(w.scrollButton(), Qt::LeftButton);
  EXPECT_EQ(w.form().Running(), 1);
}

TEST(InputChoice, CommandLineThenDefaultDeviceThenSyntheticSignal) {
  using Kind = xvtools::InputSpec::Kind;
  const struct {
    std::optional<std::string> requested;
    std::vector<std::string> devices;
    Kind kind;
    bool note;
  } cases[] = {
      {std::nullopt, {"default", "USB mic"}, Kind::DefaultDevice, false},
      {std::nullopt, {}, Kind::Synthetic, true},
      {"synthetic:7", {}, Kind::Synthetic, false},
      {"device:USB", {}, Kind::Device, false},  // asked for: its absence is reported at Start
      {"night.wav", {"default"}, Kind::File, false},
  };
  for (const auto& c : cases) {
    const StartInput chosen = chooseStartInput(c.requested, c.devices);
    EXPECT_EQ(chosen.input.kind, c.kind) << c.requested.value_or("none");
    EXPECT_EQ(!chosen.note.empty(), c.note);
  }
}

TEST_F(WindowTest, InputMenuListsTheCaptureDevicesAndSwitchesTheInput) {
  StartInput device;
  device.input.kind = xvtools::InputSpec::Kind::DefaultDevice;
  RecorderWindow& w = open(device, {"hw one", "USB & Mic"});
  InputMenu& menu = *w.inputMenu();
  menu.refresh();
  QStringList entries;
  for (QAction* a : menu.actions()) {
    if (!a->isSeparator()) entries << a->text() + (a->isChecked() ? " *" : "");
  }
  EXPECT_EQ(entries, QStringList({"&Default capture device *", "hw one", "USB && Mic",
                                  "&Synthetic signal", "&Recording..."}));
  menu.actions()[2]->trigger();
  EXPECT_EQ(w.form().XVWaveInX1().input().kind, xvtools::InputSpec::Kind::Device);
  EXPECT_EQ(w.form().XVWaveInX1().input().name, "USB & Mic");
}

TEST_F(WindowTest, TabFollowsTheGroupsLeftToRightAndArrowKeysStepTheFocusedSpinButton) {
  RecorderWindow& w = open();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  w.spin(1)->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), w.spin(1));
  const std::vector<QWidget*> order = {w.spin(2),        w.spin(4),          w.spin(3),
                                       w.scrollButton(), w.playbackButton(), w.eraseButton(),
                                       w.printButton(),  w.timeButton(),     w.exitButton()};
  for (QWidget* next : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
  }
  // Up and Down step the spin button that has the focus, as its arrows do.
  for (int i = 1; i <= 4; ++i) {
    SCOPED_TRACE("spin " + std::to_string(i));
    w.spin(i)->setFocus();
    xvtools::XVSpinButtonX* models[] = {nullptr, &w.form().XVSpinButtonX1(),
                                        &w.form().XVSpinButtonX2(), &w.form().XVSpinButtonX3(),
                                        &w.form().XVSpinButtonX4()};
    const std::int32_t before = models[i]->Value();
    const Qt::Key away = before == models[i]->MaxValue() ? Qt::Key_Down : Qt::Key_Up;
    const Qt::Key back = away == Qt::Key_Up ? Qt::Key_Down : Qt::Key_Up;
    QTest::keyClick(w.spin(i), away);
    EXPECT_NE(models[i]->Value(), before);
    QTest::keyClick(w.spin(i), back);
    EXPECT_EQ(models[i]->Value(), before);
  }
}

TEST_F(WindowTest, StartingALogAsksBeforeEmptyingAFileThatHoldsSomething) {
  enum class Answer { None, No, Yes };
  const struct {
    const char* name;
    std::string before;
    Answer answer;
    bool logging;  // whether recording logs to the file
  } cases[] = {
      {"new.log", "", Answer::None, true},             // nothing to lose: no question
      {"kept.log", "\"T\",1\r\n", Answer::No, false},  // kept; the dialog is then cancelled
      {"over.log", "\"T\",1\r\n", Answer::Yes, true},  // emptied on the operator's word
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecorderWindow& w = open();
    w.form().XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::Pulled);
    const std::string file = path(c.name);
    if (!c.before.empty()) std::ofstream(file, std::ios::binary) << c.before;
    w.loggingAction()->trigger();
    // The operator: the file first; a question answered; a second file dialog cancelled.
    std::vector<QPointer<QDialog>> files, questions;
    QTimer operatorAtWork;
    operatorAtWork.setInterval(30);
    QObject::connect(&operatorAtWork, &QTimer::timeout, [&] {
      auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (modal == nullptr) return;
      const auto seen = [modal](std::vector<QPointer<QDialog>>& list) {
        if (std::find(list.begin(), list.end(), modal) == list.end()) list.emplace_back(modal);
        return std::find(list.begin(), list.end(), modal) - list.begin();
      };
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        seen(questions);
        EXPECT_TRUE(box->text().contains(QString::fromStdString(file)));
        const QString want = c.answer == Answer::Yes ? "&Yes" : "&No";
        for (QAbstractButton* b : box->buttons())
          if (b->text() == want) QMetaObject::invokeMethod(b, "click", Qt::QueuedConnection);
      } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        // A dialog still reading its folder may not take the first answer: answer again.
        if (seen(files) > 0) {
          QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
        } else if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) {
          name->setText(QString::fromStdString(file));
          QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
      }
    });
    operatorAtWork.start();
    QTest::mouseClick(w.scrollButton(), Qt::LeftButton);
    operatorAtWork.stop();
    EXPECT_EQ(questions.size(), c.answer == Answer::None ? 0u : 1u);
    EXPECT_EQ(files.size(), c.answer == Answer::No ? 2u : 1u);
    EXPECT_EQ(w.form().Running(), 1);
    EXPECT_EQ(w.form().LogFileOpen(), c.logging);
    ASSERT_TRUE(w.form().XVWaveInX1().pull());
    window.reset();  // the log is closed with everything in it
    std::ifstream in(file, std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), {});
    if (c.logging) {
      EXPECT_NE(after.find("\"D\""), std::string::npos);
      EXPECT_EQ(after.find("\"T\",1\r\n"), std::string::npos);  // started afresh
    } else {
      EXPECT_EQ(after, c.before);
    }
  }
}

// Print on the file printer or on none, at the desktop's scale factors: a page comes out with the
// window at the screen's own pixels, or the status line says why none did. Each case runs this
// test again in a program of its own, whose Qt takes the scale factor when it starts.
TEST_F(WindowTest, PrintPutsAPageOutAtEveryScaleOrTheStatusLineSaysWhyNot) {
  if (std::getenv("ZELK_TEST_PRINT_ONCE") != nullptr) {
    RecorderWindow& w = open();
    QTest::mouseClick(w.printButton(), Qt::LeftButton);
    // What was printed: the window captured at the screen's own pixels.
    host::qt::QtPrintServices screen;
    const auto frame = screen.windowRect(w.winId(), ocx::CaptureArea::kWindow);
    const auto picture = frame ? screen.grabScreen(*frame) : std::nullopt;
    std::printf("result=%d width=%d status=%s\n", w.form().ChartResult(),
                picture ? picture->width() : 0, w.text3()->text().toStdString().c_str());
    return;
  }
  const struct {
    const char* scale;
    std::string printer;
    bool page;
    const char* status;  // what the status line says, in part
  } cases[] = {
      {"1", "pdf:" + path("one.pdf"), true, "Data logging NOT enabled!"},
      {"2", "pdf:" + path("two.pdf"), true, "Data logging NOT enabled!"},
      {"2", "pdf:" + path("no/such/folder.pdf"), false, "Not printed: the printer"},
      {"1", "", false, "Not printed: there is no printer"},
      {"2", "", false, "Not printed: there is no printer"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.scale) + " " + c.printer);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZELK_TEST_PRINT_ONCE", "1");
    env.insert("QT_SCALE_FACTOR", c.scale);
    env.insert("ZELK_PRINTER", QString::fromStdString(c.printer));
    child.setProcessEnvironment(env);
    child.start(
        QCoreApplication::applicationFilePath(),
        {"--gtest_filter=WindowTest.PrintPutsAPageOutAtEveryScaleOrTheStatusLineSaysWhyNot"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const std::string out = child.readAllStandardOutput().toStdString();
    ASSERT_EQ(child.exitCode(), 0) << out << child.readAllStandardError().toStdString();
    const std::size_t at = out.find("result=");
    ASSERT_NE(at, std::string::npos) << out;
    int result = -1, width = 0;
    ASSERT_EQ(std::sscanf(out.c_str() + at, "result=%d width=%d", &result, &width), 2);
    const std::string status = out.substr(out.find("status=", at) + 7);
    EXPECT_EQ(status.rfind(c.status, 0), 0u) << status;
    EXPECT_EQ(result == 0, c.page);
    if (c.page) {
      // The window's picture at the screen's pixels: twice as wide on a desktop scaled by 2.
      EXPECT_EQ(width, 617 * std::atoi(c.scale));
      std::ifstream in(c.printer.substr(4), std::ios::binary);
      const std::string pdf((std::istreambuf_iterator<char>(in)), {});
      EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
      EXPECT_NE(pdf.find("/Count 1 "), std::string::npos);  // one page
    }
  }
  // Here: once a print succeeds again, the status line says what it said before the failure.
  RecorderWindow& w = open();
  const QString before = w.text3()->text();
  for (const std::string& printer : {"pdf:" + path("no/such/folder.pdf"), "pdf:" + path("a.pdf")}) {
    host::setChosenPrinter(printer);
    QTest::mouseClick(w.printButton(), Qt::LeftButton);
  }
  EXPECT_EQ(w.text3()->text(), before);
  host::setChosenPrinter(std::nullopt);
}

TEST_F(WindowTest, ServingSaysWhereAndServesTheWindowsChart) {
  RecorderWindow& w = open();
  std::string error;
  auto web = recorder::web::WebView::start({"127.0.0.1", 0, {}}, 0, error);
  ASSERT_TRUE(web) << error;
  w.serve(*web);
  const QString where = "Serving the web view at " + QString::fromStdString(web->url());
  ASSERT_NE(w.webViewAction(), nullptr);
  EXPECT_EQ(w.webViewAction()->text(), where);
  EXPECT_EQ(w.text3()->text(), where);

  QTest::mouseClick(w.scrollButton(), Qt::LeftButton);
  ASSERT_TRUE(waitFor([&] { return w.form().XVWaveInX1().samplesDelivered() >= 3 * 4000; }));
  QTest::mouseClick(w.scrollButton(), Qt::LeftButton);
  // Stopped, the next snapshot (a second away, later on a busy machine) holds the chart as it
  // now stands.
  const int port = std::atoi(web->url().c_str() + web->url().rfind(':') + 1);
  httplib::Client client("127.0.0.1", port);
  std::string status;
  EXPECT_TRUE(waitFor(
      [&] {
        const auto res = client.Get("/status.json");
        status = res ? res->body : "";
        return status.find("\"recording\":false") != std::string::npos;
      },
      10000))
      << status;
  EXPECT_NE(status.find("\"clock\":\"" + w.timeDisp()->text().toStdString() + "\""),
            std::string::npos)
      << status;
  const auto chart = client.Get("/chart.png");
  ASSERT_TRUE(chart);
  const host::PixelView screen = w.chart().screenImage();
  EXPECT_EQ(chart->body,
            host::captionedPng(screen, web::clockCaptions(screen, w.form()), web::kLabelStrip));
  window.reset();
}

}  // namespace
}  // namespace recorder::window::testing
