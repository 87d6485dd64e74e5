// Drives ChartData and the channel commands through the chart control's dispatch interface:
// arbitrary channel set-ups (modes, styles, buffer lengths, offsets, data types, shapes,
// offsets and increments including negative ones, transforms, windows, storage), channel
// commands and caller arrays of every element type and size, given whole, empty, by reference
// or not as arrays. Only automation errors may come out; no array may stay locked.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "automation/automation.h"
#include "gdi/bitmap.h"
#include "gdi/device_context.h"
#include "kvplotax_ctrl.h"

namespace {

using automation::Variant;

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool done() const { return pos_ >= size_; }
  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::int16_t i16() { return static_cast<std::int16_t>(byte() | (byte() << 8)); }
  float f32() {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(byte()) << (8 * i);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  void fill(void* out, std::size_t bytes) {
    auto* p = static_cast<std::uint8_t*>(out);
    for (std::size_t i = 0; i < bytes; ++i) p[i] = byte();
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

constexpr automation::VarType kElementTypes[] = {
    automation::VT_UI1, automation::VT_I1,  automation::VT_I2, automation::VT_UI2,
    automation::VT_I4,  automation::VT_UI4, automation::VT_R4, automation::VT_R8};

constexpr std::string_view kChannelSettings[] = {
    "Chn_Select",      "ChnDspMode",        "ChnDspStyle",    "ChnDspBufLen",   "ChnDspOffsetX",
    "ChnDspOffsetY",   "ChnDspPen",         "ChnDspWindow",   "ChnDspViewport", "ChnData_Dimension",
    "ChnDataType",     "ChnDataShape",      "ChnDataOffset",  "ChnDataIncr",    "ChnDataXform",
    "ChnXform_Select", "ChnXformGain",      "ChnXformOffset", "ChnXformMSB",    "ChnXformLSB",
    "Wnd_Select",      "WndXmin",           "WndYmin",        "WndWidth",       "WndHeight",
    "Viewport_Select", "ViewportStorageOn", "Pen_Select",     "PenWidth",       "PenStyle",
    "FramesPerSec",    "Viewports"};

Variant settingValue(Reader& in) {
  switch (in.byte() % 4) {
    case 0:
      return Variant(static_cast<std::int16_t>(in.byte() % 12 - 2));  // small, mostly valid
    case 1:
      return Variant(in.i16());
    case 2:
      return Variant(in.f32());
    default:
      return Variant(static_cast<std::int32_t>(in.i16()) * 7);
  }
}

// An argument for yData or xData, with the arrays it made kept for the lock check.
Variant arrayArgument(Reader& in, std::vector<std::shared_ptr<automation::SafeArray>>& made,
                      std::shared_ptr<automation::SafeArray>& byRefSlot) {
  const std::uint8_t kind = in.byte() % 8;
  if (kind == 0) return Variant::array(automation::VT_R4, nullptr);  // no array
  if (kind == 1) return Variant(in.f32());                           // not an array
  const automation::VarType type = kElementTypes[in.byte() % std::size(kElementTypes)];
  const std::size_t count = in.byte() % 64 + (in.byte() % 4 == 0 ? in.byte() * 4u : 0u);
  auto array = automation::SafeArray::create(type, count);
  if (!array) return Variant::array(type, nullptr);
  in.fill(array->data(), array->elementSize() * std::min<std::size_t>(count, 64));
  made.push_back(array);
  if (kind == 2) {
    byRefSlot = in.byte() % 3 == 0 ? nullptr : array;
    return Variant::arrayRef(type, &byRefSlot);
  }
  return Variant::array(type, array);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  kvplotax::CKvplotaxCtrl chart;
  chart.initNew();
  chart.onWindowCreated(1);
  const int width = 120 + in.byte();
  const int height = 80 + in.byte();
  chart.onResize(width, height);
  gdi::Bitmap screen(width, height);
  gdi::DeviceContext dc(&screen);
  const gdi::Rect bounds{0, 0, width, height};
  chart.onPaint(dc, bounds, bounds);
  std::vector<std::shared_ptr<automation::SafeArray>> made;
  std::shared_ptr<automation::SafeArray> yRef, xRef;
  for (int step = 0; step < 96 && !in.done(); ++step) {
    try {
      switch (in.byte() % 6) {
        case 0:
        case 1: {
          const std::string_view name = kChannelSettings[in.byte() % std::size(kChannelSettings)];
          chart.put(name, settingValue(in));
          break;
        }
        case 2:
          chart.put("ChnDspAction", Variant(static_cast<std::int16_t>(in.byte() % 11)));
          break;
        case 3:
        case 4: {
          std::vector<Variant> args(6);
          args[0] = Variant(static_cast<std::int16_t>(in.byte() % 4));
          args[1] = Variant(static_cast<std::int32_t>(in.i16()));
          args[2] = arrayArgument(in, made, yRef);
          args[3] = Variant(static_cast<std::int32_t>(in.i16() % 300));
          args[4] = arrayArgument(in, made, xRef);
          args[5] = Variant(static_cast<std::int32_t>(in.i16() % 300));
          chart.call("ChartData", args);
          break;
        }
        default:
          chart.onPaint(dc, bounds, bounds);
          break;
      }
    } catch (const automation::AutomationError&) {
    }
    for (const auto& array : made)
      if (array->locks() != 0) std::abort();  // a call left a caller's array locked
    made.clear();
  }
  return 0;
}
