// Property-bag files as the designer opens and saves them.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "automation/automation.h"

namespace designer {

// The class identifier in the bag's "[Class {...}]" heading; none when it has no readable one.
std::optional<automation::Guid> bagClass(std::string_view bag);

// A chart's settings take a few kilobytes: a larger file is not one, and is not read whole.
inline constexpr qint64 kMaxBagFileBytes = 4 * 1024 * 1024;

// The file's text; none, with the reason when asked for, when it cannot be read or is larger
// than kMaxBagFileBytes.
std::optional<std::string> readBagFile(const QString& path, QString* reason = nullptr);
// Replaces the file whole or leaves it as it was: false, with the reason, on failure.
bool writeBagFile(const QString& path, const std::string& bag, QString& reason);

}  // namespace designer
