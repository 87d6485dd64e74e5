#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "automation/profile.h"
#include "automation/server.h"
#include "test_environment.h"

namespace automation {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;
using testing::TempDir;

const Guid kFirst = *Guid::parse("{11111111-2222-3333-4444-555555555555}");

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class RegistryValues : public ::testing::Test {
 protected:
  TempDir dir_;
  fs::path file_ = dir_.path() / "registry";
  ScopedEnv env_{"ZELK_REGISTRY", file_.string()};
};

TEST_F(RegistryValues, ValuesAreReplacedFoundWithoutCaseAndRemovedWithTheirSubkeys) {
  ASSERT_TRUE(RegistryEdit()
                  .setValue("Root\\App", "Path", "/opt/app/")
                  .setValue("Root\\App\\Sub", "Mode", "a = b")
                  .setValue("Root\\Application", "Path", "/elsewhere")
                  .addClass({kFirst, "Vextrin.First.1", "/lib/one.so"})
                  .commit());
  ASSERT_TRUE(RegistryEdit().setValue("root\\app", "PATH", "/opt/new/").commit());
  EXPECT_EQ(Registry::value("ROOT\\APP", "path"), "/opt/new/");
  EXPECT_EQ(Registry::value("Root\\App\\Sub", "Mode"), "a = b");  // the value is the whole rest
  EXPECT_TRUE(Registry::find(kFirst));

  ASSERT_TRUE(RegistryEdit().removeKey("Root\\App").commit());
  EXPECT_FALSE(Registry::value("Root\\App", "Path"));
  EXPECT_FALSE(Registry::value("Root\\App\\Sub", "Mode"));
  EXPECT_EQ(Registry::value("Root\\Application", "Path"), "/elsewhere");  // not below Root\App
  EXPECT_TRUE(Registry::find(kFirst));
}

TEST_F(RegistryValues, ABatchWithABadChangeWritesNothing) {
  ASSERT_TRUE(RegistryEdit().setValue("K", "Name", "old").commit());
  const std::string before = readFile(file_);
  EXPECT_FALSE(
      RegistryEdit().setValue("K", "Name", "new").setValue("K", "Bad", "two\nlines").commit());
  EXPECT_FALSE(RegistryEdit()
                   .setValue("K", "Name", "new")
                   .addClass({kFirst, "Has space", "/x.so"})
                   .commit());
  EXPECT_FALSE(RegistryEdit().setValue("K]", "Name", "new").commit());
  EXPECT_EQ(readFile(file_), before);
}

TEST(ProfileSection, ReplacesOneSectionWholeAndKeepsTheOthers) {
  TempDir dir;
  const fs::path file = dir.path() / "sub" / "VB.INI";
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "; comment\n[A]\nx=1\n[Target]\nold=1\n\n[B]\ny=2\n[target]\nold=2\n";
  const std::vector<std::string> entries = {"new=3"};
  ASSERT_TRUE(writeProfileSection(file, "Target", entries));
  EXPECT_EQ(readFile(file), "; comment\n[A]\nx=1\n[Target]\nnew=3\n[B]\ny=2\n");
  EXPECT_EQ(readProfileSection(file, "target"), entries);
  EXPECT_FALSE(readProfileSection(file, "Missing"));
  ASSERT_TRUE(writeProfileSection(file, "Added", entries));
  EXPECT_EQ(readProfileSection(file, "Added"), entries);
  EXPECT_EQ(readProfileSection(file, "B"), std::vector<std::string>{"y=2"});
  EXPECT_FALSE(writeProfileSection(file, "Bad", std::vector<std::string>{"a\nb"}));
}

}  // namespace
}  // namespace automation
