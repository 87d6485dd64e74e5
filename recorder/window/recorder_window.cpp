#include "recorder_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>
#include <stdexcept>

#include "host/qt/print_services.h"
#include "recorder/designed_chart.h"
#include "web_view.h"
#include "window_layout.h"

namespace recorder::window {

namespace {

using apps::kChartClassId;

QFont formFont(const char* family) {
  QFont font(family);
  font.setPixelSize(layout::kFontPixels);
  return font;
}

QLineEdit* textBox(QWidget* parent, const QRect& place, const QFont& font) {
  auto* box = new QLineEdit(parent);
  box->setGeometry(place);
  box->setFont(font);
  box->setReadOnly(true);
  box->setFocusPolicy(Qt::NoFocus);
  return box;
}

QPushButton* button(QWidget* parent, const char* text, const QRect& place, const QFont& font) {
  auto* b = new QPushButton(text, parent);
  b->setGeometry(place);
  b->setFont(font);
  b->setAutoDefault(false);
  return b;
}

// Every caption gets its first letter as the Alt key that presses it.
QString withMnemonic(const std::string& caption) { return "&" + QString::fromStdString(caption); }

}  // namespace

RecorderWindow::RecorderWindow(const StartInput& input, InputMenu::DeviceLister devices)
    : prompter_(this) {
  // File > Printer Setup: the printer dialog, whose choice later prints go to.
  prompter_.setPrinterChooser([](QWidget* parent) { return host::qt::showPrinterSetup(parent); });
  setWindowTitle(kFormCaption);
  auto* client = new QWidget(this);
  client->setFixedSize(layout::kClient);
  setCentralWidget(client);

  chart_ = new host::qt::QtContainer(client);
  chart_->setGeometry(layout::kChart);
  automation::Dispatch* control = nullptr;
  try {
    control = &createDesignedChart(*chart_, *automation::Guid::parse(kChartClassId));
  } catch (const std::exception& e) {
    throw std::runtime_error(std::string("the chart control ") + kChartClassId +
                             " cannot be created: " + e.what());
  }
  // A new control applies its own default set-up at its first paint; let that happen before the
  // form's start-up rewrites every setting the recorder relies on.
  chart_->pump();

  formHost_ = std::make_unique<WindowFormHost>(*this, *chart_);
  styledChart_ = std::make_unique<apps::StyledChart>(*control, kDesignedChartFile);
  form_ = std::make_unique<ZelkChrtForm>(*styledChart_, *formHost_, formPrompter_);
  buildControls(client);
  buildMenus(std::move(devices));
  form_->onViewChanged([this] { showFormView(); });
  showFormView();

  form_->load();
  if (const std::string note = styledChart_->applyOverSetUp(); !note.empty()) {
    std::fprintf(stderr, "zelkchart: %s\n", note.c_str());
    form_->showStatus(note);
  }
  form_->XVWaveInX1().setInput(input.input);
  form_->XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::RealTime);
  form_->XVWaveInX1().setFormThread(&formThread_);
  form_->XVHiTimerX1().setFormThread(&formThread_);
  form_->PlayBackTimer().setFormThread(&formThread_);
  if (!input.note.empty()) form_->showStatus(input.note);
  chart_->pump();
}

RecorderWindow::~RecorderWindow() {
  // The views listen to the form's components, so they go first; then the form, which stops its
  // input and timers and closes its files.
  form_->onViewChanged(nullptr);
  delete takeCentralWidget();
  chart_ = nullptr;
  form_.reset();
}

