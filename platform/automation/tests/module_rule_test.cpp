// Which module makes an object: the sources in their order, one line for each registered module
// that fails, and nothing loaded that no registry names.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "automation/server.h"
#include "test_environment.h"

namespace automation {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;
using testing::TempDir;

constexpr const char* kCounter = "{5A1E0001-0001-4000-8000-000000000001}";
constexpr const char* kChart = "{F9285160-7EB9-11D0-AADB-0000C05F07C7}";
constexpr const char* kNobody = "{5A1E0001-0001-4000-8000-0000000000FF}";
constexpr const char* kProgId = "Zelk.Counter.1";

// The registries a case can fill, as the case's environment names them: ZELK_REGISTRY, the user's
// under XDG_CONFIG_HOME or under HOME, and three entries of XDG_CONFIG_DIRS (the first relative).
enum Where { Explicit, Config, Home, SystemRelative, SystemA, SystemB };

struct Entry {
  Where where;
  // A file under the case's folder: explicit.so, user.so, home.so and system.so are servers of the
  // counter, chart.so a copy of the chart control, plain.so a library without the server entries,
  // canary.so a library that must never load; gone.so does not exist. "rel:" names it by a
  // relative path.
  std::string module;
};

struct Case {
  const char* name;
  const char* create;  // a class identifier, or a program identifier
  bool explicitAbsolute;
  bool configAbsolute;
  std::vector<Entry> entries;
  const char* madeBy;  // a module of the case, "own" for the chart control beside this library,
                       // or "" when error 429 is expected
  std::vector<std::string> reported;  // one line each, naming these modules
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

const std::vector<Case>& cases() {
  static const std::vector<Case> kCases = {
      {"ExplicitRegistryComesFirst",
       kCounter,
       true,
       true,
       {{Explicit, "explicit.so"}, {Config, "user.so"}, {SystemB, "system.so"}},
       "explicit.so",
       {}},
      {"MissingModuleIsReportedAndTheNextUsed",
       kCounter,
       true,
       true,
       {{Explicit, "gone.so"}, {Config, "user.so"}},
       "user.so",
       {"gone.so"}},
      {"ModuleWithoutServerEntriesIsReported",
       kCounter,
       true,
       true,
       {{Explicit, "plain.so"}, {Config, "user.so"}},
       "user.so",
       {"plain.so"}},
      {"UserRegistryBeforeTheSystemOnes",
       kCounter,
       false,
       true,
       {{Config, "user.so"}, {SystemB, "system.so"}},
       "user.so",
       {}},
      {"RelativeConfigHomeGivesWayToHome",
       kCounter,
       false,
       false,
       {{Config, "canary.so"}, {Home, "home.so"}},
       "home.so",
       {}},
      {"RelativeExplicitRegistryIsIgnored",
       kCounter,
       false,
       true,
       {{Explicit, "canary.so"}, {Config, "user.so"}},
       "user.so",
       {}},
      {"RelativeModulePathIsIgnored",
       kCounter,
       true,
       true,
       {{Explicit, "rel:canary.so"}, {Config, "rel:canary.so"}, {SystemB, "system.so"}},
       "system.so",
       {}},
      {"SystemRegistriesInTheirOrder",
       kCounter,
       false,
       true,
       {{SystemRelative, "canary.so"}, {SystemA, "gone.so"}, {SystemB, "system.so"}},
       "system.so",
       {"gone.so"}},
      {"NoModuleProvidesTheClass",
       kCounter,
       true,
       true,
       {{Explicit, "gone.so"}, {Config, "plain.so"}},
       "",
       {"gone.so", "plain.so"}},
      {"UnknownClassAsksOnlyTheOwnModule", kNobody, true, true, {}, "", {}},
      {"ProgIdFromTheUserRegistry", kProgId, false, true, {{Config, "user.so"}}, "user.so", {}},
      {"ProgIdInARelativeRegistryIsNotFound",
       kProgId,
       false,
       false,
       {{Config, "canary.so"}},
       "",
       {}},
#ifdef ZELK_OWN_CONTROL
      {"OwnControlBeforeTheUserRegistry", kChart, false, true, {{Config, "chart.so"}}, "own", {}},
      {"ExplicitRegistryBeforeTheOwnControl",
       kChart,
       true,
       true,
       {{Explicit, "chart.so"}},
       "chart.so",
       {}},
      {"ExplicitModuleWithoutTheClassGivesWayToTheOwnControl",
       kChart,
       true,
       true,
       {{Explicit, "explicit.so"}, {Config, "chart.so"}},
       "own",
       {"explicit.so"}},
#endif
  };
  return kCases;
}

// The file of the module whose code made the object: the one its virtual table lies in.
fs::path maker(const Dispatch& object) {
  Dl_info info{};
  const void* vtable = *reinterpret_cast<const void* const*>(&object);
  if (::dladdr(vtable, &info) == 0 || info.dli_fname == nullptr) return {};
  return info.dli_fname;
}

class ModuleRule : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    ASSERT_EQ(::chdir(root_.c_str()), 0);  // where relative names would lead
    fs::create_directories(root_ / "mods");
    for (const char* server : {"explicit.so", "user.so", "home.so", "system.so"}) {
      fs::copy_file(ZELK_TEST_SERVER, root_ / "mods" / server);
    }
    fs::copy_file(ZELK_TEST_PLAIN, root_ / "mods" / "plain.so");
    fs::copy_file(ZELK_TEST_CANARY, root_ / "mods" / "canary.so");
#ifdef ZELK_OWN_CONTROL
    fs::copy_file(ZELK_OWN_CONTROL, root_ / "mods" / "chart.so");
#endif
    // A library named like the control in the current folder and in each registry's folder.
    for (const fs::path& folder : {root_, root_ / "explicit", root_ / "config" / "zelk"}) {
      fs::create_directories(folder);
      fs::copy_file(ZELK_TEST_CANARY, folder / "libKVPLOTAX.so");
    }
  }
  void TearDown() override {
    freeUnusedModules();
    ::chdir(cwd_.c_str());
    EXPECT_FALSE(fs::exists(canaryFile_)) << "an unregistered library was loaded";
  }

