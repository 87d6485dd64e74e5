#include <dlfcn.h>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "automation/server.h"
#include "test_environment.h"

namespace automation {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;
using testing::TempDir;

const Guid kCounterClass = *Guid::parse("{5A1E0001-0001-4000-8000-000000000001}");
const Guid kNobody = *Guid::parse("{5A1E0001-0001-4000-8000-0000000000FF}");

// True when the module is loaded in this process; looks without loading it or keeping it.
bool isLoaded(const fs::path& module) {
  void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) return false;
  ::dlclose(handle);
  return true;
}

// Calls an extra export of the loaded test server.
template <typename Fn>
Fn serverExport(const fs::path& module, const char* name) {
  void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) return nullptr;
  auto fn = reinterpret_cast<Fn>(::dlsym(handle, name));
  ::dlclose(handle);
  return fn;
}

int liveObjects(const fs::path& module = ZELK_TEST_SERVER) {
  auto fn = serverExport<int (*)()>(module, "TestServerLiveObjects");
  return fn != nullptr ? fn() : -1;
}

class CreateObject : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(isLoaded(ZELK_TEST_SERVER)); }
  void TearDown() override {
    freeUnusedModules();
    EXPECT_FALSE(isLoaded(ZELK_TEST_SERVER));
  }

  TempDir dir_;
  // A scratch registry that names the test server, as an installer would have registered it.
  ScopedEnv env_{"ZELK_REGISTRY", (dir_.path() / "registry").string()};
  ScopedEnv config_{"XDG_CONFIG_HOME", (dir_.path() / "config").string()};
  bool registered_ = Registry::add({kCounterClass, "Zelk.Counter.1", ZELK_TEST_SERVER});
};

TEST_F(CreateObject, CreatesARegisteredClassAndPassesItsErrorsOn) {
  ASSERT_TRUE(registered_);
  std::shared_ptr<Dispatch> object = createObject(kCounterClass);
  ASSERT_NE(object, nullptr);
  EXPECT_TRUE(isLoaded(ZELK_TEST_SERVER));
  object->put("Value", Variant("41.5"));
  EXPECT_EQ(object->get("Value").toI4(), 42);

  // An error raised inside the module is caught by its type here.
  std::vector<Variant> none;
  try {
    object->call("Fail", none);
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 1000);
    EXPECT_STREQ(e.what(), "Counter failed");
  }
}

TEST_F(CreateObject, ModuleIsSharedAndUnloadedAfterItsLastObject) {
  auto first = createObject(kCounterClass);
  auto second = createObject(kCounterClass);
  // One loaded copy of the module: both objects are counted by the same module instance.
  EXPECT_EQ(liveObjects(), 2);
  auto copyOfFirst = first;
  first.reset();
  EXPECT_EQ(liveObjects(), 2);
  copyOfFirst.reset();
  EXPECT_EQ(liveObjects(), 1);
  EXPECT_TRUE(isLoaded(ZELK_TEST_SERVER));
  second.reset();
  EXPECT_FALSE(isLoaded(ZELK_TEST_SERVER));
}

TEST_F(CreateObject, ModuleThatRefusesToUnloadStaysUntilItAgrees) {
  auto object = createObject(kCounterClass);
  auto pin = serverExport<void (*)(bool)>(ZELK_TEST_SERVER, "TestServerPin");
  ASSERT_NE(pin, nullptr);
  pin(true);
  object.reset();
  EXPECT_TRUE(isLoaded(ZELK_TEST_SERVER));
  freeUnusedModules();
  EXPECT_TRUE(isLoaded(ZELK_TEST_SERVER));
  EXPECT_EQ(liveObjects(), 0);

  // Still loaded, it serves the next object from the same copy.
  object = createObject(kCounterClass);
  EXPECT_EQ(liveObjects(), 1);
  pin(false);
  object.reset();
  EXPECT_FALSE(isLoaded(ZELK_TEST_SERVER));
}

TEST_F(CreateObject, ANewRegistrationReplacesTheOld) {
  const fs::path copy = dir_.path() / "registered-counter.so";
  fs::copy_file(ZELK_TEST_SERVER, copy);
  ASSERT_TRUE(Registry::add({kCounterClass, "Zelk.Counter.1", copy}));

  auto object = createObject(kCounterClass);
  EXPECT_TRUE(isLoaded(copy));
  EXPECT_FALSE(isLoaded(ZELK_TEST_SERVER));
  EXPECT_EQ(liveObjects(copy), 1);
  object.reset();
  EXPECT_FALSE(isLoaded(copy));
}

TEST_F(CreateObject, StaleRegistrationFallsBackToTheNextRegistry) {
  ASSERT_TRUE(Registry::add({kCounterClass, "Zelk.Counter.1", dir_.path() / "gone.so"}));
  {
    ScopedEnv user("ZELK_REGISTRY", "");
    ASSERT_TRUE(Registry::add({kCounterClass, "Zelk.Counter.1", ZELK_TEST_SERVER}));
  }
  ::testing::internal::CaptureStderr();
  auto object = createObject(kCounterClass);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("gone.so"), std::string::npos);
  EXPECT_TRUE(isLoaded(ZELK_TEST_SERVER));
}

TEST_F(CreateObject, UnknownClassRaises429AndLeavesNothingLoaded) {
  try {
    createObject(kNobody);
    FAIL() << "an object was created for a class nobody provides";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), kErrCannotCreateObject);
    EXPECT_STREQ(e.what(), "ActiveX component can't create object");
  }
  // Libraries that no registry names are never loaded, though they lie beside this one.
  EXPECT_FALSE(isLoaded(ZELK_TEST_PLAIN));
}

TEST_F(CreateObject, ConcurrentCreationKeepsOneModuleAndUnloadsAtTheEnd) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 50; ++i) {
        auto object = createObject(kCounterClass);
        object->put("Value", Variant(std::int32_t{i}));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  // TearDown checks that the module went away with the last object.
}

}  // namespace
}  // namespace automation
