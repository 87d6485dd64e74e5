#include "qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <cstring>

namespace host::qt {

namespace {

std::uint32_t read32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

void put32(std::uint8_t* at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;
constexpr std::uint32_t kBiBitfields = 3;

}  // namespace

std::optional<std::vector<std::uint8_t>> bitmapFileOf(const std::vector<std::uint8_t>& dib) {
  if (dib.size() < kInfoHeader) return std::nullopt;
  const std::uint32_t headerSize = read32(dib, 0);
  if (headerSize < kInfoHeader || headerSize > dib.size()) return std::nullopt;
  const unsigned bitCount = static_cast<unsigned>(dib[14]) | static_cast<unsigned>(dib[15]) << 8;
  const std::uint32_t compression = read32(dib, 16);
  const std::uint32_t used = read32(dib, 32);
  if (bitCount == 0 || bitCount > 32 || used > 256) return std::nullopt;
  std::size_t colours = used != 0 ? used : (bitCount <= 8 ? (1u << bitCount) : 0);
  std::size_t offset = kFileHeader + headerSize + colours * 4;
  if (compression == kBiBitfields && headerSize == kInfoHeader) offset += 12;
  const std::size_t total = kFileHeader + dib.size();
  if (offset > total || total > 0xFFFFFFFFu) return std::nullopt;
  std::vector<std::uint8_t> file(total);
  file[0] = 'B';
  file[1] = 'M';
  put32(&file[2], static_cast<std::uint32_t>(total));
  put32(&file[10], static_cast<std::uint32_t>(offset));
  std::memcpy(file.data() + kFileHeader, dib.data(), dib.size());
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
