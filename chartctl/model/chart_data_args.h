// Acceptance of the caller's arrays handed to ChartData: which array, locked, from which element.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "automation/automation.h"

namespace kvplotax {

// A caller's array locked for the length of one delivery; unlocks on destruction.
class LockedArray {
 public:
  LockedArray() = default;
  ~LockedArray();
  LockedArray(const LockedArray&) = delete;
  LockedArray& operator=(const LockedArray&) = delete;

  // Applies the acceptance rules to one argument: an Empty variant, or an array variant whose
  // array is null, gives no data; anything that is not an array, a by-reference array naming no
  // array, or an array that cannot be locked raises error 380 with the reason.
  void accept(const automation::Variant& argument, std::int32_t offset);

  bool present() const { return array_ != nullptr; }
  // The element the offset names, or null when it lies outside the array.
  const std::uint8_t* first() const;
  // Elements from the first one to the end of the array (0 outside it).
  std::size_t available() const;
  std::size_t elementSize() const { return array_ ? array_->elementSize() : 0; }
  // The bytes from the first element on: no data at all when no array was given, an empty
  // span over the array when the offset lies outside it.
  std::span<const std::byte> bytes() const;

 private:
  std::shared_ptr<automation::SafeArray> array_;
  std::int64_t offset_ = 0;
};

}  // namespace kvplotax
