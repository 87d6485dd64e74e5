#include "xvtools/qt/spectrogram_widget.h"

#include <QPainter>
#include <span>

namespace xvtools::qt {

SpectrogramWidget::SpectrogramWidget(XVSpectrogramX& model, QWidget* parent)
    : QWidget(parent), model_(model), image_(model.width(), model.height(), QImage::Format_RGB32) {
  setFixedSize(model.width(), model.height());
  setAttribute(Qt::WA_OpaquePaintEvent);
  model_.onDisplayChanged([this] {
    stale_ = true;
    update();
  });
}

QSize SpectrogramWidget::sizeHint() const { return QSize(model_.width(), model_.height()); }

const QImage& SpectrogramWidget::image() {
  if (stale_) {
    // The model's 0x00BBGGRR pixels land in the image's rows, then red and blue trade places.
    auto* pixels = reinterpret_cast<std::uint32_t*>(image_.bits());
    const std::size_t count = std::size_t(image_.width()) * std::size_t(image_.height());
    model_.render(std::span<std::uint32_t>(pixels, count));
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint32_t c = pixels[i];
      pixels[i] = 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
    }
    stale_ = false;
  }
  return image_;
}

void SpectrogramWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, image());
}

// The model outlives the view: leave it no handler pointing here.
SpectrogramWidget::~SpectrogramWidget() { model_.onDisplayChanged(nullptr); }

}  // namespace xvtools::qt
