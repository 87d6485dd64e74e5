#include "headless_options.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "xvtools/input_spec.h"
#include "xvtools/spectrogram_palette.h"
#include "xvtools/spectrum_window.h"

namespace spectrograph::app {

namespace {

// The lengths the FFT spin button reaches, by row.
constexpr int kFFTChoices[] = {64, 128, 256, 512, 1024};

bool endsWith(const std::string& text, const char* tail) {
  const std::string t(tail);
  if (text.size() < t.size()) return false;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[text.size() - t.size() + i])) != t[i])
      return false;
  }
  return true;
}

}  // namespace

std::string usageText() {
  return "Usage: zelkspec [--headless [options]] [--help] [--version]\n"
         "\n"
         "Without --headless the spectrograph opens its window.\n"
         "\n"
         "Headless options:\n"
         "  --input default|device:NAME|FILE|synthetic[:SEED]\n"
         "                        audio to show (default: synthetic)\n"
         "  --seconds N           run N seconds of audio, then stop; default: until the\n"
         "                        input ends, or Ctrl-C\n"
         "  --image FILE.png|FILE.bmp\n"
         "                        write the spectrogram display (569 x 257) at the end\n"
         "  --fft 64|128|256|512|1024\n"
         "                        FFT length (default 512)\n"
         "  --window NAME         Rectangular, Hamming, Hanning, Blackman, Gaussian, Welch\n"
         "                        or Parzen (default: the stored Gaussian)\n"
         "  --palette NAME        HSV, Threshold, \"Black on White\", \"White on Black\", Bone,\n"
         "                        Copper, Cool or Hot (default Threshold)\n"
         "  --gain 0|6|12         gain in dB (default 0)\n"
         "  --log-amp             logarithmic amplitude (the Log Amp switch down)\n"
         "  --relief              relief shading (the Relief switch down)\n"
         "  --print FILE.pdf      press Print at the end, printing to FILE.pdf\n"
         "  --help, --version\n";
}

ParseResult parseCommandLine(const std::vector<std::string>& args) {
  ParseResult result;
  HeadlessOptions& o = result.options;
  auto fail = [&result](std::string text) {
    result.error = std::move(text);
    return result;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size() || args[i + 1].empty()) return false;
      out = args[++i];
      return true;
    };
    std::string text;
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--headless") {
      o.headless = true;
    } else if (a == "--log-amp") {
      o.logAmp = true;
    } else if (a == "--relief") {
      o.relief = true;
    } else if (a == "--input") {
      if (!value(o.input)) return fail("--input needs a value");
      if (!xvtools::InputSpec::parse(o.input))
        return fail("--input " + o.input + " is not an input");
    } else if (a == "--seconds") {
      if (!value(text)) return fail("--seconds needs a value");
      char* end = nullptr;
      const double s = std::strtod(text.c_str(), &end);
      if (end == text.c_str() || *end != '\0' || !std::isfinite(s) || s <= 0 || s > 1e7) {
        return fail("--seconds " + text + " is not a positive number of seconds");
      }
      o.seconds = s;
    } else if (a == "--image") {
      if (!value(o.imagePath)) return fail("--image needs a file name");
      if (!endsWith(o.imagePath, ".png") && !endsWith(o.imagePath, ".bmp")) {
        return fail("--image " + o.imagePath + ": the name must end in .png or .bmp");
      }
    } else if (a == "--print") {
      if (!value(o.printPath)) return fail("--print needs a file name");
      if (!endsWith(o.printPath, ".pdf")) {
        return fail("--print " + o.printPath + ": the name must end in .pdf");
      }
    } else if (a == "--fft") {
      if (!value(text)) return fail("--fft needs a length");
      o.fftRow.reset();
      for (int row = 0; row < static_cast<int>(std::size(kFFTChoices)); ++row) {
        if (text == std::to_string(kFFTChoices[row])) o.fftRow = row;
      }
      if (!o.fftRow) return fail("--fft " + text + " is not one of 64, 128, 256, 512, 1024");
    } else if (a == "--window") {
      if (!value(text)) return fail("--window needs a name");
      const auto window = xvtools::windowByName(text);
      if (!window) {
        return fail("--window " + text +
                    " is not a window (Rectangular, Hamming, Hanning, Blackman, Gaussian, Welch, "
                    "Parzen)");
      }
      o.windowRow = static_cast<int>(*window);
    } else if (a == "--palette") {
      if (!value(text)) return fail("--palette needs a name");
      const auto palette = xvtools::paletteByName(text);
      if (!palette) {
        return fail("--palette " + text +
                    " is not a palette (HSV, Threshold, Black on White, White on Black, Bone, "
                    "Copper, Cool, Hot)");
      }
      o.paletteRow = static_cast<int>(*palette);
    } else if (a == "--gain") {
      if (!value(text)) return fail("--gain needs a value");
      std::string digits = text;
      if (endsWith(digits, "db")) digits.resize(digits.size() - 2);
      if (!digits.empty() && digits.front() == '+') digits.erase(0, 1);
      if (digits == "0") {
        o.gainRow = 0;
      } else if (digits == "6") {
        o.gainRow = 1;
      } else if (digits == "12") {
        o.gainRow = 2;
      } else {
        return fail("--gain " + text + " is not 0, 6 or 12 (dB)");
      }
    } else {
      return fail("unknown option " + a);
    }
  }
  if (o.headless && !o.help && !o.version && o.imagePath.empty() && o.printPath.empty()) {
    return fail("nothing to write: give --image FILE.png or --print FILE.pdf");
  }
  return result;
}

}  // namespace spectrograph::app
