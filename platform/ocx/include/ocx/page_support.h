// The control's side of its property pages: which numbered objects of a kind exist, for the
// selector combos, and the selectors themselves.
#pragma once

#include <cstdint>

#include "automation/automation.h"

namespace ocx {

constexpr std::int32_t kEInvalidArg = static_cast<std::int32_t>(0x80070057);
constexpr std::int32_t kEUnexpected = static_cast<std::int32_t>(0x8000FFFF);

class PageSupport {
 public:
  // The interface's identifier, for the registry and for callers that ask by it.
  static const automation::Guid& iid();

  virtual ~PageSupport();

  // The number of existing objects of the kind whose selector has this DISPID. With a buffer,
  // *count says on entry how many numbers it holds; at most that many are written, in ascending
  // order, and *count then says how many objects there are.
  virtual std::int32_t List(automation::DispId selector, std::int32_t* buffer,
                            std::int32_t* count) = 0;
  // Writes a selector property. Another DISPID gives kEInvalidArg; a value the control refuses
  // raises its error, as writing the property does.
  virtual std::int32_t Set(automation::DispId selector, std::int32_t value) = 0;
  virtual std::int32_t Get(automation::DispId selector, std::int32_t* value) = 0;
};

// The object's page support, or null when it has none.
PageSupport* pageSupportOf(automation::Dispatch* object);

}  // namespace ocx
