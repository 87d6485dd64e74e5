#include "qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "gdi/packed_dib.h"

namespace host::qt {

std::optional<std::vector<std::uint8_t>> bitmapFileOf(const std::vector<std::uint8_t>& dib) {
  std::optional<std::vector<std::uint8_t>> file = gdi::bitmapFileHeader(dib);
  if (file) file->insert(file->end(), dib.begin(), dib.end());
  return file;
}

bool QtSiteClipboard::empty() {
  if (!store_.empty()) return false;
  changed_ = true;
  return true;
}

bool QtSiteClipboard::setData(unsigned format, std::vector<std::uint8_t> data) {
  if (!store_.setData(format, std::move(data))) return false;
  changed_ = true;
  return true;
}

bool QtSiteClipboard::close() {
  if (!store_.close()) return false;
  if (changed_) publish();
  changed_ = false;
  return true;
}

void QtSiteClipboard::publish() {
  const auto dib = store_.data(kCfDib);
  if (!dib) return;
  const auto file = bitmapFileOf(*dib);
  if (!file) return;
  const QByteArray bytes(reinterpret_cast<const char*>(file->data()),
                         static_cast<qsizetype>(file->size()));
  auto* mime = new QMimeData;
  mime->setData("image/bmp", bytes);
  const QImage image = QImage::fromData(bytes, "BMP");
  if (!image.isNull()) mime->setImageData(image);
  QGuiApplication::clipboard()->setMimeData(mime);
}

}  // namespace host::qt
