#include "spectrograph/full_spectrogram.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "read_ahead.h"
#include "spectrograph/strip_png.h"

namespace spectrograph {

namespace {

constexpr int kTileColumns = 4096;
constexpr int kBandRows = 16;
// What a band of rows may take (its levels and its pixels): wide pictures get fewer rows a band.
constexpr std::size_t kBandBytes = 24u << 20;

// Columns of levels kept on disk in tiles of kTileColumns, each stored row by row (bin 0
// first), so that a band of bins of one tile is one contiguous read.
class ColumnSpool {
 public:
  explicit ColumnSpool(int bins) : bins_(bins), tile_(std::size_t(bins) * kTileColumns) {}
  ~ColumnSpool() {
    if (file_ != nullptr) std::fclose(file_);
  }
  bool open() { return (file_ = std::tmpfile()) != nullptr; }

  bool add(std::span<const std::uint8_t> levels) {
    for (int b = 0; b < bins_; ++b) tile_[std::size_t(b) * kTileColumns + fill_] = levels[b];
    ++columns_;
    if (++fill_ == kTileColumns) return flush();
    return true;
  }
  bool finish() { return fill_ == 0 || flush(); }
  std::uint64_t columns() const { return columns_; }

  // Bins [first, first + count) of every column, row-major: out[(b - first) * columns + c].
  bool readBand(int first, int count, std::vector<std::uint8_t>& out) {
    out.resize(std::size_t(count) * columns_);
    const std::uint64_t tiles = (columns_ + kTileColumns - 1) / kTileColumns;
    std::vector<std::uint8_t> part(std::size_t(count) * kTileColumns);
    for (std::uint64_t t = 0; t < tiles; ++t) {
      const long offset =
          static_cast<long>((t * bins_ + std::uint64_t(first)) * std::uint64_t(kTileColumns));
      if (std::fseek(file_, offset, SEEK_SET) != 0 ||
          std::fread(part.data(), 1, part.size(), file_) != part.size()) {
        return false;
      }
      const std::uint64_t from = t * kTileColumns;
      const std::size_t used = std::size_t(std::min<std::uint64_t>(kTileColumns, columns_ - from));
      for (int b = 0; b < count; ++b) {
        std::memcpy(out.data() + std::size_t(b) * columns_ + from,
                    part.data() + std::size_t(b) * kTileColumns, used);
      }
    }
    return true;
  }

 private:
  bool flush() {
    // A partial last tile is written whole, so every tile has the same place in the file.
    const bool ok = std::fwrite(tile_.data(), 1, tile_.size(), file_) == tile_.size();
    fill_ = 0;
    return ok;
  }

