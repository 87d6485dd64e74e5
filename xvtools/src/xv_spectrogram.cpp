#include "xvtools/xv_spectrogram.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "frequency_scale.h"
#include "real_fft.h"

namespace xvtools {

namespace {

constexpr int kDefaultFFTLength = 512;
constexpr int kDefaultSampleRate = 8000;
constexpr float kSampleScale = 1.0f / 32768.0f;
// Keeps log10 finite for an all-zero frame.
constexpr float kPowerFloor = 1e-30f;

// log2 of a positive normal float to about 1e-6: the exponent, plus the mantissa m in [1, 2)
// through ln m = 2 atanh(s), s = (m - 1) / (m + 1) <= 1/3, to the s^9 term. Plain arithmetic,
// so the column's loop over rows vectorises where the library's logarithm would not.
inline float log2Positive(float x) {
  const auto bits = std::bit_cast<std::uint32_t>(x);
  const float exponent = static_cast<float>(static_cast<int>(bits >> 23) - 127);
  const float m = std::bit_cast<float>((bits & 0x007FFFFFu) | 0x3F800000u);
  const float s = (m - 1.0f) / (m + 1.0f);
  const float s2 = s * s;
  const float series =
      s * (2.0f + s2 * (2.0f / 3 + s2 * (2.0f / 5 + s2 * (2.0f / 7 + s2 * (2.0f / 9)))));
  return exponent + series * 1.44269504f;  // 1 / ln 2
}

// 10 log10 x = this times log2 x.
constexpr float kDbPerOctave = 3.01029996f;

void require(bool ok, const char* what) {
  if (!ok) throw std::invalid_argument(what);
}

}  // namespace

struct XVSpectrogramX::Impl {
  Impl(int w, int h)
      : width(w), height(h), rowLo(h), rowHi(h), rowPower(h), levels(h), previous(h) {}

  int width;
  int height;
  int sampleRate = kDefaultSampleRate;
  int window = static_cast<int>(SpectrumWindow::Hanning);
  int palette = static_cast<int>(SpectrogramPalette::HSV);
  int gain = 0;
  bool logAmp = false;
  bool emboss = false;
  bool drawScale = false;
  bool scroll = true;

  RealFft fft;
  std::array<float, kMaxFFTLength> coefficients{};
  std::array<float, kMaxFFTLength> frame{};
  int frameFill = 0;
  PaletteTable colours = paletteTable(SpectrogramPalette::HSV);

  // Factors of the amplitude mapping for the current window, gain and levels.
  std::optional<double> refDb;
  std::optional<double> rangeDb;
  float logOffset = 0;    // dB added to 10 log10 |X|^2
  float logBottom = 0;    // dB below 0 dBFS at the bottom of the palette: range - ref
  float levelsPerDb = 0;  // palette levels per dB
  float linearScale = 0;  // levels per unit of |X|, for the linear top of the palette
  float powerScale = 0;   // |X|^2 to a sine's squared amplitude, without the gain

  // The plot as a ring of columns, each height pixels top-down; head is the next to write.
  std::vector<std::uint32_t> plot;
  int plotWidth = 0;
  int head = 0;
  std::uint64_t columns = 0;

  // Bins [rowLo, rowHi] of each row, bottom row first.
  std::vector<int> rowLo;
  std::vector<int> rowHi;
  std::vector<float> rowPower;
  std::vector<std::uint8_t> levels;
  std::vector<std::uint8_t> previous;
  std::function<void()> displayChanged;
  TransformTap tap;

  int length() const { return fft.length(); }
  int hop() const { return fft.length() / 2; }

  void windowChanged() {
    const int n = length();
    fillWindow(static_cast<SpectrumWindow>(window), std::span(coefficients.data(), std::size_t(n)));
    double sum = 0;
    for (int i = 0; i < n; ++i) sum += coefficients[std::size_t(i)];
    const double gainDb = 6.0 * gain;
    // 2|X| / sum(w) is a sine's amplitude; the gain multiplies it.
    const double toAmplitude = 2.0 / sum * std::pow(10.0, gainDb / 20.0);
    powerScale = static_cast<float>(4.0 / (sum * sum));
    logOffset = static_cast<float>(20.0 * std::log10(toAmplitude));
    // The same levels as a whole recording's: its settings say what unset ones mean.
    const LevelSettings log{.logAmp = true, .refDb = refDb, .rangeDb = rangeDb};
    const LevelSettings linear{.logAmp = false, .refDb = refDb, .rangeDb = std::nullopt};
    logBottom = static_cast<float>(log.range() - log.ref());
    levelsPerDb = static_cast<float>(255.0 / log.range());
    linearScale = static_cast<float>(toAmplitude / std::pow(10.0, linear.ref() / 20.0) * 255.0);
  }

