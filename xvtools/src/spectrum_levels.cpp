#include "xvtools/spectrum_levels.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "real_fft.h"

namespace xvtools {

struct SpectrumLevels::Impl {
  RealFft fft;
  std::vector<float> coefficients;
  std::vector<float> frame;
  std::vector<std::uint8_t> levels;
  int fill = 0;
  bool logAmp = false;
  // level = dbScale * log2(|X|^2) + dbOffset (logarithmic) or sqrt(|X|^2) * linearScale.
  float dbScale = 0;
  float dbOffset = 0;
  float linearScale = 0;
  Column column;
  TransformTap tap;
  float powerScale = 0;

  // Merging transforms into fewer columns (mergeTotal 0: one column per transform).
  std::uint64_t transforms = 0;
  std::uint64_t mergeTotal = 0;
  std::uint64_t mergeColumns = 0;
  std::uint64_t current = 0;  // the column the held powers belong to
  bool held = false;
  std::vector<float> power;  // each bin's greatest |X|^2 (plus a floor when logarithmic)

  // Levels from powers computed as powerOf() does: the same power always gives the same level,
  // and a greater power never a lower one.
  void level() {
    const std::size_t bins = power.size();
    if (logAmp) {
      for (std::size_t k = 0; k < bins; ++k) {
        const float l = dbScale * std::log2(power[k]) + dbOffset;
        levels[k] = static_cast<std::uint8_t>(std::clamp(l + 0.5f, 0.0f, 255.0f));
      }
    } else {
      for (std::size_t k = 0; k < bins; ++k) {
        const float l = std::sqrt(power[k]) * linearScale;
        levels[k] = static_cast<std::uint8_t>(std::clamp(l + 0.5f, 0.0f, 255.0f));
      }
    }
    column(levels);
  }

  void transform() {
    const int n = fft.length();
    float* in = fft.input();
    for (int i = 0; i < n; ++i) in[i] = frame[std::size_t(i)] * coefficients[std::size_t(i)];
    fft.execute();
    const fftwf_complex* out = fft.output();
    const int bins = n / 2 + 1;
    if (tap) {
      // FFTW's complex is laid out as std::complex<float>, as its manual guarantees.
      const auto* view = reinterpret_cast<const std::complex<float>*>(out);
      tap({std::span(view, std::size_t(bins)), n, powerScale});
    }
    // A floor keeps the logarithm of silence finite.
    const float floor = logAmp ? 1e-30f : 0.0f;
    if (mergeTotal == 0) {
      ++transforms;
      for (int k = 0; k < bins; ++k)
        power[std::size_t(k)] = out[k][0] * out[k][0] + out[k][1] * out[k][1] + floor;
      level();
      return;
    }
    const std::uint64_t to = std::min(
        mergeColumns - 1, static_cast<std::uint64_t>(transforms * mergeColumns / mergeTotal));
    ++transforms;
    if (held && to != current) {
      level();
      held = false;
    }
    if (!held) {
      for (int k = 0; k < bins; ++k)
        power[std::size_t(k)] = out[k][0] * out[k][0] + out[k][1] * out[k][1] + floor;
      held = true;
      current = to;
      return;
    }
    for (int k = 0; k < bins; ++k) {
      const float p = out[k][0] * out[k][0] + out[k][1] * out[k][1] + floor;
      power[std::size_t(k)] = std::max(power[std::size_t(k)], p);
    }
  }
};

SpectrumLevels::SpectrumLevels(const LevelSettings& s, Column column)
    : impl_(std::make_unique<Impl>()) {
  const double ref = s.ref();
  const double range = s.range();
  if (!std::isfinite(ref) || !std::isfinite(range) || range <= 0 || !std::isfinite(s.gainDb)) {
    throw std::invalid_argument("levels out of range");
  }
  Impl& m = *impl_;
  m.fft.setLength(s.fftLength);
  const int n = s.fftLength;
  m.coefficients.resize(std::size_t(n));
  fillWindow(s.window, m.coefficients);
  double sum = 0;
  for (float c : m.coefficients) sum += c;
  m.frame.assign(std::size_t(n), 0.0f);
  m.levels.assign(std::size_t(n / 2 + 1), 0);
  m.power.assign(std::size_t(n / 2 + 1), 0.0f);
  m.logAmp = s.logAmp;
  m.column = std::move(column);
  const double toAmplitude = 2.0 / sum * std::pow(10.0, s.gainDb / 20.0);
  m.powerScale = static_cast<float>(4.0 / (sum * sum));
  const double levelsPerDb = 255.0 / range;
  // 10 log10 p = 3.0103 log2 p; the bottom of the palette is ref - range.
  m.dbScale = static_cast<float>(10.0 * std::log10(2.0) * levelsPerDb);
  m.dbOffset = static_cast<float>((20.0 * std::log10(toAmplitude) - (ref - range)) * levelsPerDb);
  m.linearScale = static_cast<float>(toAmplitude / std::pow(10.0, ref / 20.0) * 255.0);
}

SpectrumLevels::~SpectrumLevels() = default;

int SpectrumLevels::bins() const { return impl_->fft.length() / 2 + 1; }
int SpectrumLevels::hop() const { return impl_->fft.length() / 2; }

void SpectrumLevels::onTransform(TransformTap tap) { impl_->tap = std::move(tap); }

void SpectrumLevels::mergeColumns(std::uint64_t transforms, std::uint64_t columns) {
  if (columns == 0 || columns > transforms || impl_->transforms != 0)
    throw std::invalid_argument("columns to merge into out of range");
  impl_->mergeTotal = transforms;
  impl_->mergeColumns = columns;
}

void SpectrumLevels::finish() {
  if (impl_->held) impl_->level();
  impl_->held = false;
}

std::uint64_t SpectrumLevels::transforms() const { return impl_->transforms; }

void SpectrumLevels::write(std::span<const std::int16_t> samples) {
  Impl& m = *impl_;
  const int n = m.fft.length();
  const int hop = n / 2;
  std::size_t at = 0;
  while (at < samples.size()) {
    const std::size_t take = std::min(samples.size() - at, std::size_t(n - m.fill));
    float* to = m.frame.data() + m.fill;
    for (std::size_t i = 0; i < take; ++i) to[i] = samples[at + i] * (1.0f / 32768.0f);
    at += take;
    m.fill += static_cast<int>(take);
    if (m.fill == n) {
      m.transform();
      // The frame's second half is the next frame's first.
      std::copy(m.frame.begin() + hop, m.frame.end(), m.frame.begin());
      m.fill = n - hop;
    }
  }
}

}  // namespace xvtools
