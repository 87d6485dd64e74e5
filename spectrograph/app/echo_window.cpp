#include "echo_window.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <tuple>

#include "spectrograph/echo_log.h"

namespace spectrograph::app {

namespace {

constexpr double kHourSeconds = 3600;

double systemClock() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string band(double low, double high) { return number(low) + ":" + number(high); }

}  // namespace

std::optional<EchoSettings> parseEchoChoice(const std::string& text) {
  std::istringstream in(text);
  std::string listen, noise;
  EchoSettings s;
  if (!(in >> listen >> noise >> s.snrDb >> s.maxEchoS)) return std::nullopt;
  const auto l = parseBand(listen);
  const auto n = parseBand(noise);
  if (!l || !n) return std::nullopt;
  std::tie(s.listenLow, s.listenHigh) = *l;
  s.noiseLow = n->first;
  s.noiseHigh = n->second;
  return s;
}

std::string echoChoiceText(const EchoSettings& s) {
  return band(s.listenLow, s.listenHigh) + " " + band(s.referenceLow(), s.referenceHigh()) + " " +
         number(s.snrDb) + " " + number(s.maxEchoS);
}

EchoWindow::EchoWindow(QMainWindow& main, Form1& form, const apps::RememberedChoices& choices)
    : main_(main), form_(form), choices_(choices) {
  QMenu* options = main.menuBar()->addMenu("&Options");
  QAction* counting = options->addAction("&Echo counting...");
  counting->setObjectName("EchoCounting");
  QObject::connect(counting, &QAction::triggered, &main, [this] { ask(); });
  status_ = new QLabel(&main);
  status_->setObjectName("EchoStatus");
  main.statusBar()->addWidget(status_, 1);
  std::optional<EchoSettings> kept;
  if (const auto text = choices.get(kEchoChoice)) kept = parseEchoChoice(*text);
  use(kept);
}

EchoWindow::~EchoWindow() { form_.Spec().onTransform({}); }

void EchoWindow::use(const std::optional<EchoSettings>& settings) {
  form_.Spec().onTransform({});
  detector_.reset();
  settings_ = settings;
  hourCount_ = 0;
  last_.reset();
  if (settings_ &&
      echoSettingsProblem(*settings_, form_.Spec().SampleRate(), form_.Spec().FFTLength())
          .empty()) {
    const double start = systemClock();
    hour_ = static_cast<std::int64_t>(std::floor(start / kHourSeconds));
    detector_ = std::make_unique<EchoDetector>(
        *settings_, form_.Spec().SampleRate(), start, [this](const Echo& echo) {
          const auto hour = static_cast<std::int64_t>(std::floor(echo.start / kHourSeconds));
          if (hour != hour_) {
            hour_ = hour;
            hourCount_ = 0;
          }
          ++hourCount_;
          last_ = echo;
          showStatus();
        });
    form_.Spec().onTransform([this](const xvtools::TransformView& view) {
      detector_->transform(view);
      const auto hour = static_cast<std::int64_t>(std::floor(detector_->clock() / kHourSeconds));
      if (hour > hour_ && !detector_->undecidedStart()) {
        hour_ = hour;
        hourCount_ = 0;
        showStatus();
      }
    });
  }
  showStatus();
}

void EchoWindow::showStatus() {
  if (!detector_) {
    status_->setText("Echo counting off (Options > Echo counting...)");
    return;
  }
  // The count, then what it counts with.
  QString text =
      QString("Echoes this hour: %1 (%2 Hz over %3 Hz, %4 dB)")
          .arg(hourCount_)
          .arg(QString::fromStdString(band(settings_->listenLow, settings_->listenHigh)))
          .arg(QString::fromStdString(band(settings_->referenceLow(), settings_->referenceHigh())))
          .arg(QString::fromStdString(number(settings_->snrDb)));
  if (last_) {
    const std::string when = isoTime(last_->start, false);
    text += QString("   last %1 UTC, %2 dB")
                .arg(QString::fromStdString(when.substr(11, 8)))
                .arg(last_->peakSnrDb, 0, 'f', 1);
  }
  status_->setText(text);
}

void EchoWindow::ask() {
  QDialog dialog(&main_);
  dialog.setWindowTitle("Echo counting");
  auto* form = new QFormLayout(&dialog);
  dialog.setObjectName("EchoDialog");
  auto* on = new QCheckBox("Count meteor echoes", &dialog);
  on->setObjectName("EchoOn");
  const EchoSettings shown = settings_.value_or(EchoSettings{800, 1200, {}, {}, 10, 20});
  on->setChecked(detector_ != nullptr);
  auto* listen = new QLineEdit(QString::fromStdString(band(shown.listenLow, shown.listenHigh)));
  auto* noise =
      new QLineEdit(QString::fromStdString(band(shown.referenceLow(), shown.referenceHigh())));
  auto* snr = new QLineEdit(QString::fromStdString(number(shown.snrDb)));
  auto* longest = new QLineEdit(QString::fromStdString(number(shown.maxEchoS)));
  listen->setObjectName("EchoListen");
  noise->setObjectName("EchoNoise");
  snr->setObjectName("EchoSnr");
  longest->setObjectName("EchoLongest");
  form->addRow(on);
  form->addRow("Listening band (Hz, LOW:HIGH):", listen);
  form->addRow("Reference band (Hz, LOW:HIGH):", noise);
  form->addRow("Threshold (dB):", snr);
  form->addRow("Longest echo (s):", longest);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  form->addRow(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return;
  if (!on->isChecked()) {
    choices_.set(kEchoChoice, "");
    use(std::nullopt);
    return;
  }
  const std::string text = listen->text().toStdString() + " " + noise->text().toStdString() + " " +
                           snr->text().toStdString() + " " + longest->text().toStdString();
  const auto settings = parseEchoChoice(text);
  const std::string problem =
      !settings
          ? "the bands are LOW:HIGH in Hz, the threshold and longest echo numbers"
          : echoSettingsProblem(*settings, form_.Spec().SampleRate(), form_.Spec().FFTLength());
  if (!problem.empty()) {
    QMessageBox::warning(&main_, "Echo counting", QString::fromStdString(problem));
    return;
  }
  choices_.set(kEchoChoice, echoChoiceText(*settings));
  use(settings);
}

}  // namespace spectrograph::app