  int bins_;
  std::vector<std::uint8_t> tile_;
  std::size_t fill_ = 0;
  std::uint64_t columns_ = 0;
  std::FILE* file_ = nullptr;
};

}  // namespace

std::uint64_t transformsIn(double seconds, int sampleRate, int fftLength) {
  if (!(seconds > 0)) return 0;
  const auto samples = static_cast<std::uint64_t>(seconds * sampleRate);
  const auto fft = static_cast<std::uint64_t>(fftLength);
  return samples < fft ? 0 : (samples - fft) / (fft / 2) + 1;
}

FullSpectrogramResult writeFullSpectrogram(xvtools::AudioSource& source,
                                           const FullSpectrogramSettings& settings,
                                           const std::string& pngPath) {
  FullSpectrogramResult result;
  // Beyond a million columns a PNG is not opened by the usual readers.
  constexpr std::uint64_t kMaxColumns = 1000000 - 2 * xvtools::SpectrogramFrame::kBarWidth;
  if (const std::uint64_t wanted =
          settings.width ? std::uint64_t(*settings.width) : settings.expectedTransforms.value_or(0);
      wanted > kMaxColumns) {
    result.error = "the picture would be " + std::to_string(wanted) +
                   " columns wide; fit it into fewer with a width";
    return result;
  }
  std::unique_ptr<ColumnSpool> spool;
  bool spoolFailed = false;
  xvtools::SpectrumLevels levels(settings.levels, [&](std::span<const std::uint8_t> column) {
    if (!spool->add(column)) spoolFailed = true;
  });
  spool = std::make_unique<ColumnSpool>(levels.bins());
  if (settings.tap) levels.onTransform(settings.tap);
  // A narrower picture merges the transforms into its columns as they come.
  if (settings.width && settings.expectedTransforms &&
      *settings.expectedTransforms > std::uint64_t(*settings.width)) {
    levels.mergeColumns(*settings.expectedTransforms, std::uint64_t(*settings.width));
  }
  if (!spool->open()) {
    result.error = "cannot make a scratch file for the columns";
    return result;
  }
  const std::uint64_t limit =
      settings.seconds ? static_cast<std::uint64_t>(*settings.seconds * settings.sampleRate + 0.5)
                       : UINT64_MAX;
  readAhead(source, limit, settings.stop, [&](std::span<const std::int16_t> samples) {
    levels.write(samples);
    return !spoolFailed;
  });
  levels.finish();
  if (spoolFailed || !spool->finish()) {
    result.error = "cannot keep the columns in a scratch file (is the disk full?)";
    return result;
  }
  result.transforms = levels.transforms();
  const std::uint64_t kept = spool->columns();  // the transforms, or their merged columns
  if (kept == 0) {
    result.error = "the input is shorter than one transform";
    return result;
  }

  xvtools::SpectrogramFrame frame;
  frame.transforms = result.transforms;
  const std::uint64_t wanted = settings.width ? std::uint64_t(*settings.width) : result.transforms;
  if (wanted > kMaxColumns) {
    result.error = "the picture would be " + std::to_string(wanted) +
                   " columns wide; fit it into fewer with a width";
    return result;
  }
  frame.columns = static_cast<int>(wanted);
  frame.rows = levels.bins();
  frame.sampleRate = settings.sampleRate;
  frame.hop = levels.hop();
  frame.fftLength = settings.levels.fftLength;
  frame.startClock = settings.startClock;
  frame.colourBar = settings.colourBar;
  frame.levels = settings.levels;
  frame.palette = settings.palette;
  frame.marks = settings.marks;
  result.width = frame.width();
  result.height = frame.height();
  std::vector<double> ticks;
  const bool tickStrip = static_cast<bool>(settings.echoTicks);
  if (tickStrip) {
    ticks = settings.echoTicks();
    result.height += FullSpectrogramSettings::kTickRows;
  }

  StripPng png;
  if (!png.open(pngPath, result.width, result.height)) {
    result.error = png.error();
    return result;
  }
  const std::size_t w = std::size_t(result.width);
  std::vector<std::uint32_t> scale(std::size_t(xvtools::SpectrogramFrame::kScaleWidth) *
                                   std::size_t(frame.rows));
  frame.drawScale(scale);
  std::vector<std::uint32_t> bar;
  if (frame.colourBar) {
    bar.resize(std::size_t(xvtools::SpectrogramFrame::kBarWidth) * std::size_t(frame.rows));
    frame.drawColourBar(bar);
  }
  if (tickStrip) {
    // Each echo's tick stands over the column that holds its first transform.
    std::vector<std::uint32_t> strip(w * FullSpectrogramSettings::kTickRows, 0);
    for (const double seconds : ticks) {
      const double transform =
          (seconds * settings.sampleRate - settings.levels.fftLength / 2.0) / levels.hop();
      const auto index = static_cast<std::uint64_t>(
          std::clamp(transform, 0.0, static_cast<double>(result.transforms - 1)));
      const std::uint64_t column = index * std::uint64_t(frame.columns) / result.transforms;
      const std::size_t x = std::size_t(frame.plotLeft()) + std::size_t(column);
      for (int y = 1; y < FullSpectrogramSettings::kTickRows - 1; ++y)
        strip[std::size_t(y) * w + x] = xvtools::SpectrogramFrame::kMarkColour;
    }
    if (!png.writeRows(strip, FullSpectrogramSettings::kTickRows)) {
      result.error = png.error();
      return result;
    }
  }
  const xvtools::PaletteTable colours = xvtools::paletteTable(settings.palette);
  // Kept columns [first(c), first(c + 1)) make plot column c; at least one each, so a picture
  // wider than what was kept repeats them.
  const std::uint64_t columns = std::uint64_t(frame.columns);
  auto first = [&](std::uint64_t c) { return static_cast<std::uint64_t>(c * kept / columns); };
  const int bandRows = static_cast<int>(
      std::clamp<std::size_t>(kBandBytes / (kept + 4 * w), 1, std::size_t(kBandRows)));
  std::vector<std::uint8_t> band;
  std::vector<std::uint32_t> pixels(w * std::size_t(bandRows));
  for (int top = 0; top < frame.rows; top += bandRows) {
    const int count = std::min(bandRows, frame.rows - top);
    // Picture rows top..top+count-1 show bins rows-1-top down to rows-top-count.
    const int lowBin = frame.rows - top - count;
    if (!spool->readBand(lowBin, count, band)) {
      result.error = "cannot read the columns back from the scratch file";
      return result;
    }
    for (int r = 0; r < count; ++r) {
      const int y = top + r;
      const std::uint8_t* bin = band.data() + std::size_t(count - 1 - r) * kept;
      std::uint32_t* row = pixels.data() + std::size_t(r) * w;
      std::copy_n(scale.data() + std::size_t(y) * xvtools::SpectrogramFrame::kScaleWidth,
                  xvtools::SpectrogramFrame::kScaleWidth, row);
      std::uint32_t* plot = row + frame.plotLeft();
      for (std::uint64_t c = 0, from = 0; c < columns; ++c) {
        const std::uint64_t next = first(c + 1);
        const std::uint64_t end = std::max(next, from + 1);
        std::uint8_t level = 0;
        for (std::uint64_t s = from; s < end; ++s) level = std::max(level, bin[s]);
        plot[c] = colours[level];
        from = next;
      }
      if (frame.colourBar) {
        std::copy_n(bar.data() + std::size_t(y) * xvtools::SpectrogramFrame::kBarWidth,
                    xvtools::SpectrogramFrame::kBarWidth, plot + columns);
      }
    }
    if (!png.writeRows(pixels, count)) {
      result.error = png.error();
      return result;
    }
  }
  std::vector<std::uint32_t> axis(w * xvtools::SpectrogramFrame::kAxisHeight);
  frame.drawTimeAxis(axis);
  if (!png.writeRows(axis, xvtools::SpectrogramFrame::kAxisHeight) || !png.finish()) {
    result.error = png.error();
    return result;
  }
  return result;
}

}  // namespace spectrograph
