#include "window_run.h"

#include <QApplication>
#include <QMainWindow>
#include <cstdio>

#include "apps/qt/remembered_printer.h"
#include "apps/user_chart_style.h"
#include "echo_window.h"
#include "form_chart.h"
#include "host/qt/print_services.h"
#include "host/qt/qt_container.h"
#include "host/qt/qt_prompter.h"
#include "spec_window.h"
#include "xvtools/qt/qt_form_thread.h"

namespace spectrograph::app {

namespace {

class WindowHost final : public SpecHost {
 public:
  void setWindow(QWidget* window) { window_ = window; }
  std::int32_t windowHandle() const override {
    return window_ == nullptr ? 0 : static_cast<std::int32_t>(window_->winId());
  }
  // After the handler returns, as the forms runtime ends a program.
  void endProgram() override {
    QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
  }

 private:
  QWidget* window_ = nullptr;
};

}  // namespace

int runWindow(int argc, char** argv, const HeadlessOptions& options) {
  QApplication application(argc, argv);
  // Besides the file printer, the printing system's queues.
  host::qt::installQueuePrinters();
  // The printer chosen in the recorder's Printer Setup is the user's printer here too.
  const std::string printerNote = apps::qt::useRememberedPrinter(apps::RememberedChoices());
  if (!printerNote.empty()) std::fprintf(stderr, "zelkspec: %s\n", printerNote.c_str());
  xvtools::qt::QtFormThread formThread;
  WindowHost host;
  host::qt::QtPrompter prompter;
  // The form's chart control prints the window; the spectrogram does without it.
  host::qt::QtContainer chart;
  chart.resize(kChartWidth, kChartHeight);
  automation::Dispatch* control = nullptr;
  try {
    control = &createFormChart(chart);
    chart.pump();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zelkspec: the chart control %s cannot be created: %s\n", kChartClassId,
                 e.what());
  }
  Form1 form(control, host, prompter);
  form.WaveIn().setInput(*xvtools::InputSpec::parse(options.input));
  form.WaveIn().setFormThread(&formThread);
  form.WaveIn().setMode(xvtools::XVWaveInX::Mode::RealTime);
  // The form's window inside one that adds the Options menu and the echo counter's status line.
  QMainWindow main;
  main.setWindowTitle(kFormCaption);
  auto* window = new SpecWindow(form, &chart);
  main.setCentralWidget(window);
  const apps::RememberedChoices choices;
  EchoWindow echoes(main, form, choices);
  host.setWindow(&main);
  prompter.setParent(&main);
  form.load();
  if (control != nullptr) {
    const std::string note = apps::StyledChart(*control, "zelkspec.bag").applyOverSetUp();
    if (!note.empty()) std::fprintf(stderr, "zelkspec: %s\n", note.c_str());
  }
  main.show();
  const int code = application.exec();
  form.WaveIn().Stop();
  return code;
}

}  // namespace spectrograph::app