void RecorderWindow::buildControls(QWidget* client) {
  const QFont arial = formFont("Arial");
  const QFont sansSerif = formFont("MS Sans Serif");
  ZelkChrtForm& f = *form_;

  const std::array<std::pair<const char*, QRect>, 4> frames = {{
      {"Sample Size (ms)", layout::kSampleSizeFrame},
      {"Chart Sp (sec/div)", layout::kChartSpeedFrame},
      {"Vertical Scale", layout::kVertScaleFrame},
      {"Vert Pos", layout::kVertPosFrame},
  }};
  for (std::size_t i = 0; i < frames.size(); ++i) {
    frames_[i] = new QGroupBox(frames[i].first, client);
    frames_[i]->setGeometry(frames[i].second);
    frames_[i]->setFont(arial);
  }
  const std::array<std::pair<xvtools::XVLEDPanelX*, QRect>, 3> leds = {{
      {&f.XVLEDPanelX1(), layout::kLed1},
      {&f.XVLEDPanelX2(), layout::kLed2},
      {&f.XVLEDPanelX3(), layout::kLed3},
  }};
  for (std::size_t i = 0; i < leds.size(); ++i) {
    leds_[i] = new xvtools::qt::LedPanelWidget(*leds[i].first, client);
    leds_[i]->setGeometry(leds[i].second);
  }
  const std::array<std::pair<xvtools::XVSpinButtonX*, QRect>, 4> spins = {{
      {&f.XVSpinButtonX1(), layout::kSpin1},
      {&f.XVSpinButtonX2(), layout::kSpin2},
      {&f.XVSpinButtonX3(), layout::kSpin3},
      {&f.XVSpinButtonX4(), layout::kSpin4},
  }};
  for (std::size_t i = 0; i < spins.size(); ++i) {
    spins_[i] = new xvtools::qt::SpinButtonWidget(*spins[i].first, client);
    spins_[i]->setGeometry(spins[i].second);
  }

  text2_ = textBox(client, layout::kText2, arial);
  text1_ = textBox(client, layout::kText1, arial);
  timeDisp_ = textBox(client, layout::kTimeDisp, arial);
  text3_ = textBox(client, layout::kText3, arial);

  scroll_ = button(client, "&Start", layout::kScroll, sansSerif);
  playback_ = button(client, "&Playback", layout::kPlayback, arial);
  erase_ = button(client, "&Erase", layout::kErase, arial);
  print_ = button(client, "P&rint", layout::kPrint, arial);
  time_ = button(client, "&Time", layout::kTime, arial);
  exit_ = button(client, "E&xit", layout::kExit, sansSerif);
  connect(scroll_, &QPushButton::clicked, this, [this] {
    // The only file Start asks for is the log it is about to start.
    formPrompter_.setChoosingLog(true);
    form_->scrollClick();
    formPrompter_.setChoosingLog(false);
  });
  connect(playback_, &QPushButton::clicked, this, [this] { form_->playbackButtonClick(); });
  connect(erase_, &QPushButton::clicked, this, [this] { form_->eraseButtonClick(); });
  connect(print_, &QPushButton::clicked, this, [this] { print(); });
  connect(time_, &QPushButton::clicked, this, [this] { form_->command2Click(); });
  connect(exit_, &QPushButton::clicked, this, [this] { form_->exitClick(); });
  orderTabs();
}

void RecorderWindow::orderTabs() {
  // The groups from left to right (the vertical position's stands right of the vertical
  // scale's), then the buttons row by row.
  const std::array<QWidget*, 10> order = {spins_[0], spins_[1], spins_[3], spins_[2], scroll_,
                                          playback_, erase_,    print_,    time_,     exit_};
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void RecorderWindow::print() {
  form_->command1Click();
  // The chart's printing reports its failures only by their code: tell the operator, and once a
  // print succeeds again, put back what the status line said before.
  const bool failureShown = !printFailure_.empty() && form_->Text3() == printFailure_;
  if (const std::int32_t code = form_->ChartResult(); code != 0) {
    if (!failureShown) statusBeforeFailure_ = form_->Text3();
    printFailure_ = host::qt::printFailureText(code);
    form_->showStatus(printFailure_);
  } else if (failureShown) {
    form_->showStatus(statusBeforeFailure_);
    printFailure_.clear();
  }
}

void RecorderWindow::buildMenus(InputMenu::DeviceLister devices) {
  QMenu* file = menuBar()->addMenu("&File");
  printerSetup_ = file->addAction("Printer &Setup", this, [this] { form_->prnSetupClick(); });
  file->addSeparator();
  getOut_ = file->addAction("E&xit", this, [this] { form_->getOutClick(); });

  QMenu* options = menuBar()->addMenu("&Options");
  logging_ = options->addAction("&Logging");
  logging_->setCheckable(true);
  // The form owns the check mark: a click asks it, and the view follows what it decides.
  connect(logging_, &QAction::triggered, this, [this] {
    form_->enableLoggingClick();
    showFormView();
  });
  inputMenu_ = new InputMenu(form_->XVWaveInX1(), prompter_, std::move(devices), options);
  options->addMenu(inputMenu_);
  options_ = options;

  about_ = menuBar()->addAction("&About", this, [this] { form_->aboutClick(); });
}

void RecorderWindow::serve(web::WebView& web) {
  const QString where = "Serving the web view at " + QString::fromStdString(web.url());
  webView_ = menuBar()->addMenu("&Web view")->addAction(where);
  webView_->setEnabled(false);
  form_->showStatus(where.toStdString());
  // Each new second of the clock is published at once; between them (stopped, say) the
  // publisher keeps to one snapshot a second.
  auto* timer = new QTimer(this);
  auto lastSecond = std::make_shared<double>(-1);
  connect(timer, &QTimer::timeout, this, [this, &web, lastSecond] {
    const bool newSecond = form_->CurrentTime() != *lastSecond;
    *lastSecond = form_->CurrentTime();
    web.secondPassed(chart_->screenImage(), *form_, newSecond);
  });
  timer->start(100);
}

void RecorderWindow::showFormView() {
  const ZelkChrtForm& f = *form_;
  timeDisp_->setText(QString::fromStdString(f.TimeDisp()));
  text1_->setText(QString::fromStdString(f.Text1()));
  text2_->setText(QString::fromStdString(f.Text2()));
  text3_->setText(QString::fromStdString(f.Text3()));
  scroll_->setText(withMnemonic(f.scrollCaption()));
  logging_->setChecked(f.enableLoggingChecked());
}

void RecorderWindow::closeEvent(QCloseEvent* event) {
  // Closing the window is Exit: the input stops and the log is closed with nothing lost.
  if (!formHost_->ended()) form_->exitClick();
  event->accept();
}

}  // namespace recorder::window
