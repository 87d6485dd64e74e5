// The module's C entry points: class objects, unloading and self-registration.
#include <dlfcn.h>

#include <cstdint>
#include <filesystem>
#include <memory>

#include "automation/server.h"
#include "identity.h"
#include "kvplotax_ctrl.h"
#include "page_classes.h"
#include "persist_prop.h"
#include "registration.h"

namespace {

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
  if (automation::ClassFactory* page = kvplotax::pages::pageFactory(*clsid)) {
    *factory = page;
    return automation::kSOk;
  }
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
  const bool unused =
      kvplotax::CKvplotaxCtrl::liveCount() == 0 && kvplotax::pages::livePages() == 0;
  return unused ? automation::kSOk : automation::kSFalse;
}

std::int32_t DllRegisterServer() { return kvplotax::registerModule(modulePath()); }

std::int32_t DllUnregisterServer() { return kvplotax::unregisterModule(); }
}
