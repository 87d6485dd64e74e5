#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "automation/server.h"
#include "test_environment.h"

namespace automation {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;
using testing::TempDir;

const Guid kFirst = *Guid::parse("{11111111-2222-3333-4444-555555555555}");
const Guid kSecond = *Guid::parse("{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}");

std::string readFile(const fs::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class RegistryFile : public ::testing::Test {
 protected:
  TempDir dir_;
  // A folder that does not exist yet: writing the registry creates it.
  fs::path file_ = dir_.path() / "config" / "zelk" / "registry";
  ScopedEnv env_{"ZELK_REGISTRY", file_.string()};
};

TEST_F(RegistryFile, PathFollowsTheEnvironment) {
  EXPECT_EQ(Registry::path(), file_);
  {
    ScopedEnv noExplicit("ZELK_REGISTRY", "");
    ScopedEnv xdg("XDG_CONFIG_HOME", "/tmp/xdg-config");
    EXPECT_EQ(Registry::path(), fs::path("/tmp/xdg-config/zelk/registry"));
    ScopedEnv relativeXdg("XDG_CONFIG_HOME", "relative/config");  // not absolute: ignored
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(Registry::path(), fs::path("/home/someone/.config/zelk/registry"));
  }
  {
    ScopedEnv noExplicit("ZELK_REGISTRY", "");
    ScopedEnv noXdg("XDG_CONFIG_HOME", "");
    ScopedEnv home("HOME", "/home/other");
    EXPECT_EQ(Registry::path(), fs::path("/home/other/.config/zelk/registry"));
  }
}

TEST_F(RegistryFile, MissingFileIsAnEmptyRegistry) {
  EXPECT_TRUE(Registry::load().empty());
  EXPECT_FALSE(Registry::find(kFirst));
  EXPECT_FALSE(Registry::remove(kFirst));
  EXPECT_FALSE(fs::exists(file_));
}

TEST_F(RegistryFile, LoadSkipsCommentsBlankAndMalformedLines) {
  fs::create_directories(file_.parent_path());
  std::ofstream(file_)
      << "# classes\n"
         "\n"
         "   \t\n"
         "{11111111-2222-3333-4444-555555555555} Vextrin.First.1 /opt/zelk/lib/libfirst.so\r\n"
         "{not-a-guid} Bad.1 /x.so\n"
         "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE} MissingModule\n"
         "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}\n"
         "  aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee   Vextrin.Second.1   /opt/my libs/second.so  \n"
         "{12345678-1234-1234-1234-123456789012} Relative.1 modules/librel.so";
  // The entry with a relative module path names no module: it would depend on the current folder.
  const auto entries = Registry::load();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].clsid, kFirst);
  EXPECT_EQ(entries[0].progId, "Vextrin.First.1");
  EXPECT_EQ(entries[0].module, fs::path("/opt/zelk/lib/libfirst.so"));
  EXPECT_EQ(entries[1].clsid, kSecond);
  EXPECT_EQ(entries[1].module, fs::path("/opt/my libs/second.so"));
  EXPECT_FALSE(Registry::find(*Guid::parse("{12345678-1234-1234-1234-123456789012}")));

  EXPECT_EQ(Registry::findProgId("vextrin.second.1")->clsid, kSecond);
  EXPECT_FALSE(Registry::findProgId("Vextrin.Second"));
  EXPECT_EQ(Registry::find(kFirst)->progId, "Vextrin.First.1");
}

TEST_F(RegistryFile, AddReplacesRemoveDeletesAndOtherLinesSurvive) {
  fs::create_directories(file_.parent_path());
  std::ofstream(file_) << "# keep me\n";
  ASSERT_TRUE(Registry::add({kFirst, "Vextrin.First.1", "/lib/one.so"}));
  ASSERT_TRUE(Registry::add({kSecond, "Vextrin.Second.1", "/lib/two.so"}));
  ASSERT_TRUE(Registry::add({kFirst, "Vextrin.First.2", "/lib/one-again.so"}));
  // A replaced entry keeps its place.
  EXPECT_EQ(readFile(file_),
            "# keep me\n"
            "{11111111-2222-3333-4444-555555555555} Vextrin.First.2 /lib/one-again.so\n"
            "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE} Vextrin.Second.1 /lib/two.so\n");

  EXPECT_TRUE(Registry::remove(kSecond));
  EXPECT_FALSE(Registry::remove(kSecond));
  const auto entries = Registry::load();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].progId, "Vextrin.First.2");
  EXPECT_NE(readFile(file_).find("# keep me"), std::string::npos);

  // Nothing but the registry is left in its folder: the temporary file was renamed over it.
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(file_.parent_path())) ++files;
  EXPECT_EQ(files, 1u);
}

TEST_F(RegistryFile, RegistryThatIsALinkStaysALink) {
  const fs::path real = dir_.path() / "dotfiles-registry";
  std::ofstream(real) << "# mine\n";
  fs::create_directories(file_.parent_path());
  fs::create_symlink(real, file_);
  ASSERT_TRUE(Registry::add({kFirst, "Vextrin.First.1", "/lib/one.so"}));
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_EQ(readFile(real),
            "# mine\n{11111111-2222-3333-4444-555555555555} Vextrin.First.1 /lib/one.so\n");
}

TEST_F(RegistryFile, ConcurrentAddsAreNotLost) {
  std::vector<std::thread> threads;
  for (std::uint32_t t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (std::uint32_t i = 0; i < 10; ++i) {
        Guid clsid;
        clsid.data1 = t * 100 + i;
        Registry::add({clsid, "Class." + std::to_string(clsid.data1), "/lib/x.so"});
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(Registry::load().size(), 40u);
}

TEST_F(RegistryFile, AddRefusesEntriesThatWouldNotReadBack) {
  EXPECT_FALSE(Registry::add({kFirst, "", "/lib/one.so"}));
  EXPECT_FALSE(Registry::add({kFirst, "Two Words", "/lib/one.so"}));
  EXPECT_FALSE(Registry::add({kFirst, "Ok.1", ""}));
  EXPECT_FALSE(Registry::add({kFirst, "Ok.1", "relative/one.so"}));
  EXPECT_FALSE(Registry::add({kFirst, "Ok.1", "/lib/line\nbreak.so"}));
  EXPECT_FALSE(fs::exists(file_));
}

TEST_F(RegistryFile, AddReportsAFolderThatCannotBeCreated) {
  std::ofstream(dir_.path() / "blocker") << "a file where a folder should be";
  ScopedEnv blocked("ZELK_REGISTRY", (dir_.path() / "blocker" / "registry").string());
  EXPECT_FALSE(Registry::add({kFirst, "Vextrin.First.1", "/lib/one.so"}));
}

}  // namespace
}  // namespace automation
