// The property pages' view of the numbered objects: which exist, and the selectors.
#include <algorithm>
#include <vector>

#include "automation/server.h"
#include "dispids.h"
#include "kvplotax_ctrl.h"

namespace kvplotax {
namespace {

template <class Map>
std::vector<std::int32_t> numbersOf(const Map& map) {
  std::vector<std::int32_t> numbers;
  numbers.reserve(map.size());
  for (const auto& entry : map) numbers.push_back(entry.first);
  return numbers;
}

bool isSelector(automation::DispId id) {
  switch (id) {
    case dispid::Pen_Select:
    case dispid::Viewport_Select:
    case dispid::ChnXform_Select:
    case dispid::Wnd_Select:
    case dispid::ChnData_Dimension:
    case dispid::Chn_Select:
    case dispid::Scale_Select:
    case dispid::ScaleDimension:
      return true;
    default:
      return false;
  }
}

}  // namespace

// The hash maps keep no useful order, so the numbers come sorted: a selector combo lists them
// as a person looks for them.
std::int32_t CKvplotaxCtrl::List(automation::DispId selector, std::int32_t* buffer,
                                 std::int32_t* count) {
  if (count == nullptr) return ocx::kEInvalidArg;
  CSettingMaps& maps = state_.maps();
  std::vector<std::int32_t> numbers;
  switch (selector) {
    case dispid::Pen_Select:
      numbers = numbersOf(maps.pens);
      break;
    case dispid::Viewport_Select:
      numbers = numbersOf(maps.viewports);
      break;
    case dispid::ChnXform_Select:
      numbers = numbersOf(maps.xforms);
      break;
    case dispid::Wnd_Select:
      numbers = numbersOf(maps.windows);
      break;
    case dispid::Chn_Select:
      numbers = numbersOf(maps.channels);
      break;
    case dispid::Scale_Select:
      numbers = numbersOf(maps.scales);
      break;
    default:
      return ocx::kEInvalidArg;
  }
  std::sort(numbers.begin(), numbers.end());
  if (buffer != nullptr) {
    const std::size_t room = static_cast<std::size_t>(std::max(*count, std::int32_t{0}));
    std::copy_n(numbers.begin(), std::min(room, numbers.size()), buffer);
  }
  *count = static_cast<std::int32_t>(numbers.size());
  return automation::kSOk;
}

std::int32_t CKvplotaxCtrl::Set(automation::DispId selector, std::int32_t value) {
  if (!isSelector(selector)) return ocx::kEInvalidArg;
  put(selector, automation::Variant(value));
  return automation::kSOk;
}

std::int32_t CKvplotaxCtrl::Get(automation::DispId selector, std::int32_t* value) {
  if (!isSelector(selector) || value == nullptr) return ocx::kEInvalidArg;
  *value = get(selector).toI4();
  return automation::kSOk;
}

}  // namespace kvplotax
