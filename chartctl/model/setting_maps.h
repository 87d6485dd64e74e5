// Stored settings of every numbered object, keyed by object number.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "records.h"
#include "scale_object.h"

namespace kvplotax {

// Ordered by number, so that saving visits the objects in one order: a loaded chart saved again
// gives the same bytes, and the selector lists show the objects in ascending order.
template <class Record>
using SettingMap = std::map<std::int16_t, Record>;

// Looks a number up that may lie outside the 16-bit key range.
template <class Record>
Record* findSetting(SettingMap<Record>& map, std::int32_t n) {
  if (n < -32768 || n > 32767) return nullptr;
  auto it = map.find(static_cast<std::int16_t>(n));
  return it == map.end() ? nullptr : &it->second;
}

struct CSettingMaps {
  SettingMap<PenSettings> pens;
  SettingMap<ViewportSettings> viewports;
  SettingMap<WindowObject> windows;
  SettingMap<XformSettings> xforms;
  SettingMap<ChannelSettings> channels;
  SettingMap<ChnDataSettings> horzData;
  SettingMap<ChnDataSettings> vertData;
  SettingMap<std::unique_ptr<ScaleObject>> scales;

  SettingMap<ChnDataSettings>& data(std::int32_t dimension) {
    return dimension == 1 ? vertData : horzData;
  }
};

}  // namespace kvplotax
