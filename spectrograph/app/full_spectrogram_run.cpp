#include "full_spectrogram_run.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

#include "apps/sun_options.h"
#include "echo_counting.h"
#include "spectrograph/full_spectrogram.h"
#include "util/folder.h"
#include "xvtools/audio_source.h"
#include "xvtools/input_spec.h"
#include "xvtools/spectrogram_palette.h"
#include "xvtools/spectrum_window.h"
#include "xvtools/sun_times.h"

namespace spectrograph::app {

namespace {

// The spectrograph's form works at this rate; recordings are converted to it.
constexpr int kSampleRate = 8000;
constexpr int kMaxWidth = 100000;
// Without --width, one column per transform up to this many; longer recordings are fitted.
constexpr int kDefaultMaxColumns = 16384;

bool powerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

}  // namespace

int runFullSpectrogram(const HeadlessOptions& o, std::ostream& err, const std::atomic<bool>* stop) {
  FullSpectrogramSettings settings;
  auto refuse = [&err](const std::string& why) {
    err << "zelkspec: " << why << '\n';
    return 2;
  };
  if (o.imagePath.empty()) return refuse("--full needs --image FILE.png");
  if (std::filesystem::path(o.imagePath).extension() != ".png")
    return refuse("--full writes PNG pictures: --image " + o.imagePath + " must end in .png");
  if (!powerOfTwo(o.fftLength) || o.fftLength < 64 || o.fftLength > 2048) {
    return refuse("--fft " + std::to_string(o.fftLength) +
                  " is not a power of two from 64 to 2048");
  }
  settings.levels.fftLength = o.fftLength;
  const auto window = xvtools::windowByName(o.windowName);
  if (!window) return refuse("--window " + o.windowName + " is not a window");
  settings.levels.window = *window;
  const auto palette = xvtools::paletteByName(o.paletteName);
  if (!palette) return refuse("--palette " + o.paletteName + " is not a palette");
  settings.palette = *palette;
  // The gain button's rows step by 6 dB.
  const int gainDb = o.gainRow.value_or(0) * 6;
  if (gainDb != 0 && gainDb != 6 && gainDb != 12)
    return refuse("--gain " + std::to_string(gainDb) + " is not 0, 6 or 12 (dB)");
  settings.levels.gainDb = gainDb;
  settings.levels.logAmp = o.logAmp;
  if (o.refDb && (!std::isfinite(*o.refDb) || std::fabs(*o.refDb) > 200))
    return refuse("--ref must be a level in dB between -200 and 200");
  if (o.rangeDb && !o.logAmp)
    return refuse("--range sets the span of logarithmic levels: give --log-amp with it");
  if (o.rangeDb && (!std::isfinite(*o.rangeDb) || *o.rangeDb < 1 || *o.rangeDb > 200))
    return refuse("--range must be from 1 to 200 dB");
  settings.levels.refDb = o.refDb;
  settings.levels.rangeDb = o.rangeDb;
  if (o.width && (*o.width < 0 || *o.width > kMaxWidth))
    return refuse("--width must be from 0 to " + std::to_string(kMaxWidth) + " columns");
  if (o.relief) return refuse("--relief shades the live display only; --full does not draw it");
  settings.seconds = o.seconds;
  settings.colourBar = o.colorbar;
  settings.sampleRate = kSampleRate;
  settings.stop = stop;
  if (!o.startTime.empty()) {
    std::optional<double> clock;
    if (auto why = apps::readClockOption("--start-time", o.startTime, clock); !why.empty())
      return refuse(why);
    settings.startClock = *clock;
  }
  const auto choice = xvtools::InputSpec::parse(o.input);
  if (!choice) return refuse("--input " + o.input + " is not an input");
  if (choice->kind != xvtools::InputSpec::Kind::File && !o.seconds)
    return refuse("--full reads a live or synthetic input only for --seconds N");
  // A recording's name may date it.
  const auto named = choice->kind == xvtools::InputSpec::Kind::File
                         ? xvtools::dateInFileName(choice->name)
                         : std::nullopt;
  apps::SunPlace sun;
  if (auto why = apps::readSunOptions(o.site, o.date, named.has_value(), sun); !why.empty())
    return refuse(why);
  if (sun.site && !sun.date) sun.date = named;

  // Found out before reading what may be hours of input.
  std::filesystem::path folder = std::filesystem::path(o.imagePath).parent_path();
  if (folder.empty()) folder = ".";
  if (const util::FolderState state = util::folderState(folder);
      state != util::FolderState::kWritable) {
    err << "zelkspec: cannot write " << o.imagePath << ": its folder "
        << (state == util::FolderState::kNotWritable ? "is not writable" : "does not exist")
        << '\n';
    return 1;
  }
  if (std::filesystem::is_directory(o.imagePath)) {
    err << "zelkspec: cannot write " << o.imagePath << ": it is a folder\n";
    return 1;
  }
  std::unique_ptr<xvtools::AudioSource> source;
  try {
    source = xvtools::openAudioSource(*choice, kSampleRate, stop);
  } catch (const std::exception& e) {
    err << "zelkspec: cannot read " << o.input << ": " << e.what() << '\n';
    return 1;
  }
  if (const std::string warning = source->warning(); !warning.empty())
    err << "zelkspec: " << warning << '\n';
  // The length is known before any transform where the input can be measured: the width is
  // chosen, and a picture that cannot be drawn refused, at once.
  // A live or synthetic input is read for exactly --seconds.
  if (const auto length = source->lengthSeconds(); length || o.seconds) {
    const double seconds = length && o.seconds ? std::min(*o.seconds, *length)
                           : length            ? *length
                                               : *o.seconds;
    settings.expectedTransforms = transformsIn(seconds, kSampleRate, o.fftLength);
  }
  if (sun.site) {
    // Every day the recording reaches has its own sunrise and sunset (a night from 23:00 has
    // the next morning's); a recording of unknown length gets the marks of two days.
    const auto length = source->lengthSeconds() ? source->lengthSeconds() : o.seconds;
    const double end =
        length ? settings.startClock + std::min(*length, 366 * 86400.0) : 2 * 86400.0;
    for (apps::SunMark& mark :
         apps::sunMarks(*sun.site, *sun.date, settings.startClock, end, false))
      settings.marks.push_back({mark.time, std::move(mark.text)});
  }
  if (o.width && *o.width > 0) {
    settings.width = o.width;
  } else if (!o.width && settings.expectedTransforms &&
             *settings.expectedTransforms > std::uint64_t(kDefaultMaxColumns)) {
    settings.width = kDefaultMaxColumns;
    err << "zelkspec: " << *settings.expectedTransforms << " transforms fitted into "
        << kDefaultMaxColumns << " columns (--width 0 gives one column per transform)\n";
  }
  // Echoes are counted on the picture's own transforms and marked above it.
  std::string echoError;
  const auto echo = echoSettings(o, echoError);
  std::unique_ptr<EchoCounting> counting;
  if (echo) {
    counting = std::make_unique<EchoCounting>(*echo, o, *choice, kSampleRate);
    if (!counting->error().empty()) {
      err << "zelkspec: " << counting->error() << '\n';
      return 1;
    }
    settings.tap = counting->tap();
    settings.echoTicks = [&counting] {
      counting->finish();
      return counting->echoOffsets();
    };
  }
  int status = 0;
  try {
    const FullSpectrogramResult result = writeFullSpectrogram(*source, settings, o.imagePath);
    if (!result.error.empty()) {
      err << "zelkspec: " << result.error << '\n';
      status = 1;
    }
  } catch (const std::exception& e) {
    err << "zelkspec: " << o.input << ": " << e.what() << '\n';
    status = 1;
  }
  if (counting) {
    if (!counting->finish()) {
      err << "zelkspec: " << counting->error() << '\n';
      status = 1;
    }
    err << "zelkspec: " << counting->counted() << " echoes counted\n";
  }
  return status;
}

}  // namespace spectrograph::app
