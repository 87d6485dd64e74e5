// A user's chart style text checked against what a chart holds: every line is read, whatever it
// holds, and the chart's answers may be of any type.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "apps/user_chart_style.h"

namespace {

// Answers every property with a value of the type the input's first byte chooses.
class AnyChart : public automation::Dispatch {
 public:
  explicit AnyChart(std::uint8_t kind) : kind_(kind) {}
  automation::DispId idOfName(std::string_view) const override { return 1; }
  automation::Variant get(automation::DispId) override {
    switch (kind_ % 5) {
      case 0:
        return automation::Variant(std::int32_t{0x00C0C0C0});
      case 1:
        return automation::Variant(true);
      case 2:
        return automation::Variant(8.0f);
      case 3:
        return automation::Variant(std::string("Arial"));
      default:
        return automation::Variant();
    }
  }
  void put(automation::DispId, const automation::Variant&) override {}
  automation::Variant call(automation::DispId, std::span<automation::Variant>) override {
    return {};
  }

 private:
  std::uint8_t kind_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  AnyChart chart(data[0]);
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string refused = apps::refusedStyleLine(text, chart);
  // A refused line is one of the text's own lines, never more than the text.
  if (refused.size() > text.size() + 3) __builtin_trap();
  return 0;
}
