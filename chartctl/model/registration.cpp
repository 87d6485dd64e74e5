#include "registration.h"

#include <strings.h>

#include <array>
#include <string_view>

#include "automation/profile.h"
#include "automation/server.h"
#include "identity.h"
#include "page_layouts.h"
#include "util/utf8.h"

namespace kvplotax {
namespace {

using automation::Guid;
using automation::RegistryEdit;
using automation::RegistryEntry;

constexpr std::string_view kClassesRoot = "HKEY_CLASSES_ROOT\\";
constexpr std::string_view kHelpKey = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\Help";
constexpr std::string_view kModuleFileName = "libKVPLOTAX.so";
constexpr std::string_view kTypeLibVersion = "1.0";
// Activate when visible, set client site first, inside-out, cannot link inside, recompose on
// resize.
constexpr std::string_view kMiscStatus = "131473";  // 0x00020191
constexpr std::size_t kMaxConversionPath = 80;
// One string names the control and describes its type library, as containers show either.
constexpr std::string_view kControlTypeName = "Kvplotax Control";

std::string key(std::string_view below, std::string_view id) {
  return std::string(kClassesRoot) + std::string(below) + "\\" + std::string(id);
}

std::string typeLibKey() {
  return key("TypeLib", kTypeLibText) + "\\" + std::string(kTypeLibVersion);
}

struct ClassIdentity {
  std::string_view clsid;
  std::string_view progId;
  std::string_view name;
  std::string_view kind;
};

// The control, its persistence object and its pages, with the names their classes carry.
std::vector<ClassIdentity> moduleClasses() {
  std::vector<ClassIdentity> classes = {
      {kClsidText, kProgId, kControlTypeName, "Control"},
      {kPersistPropClsidText, kPersistPropProgId, "[Vextrin-Plotrex] Persist Property",
       "Dispatch object"},
  };
  static const std::array<std::string_view, 11> kPageNames = {
      "Kvplotax General Property Page",
      "Kvplotax Bezel Property Page",
      "Kvplotax Channel Data Property Page",
      "Kvplotax Channel Display Property Page",
      "Kvplotax Channel Transform Property Page",
      "Kvplotax Graticule Property Page",
      "Kvplotax Label Property Page",
      "Kvplotax Pen Property Page",
      "Kvplotax Scale Property Page",
      "Kvplotax Viewport Property Page",
      "Kvplotax Window Property Page"};
  std::size_t i = 0;
  for (const ocx::PageLayout& page : pages::pageLayouts()) {
    classes.push_back({page.clsid, page.progId, kPageNames.at(i++), "Property page"});
  }
  return classes;
}

std::string folderOf(const std::filesystem::path& module) {
  std::string folder = module.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

bool registerTypeLibrary(const std::filesystem::path& module) {
  RegistryEdit edit;
  const std::string lib = typeLibKey();
  edit.setValue(lib, "Description", std::string(kControlTypeName))
      .setValue(lib, "HelpFile", "kvplotax.hlp")
      .setValue(lib, "HelpDir", folderOf(module))
      .setValue(lib, "Module", module.string());
  const std::pair<std::string_view, std::string_view> interfaces[] = {
      {kDispatchIidText, "_DKvplotax"}, {kEventsIidText, "_DKvplotaxEvents"}};
  for (const auto& [iid, name] : interfaces) {
    const std::string k = key("Interface", iid);
    edit.setValue(k, "Name", std::string(name))
        .setValue(k, "TypeLib", std::string(kTypeLibText))
        .setValue(k, "Version", std::string(kTypeLibVersion));
  }
  return edit.commit();
}

bool registerClasses(const std::filesystem::path& module) {
  RegistryEdit edit;
  for (const ClassIdentity& c : moduleClasses()) {
    const auto clsid = Guid::parse(c.clsid);
    if (!clsid) return false;
    const std::string k = key("CLSID", c.clsid);
    edit.addClass(RegistryEntry{*clsid, std::string(c.progId), module})
        .setValue(k, "Name", std::string(c.name))
        .setValue(k, "ProgID", std::string(c.progId))
        .setValue(k, "Kind", std::string(c.kind));
  }
  const std::string control = key("CLSID", kClsidText);
  edit.setValue(control, "Insertable", "")
      .setValue(control, "MiscStatus", std::string(kMiscStatus))
      .setValue(control, "ToolboxBitmap", module.string() + ",1")
      .setValue(control, "TypeLib", std::string(kTypeLibText))
      .setValue(control, "Version", std::string(kTypeLibVersion));
  return edit.commit();
}

// The entry replaces whatever the section held: it is the only conversion this module offers.
void writeConversionEntry(const std::filesystem::path& module) {
  const std::string entries[] = {vbxConversionEntry(module)};
  automation::writeProfileSection(automation::profilePath("VB.INI"), "VBX Conversions32", entries);
}

void registerHelpFolder(const std::filesystem::path& module) {
  const auto folder = helpFolder(module);
  if (!folder) return;
  RegistryEdit()
      .setValue(std::string(kHelpKey), "Kvplotax.hlp", *folder)
      .setValue(std::string(kHelpKey), "Kvplotax.cnt", *folder)
      .commit();
}

}  // namespace

std::string vbxConversionEntry(const std::filesystem::path& module) {
  std::string path = module.string();
  // Never half a character: the one that does not fit is left out whole.
  path.resize(util::utf8Prefix(path, kMaxConversionPath));
  return "KVPLOTRT.VBX=" + std::string(kClsidText) + "#1.0#0;" + path;
}

std::optional<std::string> helpFolder(const std::filesystem::path& module) {
  const std::string name = module.filename().string();
  if (name.size() != kModuleFileName.size() ||
      strncasecmp(name.c_str(), kModuleFileName.data(), name.size()) != 0) {
    return std::nullopt;
  }
  return folderOf(module);
}

std::int32_t registerModule(const std::filesystem::path& module) {
  if (module.empty() || !registerTypeLibrary(module)) return kTypeLibRegistrationFailed;
  if (!registerClasses(module)) return kClassRegistrationFailed;
  writeConversionEntry(module);
  registerHelpFolder(module);
  return automation::kSOk;
}

std::int32_t unregisterModule() {
  RegistryEdit library;
  library.removeKey(key("TypeLib", kTypeLibText))
      .removeKey(key("Interface", kDispatchIidText))
      .removeKey(key("Interface", kEventsIidText));
  if (!library.commit()) return kTypeLibRegistrationFailed;
  RegistryEdit classes;
  for (const ClassIdentity& c : moduleClasses()) {
    const auto clsid = Guid::parse(c.clsid);
    if (!clsid) return kClassRegistrationFailed;
    classes.removeClass(*clsid).removeKey(key("CLSID", c.clsid));
  }
  return classes.commit() ? automation::kSOk : kClassRegistrationFailed;
}

}  // namespace kvplotax
