#include "persist_prop.h"

#include "identity.h"
#include "setting_maps_stream.h"
#include "util/little_endian.h"

namespace kvplotax {

namespace {

constexpr std::uint32_t kStreamVersion = 1;

}  // namespace

const automation::Guid& PersistProp::classId() {
  static const automation::Guid clsid = *automation::Guid::parse(kPersistPropClsidText);
  return clsid;
}

std::vector<std::uint8_t> PersistProp::save() const {
  std::vector<std::uint8_t> out;
  util::appendU32(out, kStreamVersion);
  if (state_) writeSettingMaps(state_->maps(), out);
  return out;
}

void PersistProp::load(std::span<const std::uint8_t> bytes) {
  loaded_ = CSettingMaps{};
  if (bytes.size() < 4) return;
  readSettingMaps(bytes.subspan(4), loaded_);
}

automation::DispId PersistProp::idOfName(std::string_view) const {
  return automation::kDispIdUnknown;
}
automation::Variant PersistProp::get(automation::DispId) {
  throw automation::AutomationError::standard(automation::kErrNotSupported);
}
void PersistProp::put(automation::DispId, const automation::Variant&) {
  throw automation::AutomationError::standard(automation::kErrNotSupported);
}
automation::Variant PersistProp::call(automation::DispId, std::span<automation::Variant>) {
  throw automation::AutomationError::standard(automation::kErrNotSupported);
}

}  // namespace kvplotax
