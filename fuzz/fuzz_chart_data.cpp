// A channel's trace item built from arbitrary settings (mode, style, buffer length, pen, window,
// viewport, display offsets, data types, shapes, offsets, increments including negative ones,
// transforms) and fed arbitrary caller arrays and channel commands. Each array is a heap block
// of exactly its size, so any read outside it is reported.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "output/draw_surface.h"
#include "output/viewport_object.h"
#include "trace/pen_drawing.h"
#include "trace/trace_item.h"

namespace {

using namespace kvplotax;

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  template <typename T>
  T take() {
    T v{};
    const std::size_t n = std::min(sizeof(T), size_ - at_);
    std::memcpy(&v, data_ + at_, n);
    at_ += n;
    return v;
  }
  bool empty() const { return at_ >= size_; }
  // The next size bytes (fewer at the end) copied into a block of exactly that size.
  std::unique_ptr<std::byte[]> block(std::size_t size, std::size_t& got) {
    got = std::min(size, size_ - at_);
    auto b = std::make_unique<std::byte[]>(got);
    if (got > 0) std::memcpy(b.get(), data_ + at_, got);
    at_ += got;
    return b;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

class NoOwner : public output::SurfaceOwner {
 public:
  void invalidateSurfaceRect(const gdi::Rect&, bool) override {}
};

trace::DataDescription description(Input& in) {
  trace::DataDescription d;
  d.type = in.take<std::int8_t>() % 10;
  d.shape = in.take<std::int8_t>() % 4;
  d.offset = in.take<std::int16_t>();
  d.increment = in.take<std::int16_t>();
  if (in.take<std::uint8_t>() & 1) {
    SampleTransform t;
    t.gain = in.take<float>();
    t.offset = in.take<float>();
    t.msb = in.take<std::int8_t>();
    t.lsb = in.take<std::int8_t>();
    d.transform = t;
  }
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  NoOwner owner;
  output::DrawSurface surface = output::DrawSurface::createBitmapSurface(160, 120, &owner);
  output::ViewportObject viewport;
  viewport.setSurface(surface);
  gdi::Rect rect{in.take<std::int16_t>() % 200, in.take<std::int16_t>() % 200,
                 in.take<std::int16_t>() % 400, in.take<std::int16_t>() % 400};
  viewport.setBounds(rect);
  viewport.setVisible(true);
  const int penStyle = in.take<std::uint8_t>() % 7;
  const int penWidth = in.take<std::uint8_t>() % 5;
  trace::PenDrawing pen(penStyle, penWidth, {0x0000FF, 0x00FF00, 0, 0x808080}, 0);

  trace::TraceSetup setup;
  setup.channel = in.take<std::int16_t>();
  setup.mode = in.take<std::uint8_t>() % 3;
  setup.style = in.take<std::uint8_t>() % 4;
  setup.bufferLength = in.take<std::int16_t>() % 2048;
  setup.pen = &pen;
  setup.viewport = &viewport;
  setup.viewportRect = rect;
  setup.window =
      trace::WorldRect{in.take<float>(), in.take<float>(), in.take<float>(), in.take<float>()};
  setup.offsetX = in.take<float>();
  setup.offsetY = in.take<float>();
  setup.y = description(in);
  setup.x = description(in);
  setup.storageOn = in.take<std::uint8_t>() & 1;
  auto item = trace::createTraceItem(setup);
  if (!item) return 0;

  for (int step = 0; step < 64 && !in.empty(); ++step) {
    switch (in.take<std::uint8_t>() % 9) {
      case 0: {
        const std::int32_t n = in.take<std::int16_t>();
        const std::size_t yElement = std::size_t{1} << (in.take<std::uint8_t>() % 4);
        const std::size_t xElement = std::size_t{1} << (in.take<std::uint8_t>() % 4);
        const std::int32_t yOffset = in.take<std::int8_t>();
        const std::int32_t xOffset = in.take<std::int8_t>();
        std::size_t yBytes = 0;
        std::size_t xBytes = 0;
        const bool yNull = in.take<std::uint8_t>() % 5 == 0;
        const bool xNull = in.take<std::uint8_t>() % 5 == 0;
        auto y = in.block(in.take<std::uint16_t>() % 4096, yBytes);
        auto x = in.block(in.take<std::uint16_t>() % 4096, xBytes);
        // The caller's array from the element its offset names, as the data path hands it on.
        auto from = [](std::byte* b, std::size_t bytes, std::size_t element, std::int32_t offset) {
          const std::size_t count = bytes / element;
          if (b == nullptr || offset < 0 || static_cast<std::size_t>(offset) >= count)
            return std::span<const std::byte>{};
          return std::span<const std::byte>(b + offset * element, (count - offset) * element);
        };
        const auto ys =
            yNull ? std::span<const std::byte>{} : from(y.get(), yBytes, yElement, yOffset);
        const auto xs =
            xNull ? std::span<const std::byte>{} : from(x.get(), xBytes, xElement, xOffset);
        item->addBlock(n, ys, xs);
        break;
      }
      case 1:
        item->eraseTrace();
        break;
      case 2:
        item->setIntense(in.take<std::uint8_t>() & 1);
        break;
      case 3:
        item->forget();
        break;
      case 4:
        item->translate(in.take<float>(), in.take<float>());
        break;
      case 5:
        item->changeStyle(in.take<std::uint8_t>() % 4);
        break;
      case 6:
        viewport.flush();
        break;
      case 7: {
        output::HitInfo hit;
        item->hitTest({in.take<std::int16_t>(), in.take<std::int16_t>()}, hit);
        break;
      }
      case 8:
        viewport.applyStorage(in.take<std::uint8_t>() & 1);
        break;
    }
    item->takeChangedArea();
  }
  return 0;
}
