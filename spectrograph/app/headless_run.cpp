#include "headless_run.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "apps/user_chart_style.h"
#include "echo_counting.h"
#include "echo_snapshots.h"
#include "form_chart.h"
#include "host/headless.h"
#include "host/headless_prompter.h"
#include "host/image_file.h"
#include "host/output_file.h"
#include "spectrograph/form1.h"
#include "spectrograph/spec_host.h"
#include "util/folder.h"
#include "xvtools/input_spec.h"
#include "xvtools/spectrogram_frame.h"

namespace spectrograph::app {

namespace {

// VBPrintWindow's result when no printer takes the job.
constexpr std::int32_t kStartDocFailed = 11;

// The form's window: without a window system, the spectrogram display shown beside the chart
// control's window once the run has drawn it, else the chart's own window.
class ContainerHost : public SpecHost {
 public:
  explicit ContainerHost(host::HeadlessContainer& container) : container_(container) {}
  std::int32_t windowHandle() const override {
    return static_cast<std::int32_t>(shown_ != 0 ? shown_ : container_.windowHandle());
  }
  void show(const host::PixelView& picture) { shown_ = container_.showPicture(picture); }

 private:
  host::HeadlessContainer& container_;
  std::uintptr_t shown_ = 0;
};

// Moves a spin button to row as the operator would. Already standing there, the operator steps
// away and back, so the choice reaches the spectrogram even when it matches the button's start.
void choose(xvtools::XVSpinButtonX& button, int row) {
  if (button.Value() == row) button.setValue(row == button.MinValue() ? row + 1 : row - 1);
  button.setValue(row);
}

// The display as the window shows it, with the palette's scale of dB at its right on request.
std::vector<std::uint32_t> displayPicture(const xvtools::XVSpectrogramX& spectrogram,
                                          const HeadlessOptions& options) {
  const auto width = static_cast<std::size_t>(spectrogram.width());
  const auto height = static_cast<std::size_t>(spectrogram.height());
  std::vector<std::uint32_t> display(width * height);
  spectrogram.render(display);
  if (!options.colorbar) return display;
  xvtools::SpectrogramFrame frame;
  frame.rows = spectrogram.height();
  frame.colourBar = true;
  frame.levels.logAmp = spectrogram.LogAmp();
  frame.levels.refDb = options.refDb;
  frame.levels.rangeDb = options.rangeDb;
  frame.palette = static_cast<xvtools::SpectrogramPalette>(spectrogram.Palette());
  constexpr auto kBar = static_cast<std::size_t>(xvtools::SpectrogramFrame::kBarWidth);
  std::vector<std::uint32_t> bar(kBar * height);
  frame.drawColourBar(bar);
  std::vector<std::uint32_t> picture((width + kBar) * height);
  for (std::size_t y = 0; y < height; ++y) {
    std::copy_n(display.data() + y * width, width, picture.data() + y * (width + kBar));
    std::copy_n(bar.data() + y * kBar, kBar, picture.data() + y * (width + kBar) + width);
  }
  return picture;
}

// Outputs are checked before anything is written: a refused run leaves every file as it was.
// False, with a line on standard error, when the run cannot go ahead.
bool runFilesUsable(const HeadlessOptions& options,
                    const std::optional<xvtools::InputSpec>& choice) {
  const bool fromFile = choice && choice->kind == xvtools::InputSpec::Kind::File;
  for (const std::string* path : {&options.imagePath, &options.printPath}) {
    if (path->empty()) continue;
    std::string problem = host::replaceProblem(*path);
    if (fromFile && host::sameFile(*path, choice->name)) problem = "it is the input";
    if (path == &options.printPath && !options.imagePath.empty() &&
        host::sameFile(*path, options.imagePath)) {
      problem = "it is also the image";
    }
    if (!problem.empty()) {
      std::fprintf(stderr, "zelkspec: cannot write %s: %s\n", path->c_str(), problem.c_str());
      return false;
    }
  }
  if (!choice) {
    std::fprintf(stderr, "zelkspec: --input %s is not an input\n", options.input.c_str());
    return false;
  }
  if (fromFile &&
      (std::filesystem::is_directory(choice->name) || ::access(choice->name.c_str(), R_OK) != 0)) {
    std::fprintf(stderr, "zelkspec: cannot read the recording %s\n", choice->name.c_str());
    return false;
  }
  return true;
}

// The buttons and switches as the command line sets them, as a user would press them.
void setUpForm(Form1& form, const HeadlessOptions& options) {
  if (options.fftRow) choose(form.FFTButton(), *options.fftRow);
  if (options.windowRow) choose(form.WindowButton(), *options.windowRow);
  if (options.paletteRow) choose(form.PalletButton(), *options.paletteRow);
  if (options.gainRow) choose(form.GainButton(), *options.gainRow);
  if (options.logAmp) form.LogAmpSwitch().setPosition(0);
  if (options.relief) form.Embosswitch().setPosition(0);
  if (options.refDb || options.rangeDb) form.Spec().setLevels(options.refDb, options.rangeDb);
}

// Pulls the input until it ends, the time is up or a stop comes; false when it did not start.
bool runInput(Form1& form, const HeadlessOptions& options, const xvtools::InputSpec& choice,
              const apps::StopRequest& stop, EchoCounting* counting, EchoSnapshots* snapshots) {
  form.WaveIn().setInput(choice);
  // A recording piped in that stalls must not keep the run from stopping.
  form.WaveIn().setStopFlag(&apps::stopSignalFlag());
  form.WaveIn().setMode(xvtools::XVWaveInX::Mode::Pulled);
  form.startStopClick();
  if (form.startStopCaption() != "Stop") {
    std::fprintf(stderr, "zelkspec: the input %s did not start\n", options.input.c_str());
    return false;
  }
  const double rate = form.WaveIn().SampleRate();
  const auto limit =
      options.seconds ? static_cast<std::uint64_t>(*options.seconds * rate + 0.5) : UINT64_MAX;
  while (!stop.requested() && form.WaveIn().samplesDelivered() < limit) {
    if (!form.WaveIn().pull()) break;
    if (counting != nullptr) counting->advance();
    if (snapshots != nullptr) {
      snapshots->update(counting->newestTransform(form.Spec().FFTLength(), int(rate)));
    }
  }
  if (snapshots != nullptr) {
    counting->finish();
    snapshots->finish(counting->newestTransform(form.Spec().FFTLength(), int(rate)));
  }
  if (stop.requested()) std::fprintf(stderr, "zelkspec: stopped; keeping what was shown\n");
  if (form.startStopCaption() == "Stop") form.startStopClick();
  return true;
}

// No window to capture: Print takes the spectrogram display as the window would show it.
bool printDisplay(Form1& form, ContainerHost& formHost, host::HeadlessContainer& container,
                  const host::PixelView& view, const std::string& printPath) {
  formHost.show(view);
  form.printButtonClick();
  container.pump();
  if (!form.printFailure().empty()) {
    std::fprintf(stderr, "zelkspec: printing not available: %s\n", form.printFailure().c_str());
  } else if (form.PrintResult() == kStartDocFailed) {
    std::fprintf(stderr, "zelkspec: printing not available: the print job could not start\n");
  } else if (form.PrintResult() != 0) {
    std::fprintf(stderr, "zelkspec: printing to %s failed (result %d)\n", printPath.c_str(),
                 form.PrintResult());
  } else {
    return true;
  }
  return false;
}

}  // namespace

int runHeadless(const HeadlessOptions& options, const apps::StopRequest& stop) {
  const auto choice = xvtools::InputSpec::parse(options.input);
  if (!runFilesUsable(options, choice)) return 1;
  host::HeadlessContainer container(kChartWidth, kChartHeight);
  // The chart control prints to its container's default printer.
  if (!options.printPath.empty()) container.setPrinter("pdf:" + options.printPath);
  automation::Dispatch* chart = nullptr;
  try {
    chart = &createFormChart(container);
    container.pump();
  } catch (const std::exception& e) {
    // Only printing needs the control: the spectrogram itself does without it.
    if (!options.printPath.empty()) {
      std::fprintf(stderr, "zelkspec: the chart control %s cannot be created: %s\n", kChartClassId,
                   e.what());
    }
  }
  ContainerHost formHost(container);
  host::HeadlessPrompter prompter("zelkspec");
  Form1 form(chart, formHost, prompter);
  form.load();
  if (chart != nullptr) {
    const std::string note = apps::StyledChart(*chart, "zelkspec.bag").applyOverSetUp();
    if (!note.empty()) std::fprintf(stderr, "zelkspec: %s\n", note.c_str());
  }
  setUpForm(form, options);
  std::string echoError;
  const auto echo = echoSettings(options, echoError);
  std::unique_ptr<EchoCounting> counting;
  if (echo) {
    counting = std::make_unique<EchoCounting>(*echo, options, *choice, form.Spec().SampleRate());
    if (!counting->error().empty()) {
      std::fprintf(stderr, "zelkspec: %s\n", counting->error().c_str());
      return 1;
    }
    form.Spec().onTransform(counting->tap());
  }
  std::unique_ptr<EchoSnapshots> snapshots;
  if (counting && !options.snapshotsDir.empty()) {
    if (util::folderState(options.snapshotsDir) != util::FolderState::kWritable) {
      std::fprintf(stderr, "zelkspec: --snapshots %s is not a folder it can write in\n",
                   options.snapshotsDir.c_str());
      return 1;
    }
    snapshots = std::make_unique<EchoSnapshots>(options.snapshotsDir, form.Spec());
    counting->onEcho([&snapshots](const Echo& e) { snapshots->add(e); });
  }
  const bool ran = runInput(form, options, *choice, stop, counting.get(), snapshots.get());
  form.Spec().onTransform({});
  int exitCode = 0;
  if (counting) {
    if (!counting->finish()) {
      std::fprintf(stderr, "zelkspec: %s\n", counting->error().c_str());
      exitCode = 1;
    }
    std::fprintf(stderr, "zelkspec: %d echoes counted\n", counting->counted());
    if (snapshots && !snapshots->error().empty()) {
      std::fprintf(stderr, "zelkspec: %s\n", snapshots->error().c_str());
      exitCode = 1;
    }
  }
  if (!ran) return 1;

  const xvtools::XVSpectrogramX& spectrogram = form.Spec();
  const std::vector<std::uint32_t> image = displayPicture(spectrogram, options);
  const int width = static_cast<int>(image.size()) / spectrogram.height();
  const host::PixelView view{image.data(), width, spectrogram.height(),
                             static_cast<std::size_t>(width)};
  if (!options.imagePath.empty() && !host::writeImageFile(options.imagePath, view)) {
    std::fprintf(stderr, "zelkspec: cannot write the image %s\n", options.imagePath.c_str());
    exitCode = 1;
  }
  if (!options.printPath.empty() &&
      !printDisplay(form, formHost, container, view, options.printPath)) {
    exitCode = 1;
  }
  return exitCode;
}

}  // namespace spectrograph::app
