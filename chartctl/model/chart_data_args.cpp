#include "chart_data_args.h"

namespace kvplotax {
namespace {

[[noreturn]] void refuse(const char* text) {
  throw automation::AutomationError::custom(automation::kErrInvalidPropertyValue, text);
}

}  // namespace

LockedArray::~LockedArray() {
  if (array_) array_->unlock();
}

void LockedArray::accept(const automation::Variant& argument, std::int32_t offset) {
  const automation::Variant& v = argument.deref();
  // An Empty variant carries no array pointer, like an array variant without one.
  if (v.type() == automation::VT_EMPTY) return;
  if (!v.isArray()) refuse("OCX Error: Data Should be an array!");
  std::shared_ptr<automation::SafeArray> array = v.arrayValue();
  if (!array) {
    if (v.isByRef()) refuse("OCX Error: Invalid Property Value!");
    return;
  }
  if (!array->lock()) refuse("OCX Error: Couldn't Lock SafeArray!");
  array_ = std::move(array);
  offset_ = offset;
}

const std::uint8_t* LockedArray::first() const {
  if (!array_ || available() == 0) return nullptr;
  return static_cast<const std::uint8_t*>(array_->data()) +
         static_cast<std::size_t>(offset_) * array_->elementSize();
}

std::span<const std::byte> LockedArray::bytes() const {
  if (!array_) return {};
  const auto* base = static_cast<const std::byte*>(array_->data());
  const std::size_t n = available();
  if (n == 0) return {base, 0};
  return {base + static_cast<std::size_t>(offset_) * array_->elementSize(),
          n * array_->elementSize()};
}

std::size_t LockedArray::available() const {
  if (!array_ || offset_ < 0) return 0;
  const auto count = static_cast<std::int64_t>(array_->count());
  return offset_ >= count ? 0 : static_cast<std::size_t>(count - offset_);
}

}  // namespace kvplotax
