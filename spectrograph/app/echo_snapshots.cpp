#include "echo_snapshots.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "host/captioned_image.h"
#include "spectrograph/echo_log.h"

namespace spectrograph::app {

namespace {

constexpr int kCaptionRows = 32;

std::string fileName(double start) {
  std::string name = isoTime(start, true);
  std::replace(name.begin(), name.end(), ':', '-');
  return name + ".png";
}

}  // namespace

EchoSnapshots::EchoSnapshots(std::string folder, const xvtools::XVSpectrogramX& display)
    : folder_(std::move(folder)), display_(display) {}

void EchoSnapshots::add(const Echo& echo) { waiting_.push_back(echo); }

void EchoSnapshots::update(double newest) {
  std::erase_if(waiting_, [&](const Echo& echo) {
    if (newest < echo.start + kAfter) return false;
    write(echo, newest);
    return true;
  });
}

void EchoSnapshots::finish(double newest) {
  for (const Echo& echo : waiting_) write(echo, newest);
  waiting_.clear();
}

void EchoSnapshots::write(const Echo& echo, double newest) {
  const int width = display_.width();
  const int height = display_.height();
  std::vector<std::uint32_t> display(std::size_t(width) * std::size_t(height));
  display_.render(display);
  // The newest column stands at the right edge, each one a hop earlier to its left.
  const double hop = static_cast<double>(display_.Hop()) / display_.SampleRate();
  const int left = display_.plotLeft();
  auto columnOf = [&](double t) {
    return std::clamp(width - 1 - static_cast<int>(std::lround((newest - t) / hop)), left,
                      width - 1);
  };
  const int first = columnOf(echo.start - kBefore);
  const int last = columnOf(echo.start + kAfter);
  const int plot = last - first + 1;
  const int w = left + plot;
  std::vector<std::uint32_t> picture(std::size_t(w) * std::size_t(height));
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = display.data() + std::size_t(y) * std::size_t(width);
    std::uint32_t* out = picture.data() + std::size_t(y) * std::size_t(w);
    std::copy_n(row, left, out);
    std::copy_n(row + first, plot, out + left);
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.1f Hz  %.1f dB", echo.peakHz, echo.peakSnrDb);
  const host::Caption captions[] = {
      {isoTime(echo.start, true), 2, height + 2, host::CaptionAlign::Left, 0x000000},
      {text, 2, height + 16, host::CaptionAlign::Left, 0x000000}};
  const host::PixelView view{picture.data(), w, height, std::size_t(w)};
  const auto path = std::filesystem::path(folder_) / fileName(echo.start);
  if (host::writeCaptionedImage(path, view, captions, {kCaptionRows})) {
    ++written_;
  } else if (error_.empty()) {
    error_ = "cannot write the snapshot " + path.string();
  }
}

}  // namespace spectrograph::app
