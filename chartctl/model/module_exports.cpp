// The module's C entry points: class objects, unloading and self-registration.
#include <dlfcn.h>

#include <cstdint>
#include <filesystem>
#include <memory>

#include "automation/server.h"
#include "identity.h"
#include "kvplotax_ctrl.h"
#include "persist_prop.h"

namespace {

constexpr std::int32_t kClassRegistrationFailed = static_cast<std::int32_t>(0x80040201);

const automation::Guid& controlClsid() {
  static const automation::Guid clsid = *automation::Guid::parse(kvplotax::kClsidText);
  return clsid;
}

class ControlFactory final : public automation::ClassFactory {
 public:
  std::shared_ptr<automation::Dispatch> createInstance() override {
    return std::make_shared<kvplotax::CKvplotaxCtrl>();
  }
};

class PersistPropFactory final : public automation::ClassFactory {
 public:
  std::shared_ptr<automation::Dispatch> createInstance() override {
    return std::make_shared<kvplotax::PersistProp>();
  }
};

std::filesystem::path modulePath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&modulePath), &info) == 0 || !info.dli_fname) return {};
  std::error_code ec;
  std::filesystem::path path = std::filesystem::absolute(info.dli_fname, ec);
  return ec ? std::filesystem::path(info.dli_fname) : path;
}

}  // namespace

extern "C" {

std::int32_t DllGetClassObject(const automation::Guid* clsid, automation::ClassFactory** factory) {
  if (factory) *factory = nullptr;
  if (!clsid || !factory) return automation::kClassNotAvailable;
  if (*clsid == kvplotax::PersistProp::classId()) {
    static PersistPropFactory persistProp;
    *factory = &persistProp;
    return automation::kSOk;
  }
  if (!(*clsid == controlClsid())) return automation::kClassNotAvailable;
  static ControlFactory instance;
  *factory = &instance;
  return automation::kSOk;
}

std::int32_t DllCanUnloadNow() {
  return kvplotax::CKvplotaxCtrl::liveCount() == 0 ? automation::kSOk : automation::kSFalse;
}

std::int32_t DllRegisterServer() {
  const std::filesystem::path path = modulePath();
  if (path.empty()) return kClassRegistrationFailed;
  const automation::RegistryEntry entry{controlClsid(), std::string(kvplotax::kProgId), path};
  const automation::RegistryEntry persistProp{kvplotax::PersistProp::classId(),
                                              std::string(kvplotax::kPersistPropProgId), path};
  return automation::Registry::add(entry) && automation::Registry::add(persistProp)
             ? automation::kSOk
             : kClassRegistrationFailed;
}

std::int32_t DllUnregisterServer() {
  automation::Registry::remove(controlClsid());
  automation::Registry::remove(kvplotax::PersistProp::classId());
  return automation::Registry::find(controlClsid()) ||
                 automation::Registry::find(kvplotax::PersistProp::classId())
             ? kClassRegistrationFailed
             : automation::kSOk;
}
}