  void rowsChanged() {
    const int bins = length() / 2;
    const double binsPerRow = static_cast<double>(bins) / (height - 1);
    for (int r = 0; r < height; ++r) {
      int lo = static_cast<int>(std::ceil((r - 0.5) * binsPerRow));
      int hi = static_cast<int>(std::floor((r + 0.5) * binsPerRow));
      lo = std::clamp(lo, 0, bins);
      hi = std::clamp(hi, 0, bins);
      if (lo > hi) lo = hi = std::clamp(static_cast<int>(std::lround(r * binsPerRow)), 0, bins);
      rowLo[std::size_t(r)] = lo;
      rowHi[std::size_t(r)] = hi;
    }
  }

  void layoutChanged() {
    plotWidth = width - (drawScale ? kScaleWidth : 0);
    plot.assign(std::size_t(plotWidth) * std::size_t(height), colours[0]);
    head = 0;
    std::fill(previous.begin(), previous.end(), std::uint8_t{0});
  }

  void column() {
    const int n = length();
    float* in = fft.input();
    for (int i = 0; i < n; ++i) in[i] = frame[std::size_t(i)] * coefficients[std::size_t(i)];
    fft.execute();
    const fftwf_complex* out = fft.output();
    if (tap) {
      // FFTW's complex is laid out as std::complex<float>, as its manual guarantees.
      const auto* bins = reinterpret_cast<const std::complex<float>*>(out);
      tap({std::span(bins, std::size_t(n / 2 + 1)), n, powerScale});
    }
    float* power = rowPower.data();
    for (int r = 0; r < height; ++r) {
      float p = 0;
      for (int k = rowLo[std::size_t(r)]; k <= rowHi[std::size_t(r)]; ++k) {
        p = std::max(p, out[k][0] * out[k][0] + out[k][1] * out[k][1]);
      }
      power[r] = p;
    }
    std::uint8_t* level = levels.data();
    if (logAmp) {
      const float offset = (logOffset + logBottom) * levelsPerDb;
      const float scale = kDbPerOctave * levelsPerDb;
      for (int r = 0; r < height; ++r) {
        const float l = scale * log2Positive(power[r] + kPowerFloor) + offset;
        level[r] = static_cast<std::uint8_t>(std::clamp(l + 0.5f, 0.0f, 255.0f));
      }
    } else {
      for (int r = 0; r < height; ++r) {
        const float l = std::sqrt(power[r]) * linearScale;
        level[r] = static_cast<std::uint8_t>(std::clamp(l + 0.5f, 0.0f, 255.0f));
      }
    }
    std::uint32_t* pixels = plot.data() + std::size_t(head) * std::size_t(height);
    for (int r = 0; r < height; ++r) {
      int level = levels[std::size_t(r)];
      if (emboss) {
        const int below = previous[std::size_t(r > 0 ? r - 1 : 0)];
        level = std::clamp(level + static_cast<int>(kReliefDepth) * (level - below), 0, 255);
      }
      pixels[height - 1 - r] = colours[std::size_t(level)];
    }
    std::swap(levels, previous);
    head = head + 1 == plotWidth ? 0 : head + 1;
    ++columns;
  }

  void push(const char* bytes, std::size_t count) {
    const int n = length();
    while (count > 0) {
      // Up to the end of the frame at a time: the loop converts without a test per sample.
      const std::size_t take = std::min(count, std::size_t(n - frameFill));
      float* to = frame.data() + frameFill;
      for (std::size_t i = 0; i < take; ++i) {
        std::int16_t s;
        std::memcpy(&s, bytes + 2 * i, sizeof s);  // the buffer need not be aligned
        to[i] = s * kSampleScale;
      }
      bytes += 2 * take;
      count -= take;
      frameFill += static_cast<int>(take);
      if (frameFill == n) {
        column();
        // The frame's second half is the next frame's first.
        std::memmove(frame.data(), frame.data() + hop(), sizeof(float) * std::size_t(n - hop()));
        frameFill = n - hop();
      }
    }
  }

