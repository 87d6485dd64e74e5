#include "automation/automation.h"

namespace automation {
namespace {

DispId requireId(const Dispatch& object, std::string_view name) {
  const DispId id = object.idOfName(name);
  if (id == kDispIdUnknown) throw AutomationError::standard(kErrNotSupported);
  return id;
}

}  // namespace

Dispatch::~Dispatch() = default;

Variant Dispatch::get(std::string_view name) { return get(requireId(*this, name)); }

void Dispatch::put(std::string_view name, const Variant& value) {
  put(requireId(*this, name), value);
}

Variant Dispatch::call(std::string_view name, std::span<Variant> args) {
  return call(requireId(*this, name), args);
}

}  // namespace automation
