// A minimal in-process server for the loader tests: one class whose objects have a "Value"
// property, a live-object count, and a switch that makes it refuse to be unloaded.
#include <atomic>

#include "automation/server.h"

namespace {

using namespace automation;

std::atomic<int> liveObjects{0};
std::atomic<bool> pinned{false};

constexpr Guid kClassId = {
    0x5A1E0001, 0x0001, 0x4000, {0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
constexpr DispId kValueId = 1;
constexpr DispId kFailId = 2;

class Counter final : public Dispatch {
 public:
  Counter() { ++liveObjects; }
  ~Counter() override { --liveObjects; }
  Counter(const Counter&) = delete;
  Counter& operator=(const Counter&) = delete;

  DispId idOfName(std::string_view name) const override {
    if (name == "Value") return kValueId;
    if (name == "Fail") return kFailId;
    return kDispIdUnknown;
  }
  Variant get(DispId id) override {
    if (id != kValueId) throw AutomationError::standard(kErrNotSupported);
    return Variant(value_);
  }
  void put(DispId id, const Variant& value) override {
    if (id != kValueId) throw AutomationError::standard(kErrNotSupported);
    value_ = value.toI4();
  }
  Variant call(DispId id, std::span<Variant>) override {
    if (id == kFailId) throw AutomationError::custom(1000, "Counter failed");
    throw AutomationError::standard(kErrNotSupported);
  }

 private:
  std::int32_t value_ = 0;
};

class CounterFactory final : public ClassFactory {
 public:
  std::shared_ptr<Dispatch> createInstance() override { return std::make_shared<Counter>(); }
};

CounterFactory factory;

}  // namespace

extern "C" {

__attribute__((visibility("default"))) std::int32_t DllGetClassObject(
    const automation::Guid* clsid, automation::ClassFactory** out) {
  if (clsid == nullptr || out == nullptr || !(*clsid == kClassId)) {
    return automation::kClassNotAvailable;
  }
  *out = &factory;
  return automation::kSOk;
}

__attribute__((visibility("default"))) std::int32_t DllCanUnloadNow() {
  return liveObjects == 0 && !pinned ? automation::kSOk : automation::kSFalse;
}

__attribute__((visibility("default"))) int TestServerLiveObjects() { return liveObjects; }
__attribute__((visibility("default"))) void TestServerPin(bool pin) { pinned = pin; }

}  // extern "C"
