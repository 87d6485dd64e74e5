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

// The file's text; none when it cannot be read.
std::optional<std::string> readBagFile(const QString& path);
// Replaces the file whole or leaves it as it was: false, with the reason, on failure.
bool writeBagFile(const QString& path, const std::string& bag, QString& reason);

}  // namespace designer
