// Drives the chart control's dispatch interface with arbitrary sequences of property writes,
// reads, resizes, paints and data calls. Only automation errors may come out of it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "automation/automation.h"
#include "dispids.h"
#include "gdi/device_context.h"
#include "kvplotax_ctrl.h"
#include "property_table.h"

namespace {

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool done() const { return pos_ >= size_; }
  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::int16_t i16() { return static_cast<std::int16_t>(byte() | (byte() << 8)); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

automation::Variant valueFrom(Reader& in) {
  switch (in.byte() % 4) {
    case 0:
      return automation::Variant(in.i16());
    case 1:
      return automation::Variant(static_cast<float>(in.i16()) / 8.0f);
    case 2:
      return automation::Variant(std::int32_t{in.i16()} * 3);
    default:
      return automation::Variant(in.byte() % 2 == 0 ? "Volts" : "");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  kvplotax::CKvplotaxCtrl chart;
  const auto table = kvplotax::propertyTable();
  gdi::DeviceContext dc;
  auto samples = automation::SafeArray::create(automation::VT_I2, 8);
  for (int step = 0; step < 256 && !in.done(); ++step) {
    const std::uint8_t op = in.byte();
    const kvplotax::PropertyEntry& entry = table[in.byte() % table.size()];
    try {
      switch (op % 6) {
        case 0:
        case 1:
          chart.put(entry.id, valueFrom(in));
          break;
        case 2:
          chart.get(entry.id);
          break;
        case 3:
          chart.onResize(in.byte() * 2, in.byte() * 2);
          break;
        case 4: {
          const gdi::Rect bounds{0, 0, in.byte() * 2, in.byte() * 2};
          chart.onPaint(dc, bounds, {});
          break;
        }
        default: {
          std::vector<automation::Variant> args{
              automation::Variant(in.i16()),
              automation::Variant(std::int32_t{in.i16()}),
              automation::Variant::array(automation::VT_I2, samples),
              automation::Variant(std::int32_t{in.i16()}),
              automation::Variant::array(automation::VT_I2, in.byte() % 2 ? samples : nullptr),
              automation::Variant(std::int32_t{in.i16()})};
          chart.call(kvplotax::dispid::ChartData, args);
          break;
        }
      }
    } catch (const automation::AutomationError&) {
    }
    if (samples->locks() != 0) __builtin_trap();
  }
  return 0;
}
