#include "spec_window.h"

#include <QFrame>
#include <QGroupBox>

#include "host/qt/print_services.h"
#include "xvtools/qt/led_panel_widget.h"
#include "xvtools/qt/meter_widget.h"
#include "xvtools/qt/spectrogram_widget.h"
#include "xvtools/qt/spin_button_widget.h"
#include "xvtools/qt/switch_widget.h"

namespace spectrograph::app {

namespace {

template <typename W>
W* place(W* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(name);
  widget->setGeometry(left, top, width, height);
  return widget;
}

QLineEdit* textBox(QWidget* parent, const char* name, int left, int top, int width) {
  auto* box = place(new QLineEdit(parent), name, left, top, width, 21);
  box->setReadOnly(true);
  // It only shows the choice of the spin button beside it, which Tab reaches.
  box->setFocusPolicy(Qt::NoFocus);
  return box;
}

}  // namespace

SpecWindow::SpecWindow(Form1& form, QWidget* chart, QWidget* parent)
    : QWidget(parent), form_(form), borrowedChart_(chart) {
  setWindowTitle(kFormCaption);
  setFixedSize(kWidth, kHeight);

  // Frames first, so the controls placed inside them stand on top.
  place(new QGroupBox("Input Signal Level", this), "MeterFrame", 8, 280, 137, 97);
  place(new QGroupBox("Window Function", this), "WindowFrame", 152, 280, 148, 56);
  place(new QGroupBox("Color Pallet", this), "PalletFrame", 152, 336, 148, 56);
  place(new QGroupBox("Gain", this), "GainFrame", 304, 280, 108, 56);
  place(new QGroupBox("FFT Length", this), "FFTFrame", 304, 336, 108, 56);
  place(new QGroupBox("Log Amp", this), "LogAmpFrame", 416, 280, 64, 56);
  place(new QGroupBox("Relief", this), "ReliefFrame", 416, 336, 64, 56);

  // QVM_Plotrex1 serves only for printing and sits behind the spectrogram.
  if (chart != nullptr) {
    chart->setParent(this);
    place(chart, "QVM_Plotrex1", 240, 160, 105, 49);
  } else {
    place(new QFrame(this), "QVM_Plotrex1", 240, 160, 105, 49)->setFrameShape(QFrame::Box);
  }

  place(new xvtools::qt::SpectrogramWidget(form.Spec(), this), "Spec", 8, 8, 569, 257);
  place(new xvtools::qt::MeterWidget(form.XVMeterX1(), this), "XVMeterX1", 16, 304, 121, 65);
  place(new xvtools::qt::SpinButtonWidget(form.WindowButton(), this), "WindowButton", 160, 296, 16,
        32);
  windowText_ = textBox(this, "WindowText", 180, 301, 112);
  place(new xvtools::qt::SpinButtonWidget(form.PalletButton(), this), "PalletButton", 160, 352, 16,
        32);
  palletText_ = textBox(this, "PalletText", 180, 357, 112);
  place(new xvtools::qt::SpinButtonWidget(form.GainButton(), this), "GainButton", 312, 296, 16, 32);
  gainText_ = textBox(this, "GainText", 332, 301, 72);
  place(new xvtools::qt::SpinButtonWidget(form.FFTButton(), this), "FFTButton", 312, 352, 16, 32);
  place(new xvtools::qt::LedPanelWidget(form.FFTLength(), this), "FFTLength", 344, 354, 60, 28);
  place(new xvtools::qt::SwitchWidget(form.LogAmpSwitch(), this), "LogAmpSwitch", 424, 296, 20, 36);
  place(new xvtools::qt::SwitchWidget(form.Embosswitch(), this), "Embosswitch", 424, 352, 20, 36);

  startStop_ = place(new QPushButton(this), "StartStop", 488, 288, 89, 25);
  exit_ = place(new QPushButton("E&xit", this), "ExitButton", 488, 320, 89, 25);
  print_ = place(new QPushButton("&Print", this), "PrintButton", 488, 352, 89, 25);
  connect(startStop_, &QPushButton::clicked, this, [this] { form_.startStopClick(); });
  connect(exit_, &QPushButton::clicked, this, [this] { form_.exitButtonClick(); });
  connect(print_, &QPushButton::clicked, this, [this] {
    form_.printButtonClick();
    // The chart's printing reports its failures only by their code: tell the operator.
    if (form_.printFailure().empty() && form_.PrintResult() != 0)
      form_.reportError(host::qt::printFailureText(form_.PrintResult()));
  });

  form_.onViewChanged([this] { showTexts(); });
  showTexts();
}

void SpecWindow::showTexts() {
  // Start and Stop both answer to Alt+S.
  startStop_->setText("&" + QString::fromStdString(form_.startStopCaption()));
  windowText_->setText(QString::fromStdString(form_.WindowText()));
  palletText_->setText(QString::fromStdString(form_.PalletText()));
  gainText_->setText(QString::fromStdString(form_.GainText()));
}

// The form outlives the window: leave it no handler pointing here.
SpecWindow::~SpecWindow() {
  form_.onViewChanged(nullptr);
  if (borrowedChart_ != nullptr) borrowedChart_->setParent(nullptr);
}

}  // namespace spectrograph::app
