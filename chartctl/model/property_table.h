// The dispatch table: every property and method with its DISPID and handlers.
#pragma once

#include <span>
#include <string_view>

#include "automation/automation.h"

namespace kvplotax {

class CKvplotaxCtrl;

struct PropertyEntry {
  std::string_view name;
  automation::DispId id;
  // Null get: write-only; null put: read-only; call set only for methods.
  automation::Variant (*get)(CKvplotaxCtrl&);
  void (*put)(CKvplotaxCtrl&, const automation::Variant&);
  automation::Variant (*call)(CKvplotaxCtrl&, std::span<automation::Variant>);
};

std::span<const PropertyEntry> propertyTable();
const PropertyEntry* findProperty(automation::DispId id);
// Case-insensitive; kDispIdUnknown when the name is not in the table.
automation::DispId propertyIdOfName(std::string_view name);

}  // namespace kvplotax
