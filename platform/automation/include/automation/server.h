// In-process servers: modules that create automation objects by class identifier.
//
// A server module is a shared library exporting, with C linkage:
//   std::int32_t DllGetClassObject(const automation::Guid* clsid,
//                                  automation::ClassFactory** factory);
//       S_OK (0) and a factory owned by the module, or kClassNotAvailable.
//   std::int32_t DllCanUnloadNow();  S_OK (0) when no object of the module is alive, else 1.
// Optional: DllRegisterServer / DllUnregisterServer (std::int32_t(void)).
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/automation.h"

namespace automation {

constexpr std::int32_t kSOk = 0;
constexpr std::int32_t kSFalse = 1;
constexpr std::int32_t kClassNotAvailable = static_cast<std::int32_t>(0x80040111);

class ClassFactory {
 public:
  virtual ~ClassFactory();
  virtual std::shared_ptr<Dispatch> createInstance() = 0;
};

// Creates an object of the class. Looks the class up in the registry file first; when it is not
// registered, tries the modules beside the automation library and in the build's library
// directory. The module stays loaded while any object it made is alive and is unloaded when it
// says it can be. Raises error 429 when no module provides the class.
std::shared_ptr<Dispatch> createObject(const Guid& clsid);
// The same for the class registered under a program identifier; error 429 when none is.
std::shared_ptr<Dispatch> createObject(std::string_view progId);

// Asks every loaded server module that no longer has objects here whether it can be unloaded
// now, and unloads those that agree (a module may refuse while objects of its own are alive).
void freeUnusedModules();

struct RegistryEntry {
  Guid clsid;
  std::string progId;
  std::filesystem::path module;
};

// The registry file: one line per class, "{CLSID} ProgID /path/to/module.so".
// Its path is $ZELK_REGISTRY, else $XDG_CONFIG_HOME/zelk/registry, else ~/.config/zelk/registry.
class Registry {
 public:
  static std::filesystem::path path();
  static std::vector<RegistryEntry> load();
  static std::optional<RegistryEntry> find(const Guid& clsid);
  static std::optional<RegistryEntry> findProgId(std::string_view progId);
  static bool add(const RegistryEntry& entry);  // replaces an entry with the same clsid
  static bool remove(const Guid& clsid);

  // Named string values under keys, one line each: "[Key\\Path] Name=Value". Key paths compare
  // without regard to case, as do names.
  static std::optional<std::string> value(std::string_view key, std::string_view name);
};

// A batch of changes to the registry file that lands whole or not at all. The file is read once
// and written once, beside the old one and renamed over it; a file that cannot be read, holds
// binary data or cannot be written is left as it was and commit() fails.
class RegistryEdit {
 public:
  RegistryEdit& addClass(RegistryEntry entry);  // replaces an entry with the same clsid
  RegistryEdit& removeClass(const Guid& clsid);
  RegistryEdit& setValue(std::string key, std::string name, std::string value);
  RegistryEdit& removeKey(std::string key);  // its values and those of every key below it
  bool commit();

 private:
  struct Change {
    enum Kind { AddClass, RemoveClass, SetValue, RemoveKey } kind;
    RegistryEntry entry;
    std::string key, name, value;
  };
  std::vector<Change> changes_;
};

}  // namespace automation