  void changed() {
    if (displayChanged) displayChanged();
  }
};

XVSpectrogramX::XVSpectrogramX(int width, int height) {
  require(width > kScaleWidth && height >= 2 && width <= 32767 && height <= 32767,
          "spectrogram size out of range");
  impl_ = std::make_unique<Impl>(width, height);
  impl_->fft.setLength(kDefaultFFTLength);
  impl_->windowChanged();
  impl_->rowsChanged();
  impl_->layoutChanged();
}

XVSpectrogramX::~XVSpectrogramX() = default;

void XVSpectrogramX::setBitLength(int bits) {
  require(bits == 16, "the spectrogram reads 16-bit samples only");
}

int XVSpectrogramX::SampleRate() const { return impl_->sampleRate; }
void XVSpectrogramX::setSampleRate(int rate) {
  require(rate >= 1 && rate <= kMaxSampleRate, "sample rate out of range");
  if (rate == impl_->sampleRate) return;
  impl_->sampleRate = rate;
  impl_->frameFill = 0;
  impl_->changed();
}

int XVSpectrogramX::FFTLength() const { return impl_->length(); }
void XVSpectrogramX::setFFTLength(int length) {
  if (length == impl_->length()) return;
  impl_->fft.setLength(length);  // refuses what is not a power of two in range
  impl_->frameFill = 0;
  impl_->windowChanged();
  impl_->rowsChanged();
}

int XVSpectrogramX::Window() const { return impl_->window; }
void XVSpectrogramX::setWindow(int window) {
  require(window >= 0 && window < kSpectrumWindowCount, "window function out of range");
  if (window == impl_->window) return;
  impl_->window = window;
  impl_->windowChanged();
}

int XVSpectrogramX::Palette() const { return impl_->palette; }
void XVSpectrogramX::setPalette(int palette) {
  require(palette >= 0 && palette < kSpectrogramPaletteCount, "palette out of range");
  if (palette == impl_->palette) return;
  impl_->palette = palette;
  impl_->colours = paletteTable(static_cast<SpectrogramPalette>(palette));
}

int XVSpectrogramX::Gain() const { return impl_->gain; }
void XVSpectrogramX::setGain(int gain) {
  require(gain >= 0 && gain < kGainCount, "gain out of range");
  if (gain == impl_->gain) return;
  impl_->gain = gain;
  impl_->windowChanged();
}

bool XVSpectrogramX::LogAmp() const { return impl_->logAmp; }
void XVSpectrogramX::setLogAmp(bool on) { impl_->logAmp = on; }

void XVSpectrogramX::setLevels(std::optional<double> refDb, std::optional<double> rangeDb) {
  require(!refDb || std::isfinite(*refDb), "level not finite");
  require(!rangeDb || (std::isfinite(*rangeDb) && *rangeDb > 0), "span not above 0 dB");
  impl_->refDb = refDb;
  impl_->rangeDb = rangeDb;
  impl_->windowChanged();
}
bool XVSpectrogramX::Emboss() const { return impl_->emboss; }
void XVSpectrogramX::setEmboss(bool on) { impl_->emboss = on; }

bool XVSpectrogramX::DrawScale() const { return impl_->drawScale; }
void XVSpectrogramX::setDrawScale(bool on) {
  if (on == impl_->drawScale) return;
  impl_->drawScale = on;
  impl_->layoutChanged();
  impl_->changed();
}

bool XVSpectrogramX::Scroll() const { return impl_->scroll; }
void XVSpectrogramX::setScroll(bool on) {
  if (on == impl_->scroll) return;
  impl_->scroll = on;
  impl_->changed();
}

int XVSpectrogramX::Hop() const { return impl_->hop(); }
int XVSpectrogramX::width() const { return impl_->width; }
int XVSpectrogramX::height() const { return impl_->height; }
int XVSpectrogramX::plotLeft() const { return impl_->drawScale ? kScaleWidth : 0; }
std::uint64_t XVSpectrogramX::columns() const { return impl_->columns; }

void XVSpectrogramX::bufferFilled(WAVEHDR* hdr) {
  if (hdr == nullptr || hdr->lpData == nullptr) return;
  const std::uint64_t before = impl_->columns;
  impl_->push(hdr->lpData, std::min(hdr->dwBytesRecorded, hdr->dwBufferLength) / 2);
  if (impl_->columns != before) impl_->changed();
}

void XVSpectrogramX::write(std::span<const std::int16_t> samples) {
  const std::uint64_t before = impl_->columns;
  impl_->push(reinterpret_cast<const char*>(samples.data()), samples.size());
  if (impl_->columns != before) impl_->changed();
}

void XVSpectrogramX::clear() {
  impl_->frameFill = 0;
  impl_->layoutChanged();
  impl_->changed();
}

void XVSpectrogramX::render(std::span<std::uint32_t> out) const {
  const Impl& m = *impl_;
  if (out.size() < std::size_t(m.width) * std::size_t(m.height)) {
    throw std::invalid_argument("render target smaller than the display");
  }
  const int left = m.drawScale ? kScaleWidth : 0;
  if (m.drawScale)
    drawFrequencyScale(out.data(), std::size_t(m.width), left, m.height, m.sampleRate);
  for (int i = 0; i < m.plotWidth; ++i) {
    // Scrolling: the column after the newest is the oldest, shown at the left.
    const int source = m.scroll ? (m.head + i) % m.plotWidth : i;
    const std::uint32_t* column = m.plot.data() + std::size_t(source) * std::size_t(m.height);
    std::uint32_t* target = out.data() + left + i;
    for (int y = 0; y < m.height; ++y) target[std::size_t(y) * std::size_t(m.width)] = column[y];
  }
}

std::span<const std::uint8_t> XVSpectrogramX::lastLevels() const { return impl_->previous; }

void XVSpectrogramX::onTransform(TransformTap tap) { impl_->tap = std::move(tap); }

void XVSpectrogramX::onDisplayChanged(std::function<void()> handler) {
  impl_->displayChanged = std::move(handler);
}

}  // namespace xvtools
