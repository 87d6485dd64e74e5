// The module's C entries: class objects, unloading and self-registration.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "automation/server.h"
#include "chart_fixture.h"

namespace kvplotax::test {
namespace {

using GetClassObject = std::int32_t (*)(const automation::Guid*, automation::ClassFactory**);
using NoArgs = std::int32_t (*)();

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    handle_ = dlopen(KVPLOTAX_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
    getClassObject = reinterpret_cast<GetClassObject>(dlsym(handle_, "DllGetClassObject"));
    canUnloadNow = reinterpret_cast<NoArgs>(dlsym(handle_, "DllCanUnloadNow"));
    registerServer = reinterpret_cast<NoArgs>(dlsym(handle_, "DllRegisterServer"));
    unregisterServer = reinterpret_cast<NoArgs>(dlsym(handle_, "DllUnregisterServer"));
    ASSERT_TRUE(getClassObject && canUnloadNow && registerServer && unregisterServer);
  }
  void TearDown() override {
    if (handle_) dlclose(handle_);
  }

  void* handle_ = nullptr;
  GetClassObject getClassObject = nullptr;
  NoArgs canUnloadNow = nullptr;
  NoArgs registerServer = nullptr;
  NoArgs unregisterServer = nullptr;
};

TEST_F(ModuleTest, UnloadsOnlyWhenNoControlIsAlive) {
  EXPECT_EQ(canUnloadNow(), automation::kSOk);
  const automation::Guid clsid = chartClsid();
  automation::ClassFactory* factory = nullptr;
  ASSERT_EQ(getClassObject(&clsid, &factory), automation::kSOk);
  ASSERT_NE(factory, nullptr);
  auto first = factory->createInstance();
  auto second = factory->createInstance();
  EXPECT_EQ(canUnloadNow(), automation::kSFalse);
  first.reset();
  EXPECT_EQ(canUnloadNow(), automation::kSFalse);
  second.reset();
  EXPECT_EQ(canUnloadNow(), automation::kSOk);
}

TEST_F(ModuleTest, AnOpenPropertyPageKeepsTheModuleLoaded) {
  const automation::Guid pen = *automation::Guid::parse("{257711E8-89C3-11D0-AAEB-0000C05F07C7}");
  automation::ClassFactory* factory = nullptr;
  ASSERT_EQ(getClassObject(&pen, &factory), automation::kSOk);
  auto page = factory->createInstance();
  EXPECT_EQ(page->get(std::string_view("Title")).toString(), "Pen");
  EXPECT_EQ(canUnloadNow(), automation::kSFalse);
  page.reset();
  EXPECT_EQ(canUnloadNow(), automation::kSOk);
}

TEST_F(ModuleTest, OtherClassesAreNotAvailable) {
  const automation::Guid persistProp =
      *automation::Guid::parse("{C5CF7860-85E6-11D0-AAE9-0000C05F07C7}");
  automation::ClassFactory* factory = nullptr;
  ASSERT_EQ(getClassObject(&persistProp, &factory), automation::kSOk);
  EXPECT_NE(factory->createInstance(), nullptr);
  const automation::Guid other = *automation::Guid::parse("{C5CF7861-85E6-11D0-AAE9-0000C05F07C7}");
  EXPECT_EQ(getClassObject(&other, &factory), automation::kClassNotAvailable);
  EXPECT_EQ(factory, nullptr);
  EXPECT_EQ(getClassObject(nullptr, &factory), automation::kClassNotAvailable);
}

TEST_F(ModuleTest, ExportsOnlyTheModuleEntries) {
  EXPECT_EQ(dlsym(handle_, "_ZN8kvplotax13CKvplotaxCtrlC1Ev"), nullptr);
  EXPECT_EQ(dlsym(handle_, "_ZN8kvplotax11CChartStateC1Ev"), nullptr);
}

TEST_F(ModuleTest, RegistersItsClassWithProgIdAndPath) {
  // Registering also writes VB.INI in the configuration folder: the test's own, beside its
  // registry.
  const std::string config = automation::Registry::path().parent_path() / "config";
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  ASSERT_EQ(registerServer(), automation::kSOk);
  const auto entry = automation::Registry::find(chartClsid());
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->progId, "Vextrin.Plotrex.1");
  EXPECT_TRUE(std::filesystem::equivalent(entry->module, KVPLOTAX_MODULE));
  auto chart = automation::createObject(chartClsid());  // now found through the registry
  ASSERT_TRUE(chart);
  EXPECT_EQ(chart->get(std::string_view("CtlVersion")).toI4(), 101);
  chart.reset();
  EXPECT_EQ(unregisterServer(), automation::kSOk);
  EXPECT_FALSE(automation::Registry::find(chartClsid()).has_value());
  EXPECT_EQ(unregisterServer(), automation::kSOk);  // nothing left to remove
}

}  // namespace
}  // namespace kvplotax::test