  fs::path registryFile(Where where) const {
    switch (where) {
      case Explicit:
        return root_ / "explicit" / "registry";
      case Config:
        return root_ / "config" / "zelk" / "registry";
      case Home:
        return root_ / "home" / ".config" / "zelk" / "registry";
      case SystemRelative:
        return root_ / "sysrel" / "zelk" / "registry";
      case SystemA:
        return root_ / "sysA" / "zelk" / "registry";
      case SystemB:
        return root_ / "sysB" / "zelk" / "registry";
    }
    return {};
  }

  fs::path moduleFile(const std::string& name) const { return root_ / "mods" / name; }

  const fs::path cwd_ = fs::current_path();
  TempDir dir_;
  const fs::path root_ = dir_.path();
  const fs::path canaryFile_ = root_ / "canary-sang";
  ScopedEnv canary_{"ZELK_TEST_CANARY_FILE", canaryFile_.string()};
};

TEST_P(ModuleRule, CreatesFromTheFirstSourceThatServesTheClass) {
  const Case& c = GetParam();
  for (const Entry& entry : c.entries) {
    const fs::path file = registryFile(entry.where);
    fs::create_directories(file.parent_path());
    const bool relative = entry.module.rfind("rel:", 0) == 0;
    const std::string module =
        relative ? "mods/" + entry.module.substr(4) : moduleFile(entry.module).string();
    std::ofstream(file, std::ios::app) << kCounter << " " << kProgId << " " << module << "\n"
                                       << kChart << " Zelk.Chart.Test " << module << "\n";
  }
  ScopedEnv explicitEnv("ZELK_REGISTRY",
                        c.explicitAbsolute ? registryFile(Explicit).string() : "explicit/registry");
  ScopedEnv config("XDG_CONFIG_HOME", c.configAbsolute ? (root_ / "config").string() : "config");
  ScopedEnv home("HOME", (root_ / "home").string());
  ScopedEnv systemDirs("XDG_CONFIG_DIRS",
                       "sysrel:" + (root_ / "sysA").string() + ":" + (root_ / "sysB").string());

  ::testing::internal::CaptureStderr();
  std::shared_ptr<Dispatch> object;
  int error = 0;
  try {
    const auto clsid = Guid::parse(c.create);
    object = clsid ? createObject(*clsid) : createObject(std::string_view(c.create));
  } catch (const AutomationError& e) {
    error = e.number();
  }
  const std::string stderrText = ::testing::internal::GetCapturedStderr();

  fs::path expected;
  if (std::string(c.madeBy) == "own") {
#ifdef ZELK_OWN_CONTROL
    expected = ZELK_OWN_CONTROL;
#endif
  } else if (*c.madeBy != '\0') {
    expected = moduleFile(c.madeBy);
  }
  if (expected.empty()) {
    EXPECT_EQ(error, kErrCannotCreateObject);
    EXPECT_EQ(object, nullptr);
  } else {
    ASSERT_NE(object, nullptr) << "error " << error << "; " << stderrText;
    EXPECT_TRUE(fs::equivalent(maker(*object), expected)) << maker(*object);
  }

  std::vector<std::string> lines;
  for (std::size_t start = 0; start < stderrText.size();) {
    const std::size_t end = stderrText.find('\n', start);
    lines.push_back(stderrText.substr(start, end - start));
    start = end == std::string::npos ? stderrText.size() : end + 1;
  }
  ASSERT_EQ(lines.size(), c.reported.size()) << stderrText;
  const std::string outcome =
      expected.empty() ? "no other module provides the class" : "using " + expected.string();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].rfind("zelk: ", 0), 0u) << lines[i];
    EXPECT_NE(lines[i].find(moduleFile(c.reported[i]).string()), std::string::npos) << lines[i];
    EXPECT_TRUE(lines[i].ends_with(outcome)) << lines[i];
  }
}

INSTANTIATE_TEST_SUITE_P(Sources, ModuleRule, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace automation
