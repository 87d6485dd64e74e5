// Self-registration of the module: the type library, the classes, the development environment's
// conversion entry for projects of the 16-bit predecessor, and the help files' folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace kvplotax {

constexpr std::int32_t kTypeLibRegistrationFailed = static_cast<std::int32_t>(0x80040200);
constexpr std::int32_t kClassRegistrationFailed = static_cast<std::int32_t>(0x80040201);

// Registers the module at this path; 0, or the code of the first step that failed. The
// conversion entry and the help values are written when they can be, without failing.
std::int32_t registerModule(const std::filesystem::path& module);
// Removes the type library and the classes; the conversion entry and the help values stay.
std::int32_t unregisterModule();

// The "VBX Conversions32" entry naming this module, its path cut to 80 characters.
std::string vbxConversionEntry(const std::filesystem::path& module);
// The folder registered for the help files: the module's own, with a trailing slash, when its
// file is the control's library; nullopt for a module file of another name.
std::optional<std::string> helpFolder(const std::filesystem::path& module);

}  // namespace kvplotax
