// Registering the module as an installer does, with zelk-regsvr, into a scratch registry and
// configuration folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "automation/profile.h"
#include "automation/server.h"
#include "test_environment.h"

namespace kvplotax {
namespace {

namespace fs = std::filesystem;
using automation::Registry;
using automation::testing::ScopedEnv;
using automation::testing::TempDir;

constexpr const char* kControl = "{F9285160-7EB9-11D0-AADB-0000C05F07C7}";
constexpr const char* kHelpKey = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\Help";
const std::string kControlKey = std::string("HKEY_CLASSES_ROOT\\CLSID\\") + kControl;
const std::string kTypeLibKey =
    "HKEY_CLASSES_ROOT\\TypeLib\\{F9285163-7EB9-11D0-AADB-0000C05F07C7}\\1.0";

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class Registration : public ::testing::Test {
 protected:
  // zelk-regsvr's exit status.
  int regsvr(const fs::path& module, bool unregister = false) {
    const std::string command = std::string(ZELK_REGSVR) + (unregister ? " -u '" : " '") +
                                module.string() + "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // The module under another path, as an installer would put it somewhere.
  fs::path copyModule(const fs::path& to) {
    fs::create_directories(to.parent_path());
    fs::copy_file(KVPLOTAX_MODULE, to);
    return to;
  }
  std::optional<std::vector<std::string>> conversions() {
    return automation::readProfileSection(vbIni_, "VBX Conversions32");
  }

  TempDir dir_;
  fs::path registry_ = dir_.path() / "registry";
  fs::path vbIni_ = dir_.path() / "config" / "zelk" / "VB.INI";
  ScopedEnv registryEnv_{"ZELK_REGISTRY", registry_.string()};
  ScopedEnv configEnv_{"XDG_CONFIG_HOME", (dir_.path() / "config").string()};
};

TEST_F(Registration, RegistersEveryClassAndUnregistersThemAgain) {
  fs::create_directories(vbIni_.parent_path());
  std::ofstream(vbIni_) << "[Other]\nkeep=1\n[VBX Conversions32]\nOLD.VBX=gone\nOTHER.VBX=gone\n";
  const fs::path module = copyModule(dir_.path() / "apps" / "libKVPLOTAX.so");
  ASSERT_EQ(regsvr(module), 0);

  // The control, its persistence object and the eleven pages, all served by the module.
  const auto entries = Registry::load();
  EXPECT_EQ(entries.size(), 13u);
  for (const auto& entry : entries) EXPECT_EQ(entry.module, module) << entry.progId;
  const auto control = Registry::findProgId("Vextrin.Plotrex.1");
  ASSERT_TRUE(control);
  EXPECT_EQ(control->clsid.toString(), kControl);
  EXPECT_TRUE(Registry::findProgId("Vextrin.Plotrex.PersistProp.1"));
  EXPECT_TRUE(Registry::findProgId("Vextrin.Plotrex.KvplotaxPropPage.1"));
  EXPECT_EQ(Registry::value(kControlKey, "MiscStatus"), "131473");
  EXPECT_EQ(Registry::value(kControlKey, "Insertable"), "");
  EXPECT_EQ(Registry::value(kControlKey, "TypeLib"), "{F9285163-7EB9-11D0-AADB-0000C05F07C7}");
  EXPECT_EQ(Registry::value(kTypeLibKey, "HelpFile"), "kvplotax.hlp");
  // The control's type name is the type library's description: one text for both.
  EXPECT_EQ(Registry::value(kTypeLibKey, "Description"), Registry::value(kControlKey, "Name"));
  EXPECT_EQ(
      Registry::value("HKEY_CLASSES_ROOT\\CLSID\\{C5CF7860-85E6-11D0-AAE9-0000C05F07C7}", "Name"),
      "[Vextrin-Plotrex] Persist Property");
  const std::string folder = module.parent_path().string() + "/";
  EXPECT_EQ(Registry::value(kHelpKey, "Kvplotax.hlp"), folder);
  EXPECT_EQ(Registry::value(kHelpKey, "Kvplotax.cnt"), folder);

  // The section holds the one entry; the rest of the file is as it was.
  const std::string entry = std::string("KVPLOTRT.VBX=") + kControl + "#1.0#0;" + module.string();
  EXPECT_EQ(conversions(), std::vector<std::string>{entry});
  EXPECT_EQ(automation::readProfileSection(vbIni_, "Other"), std::vector<std::string>{"keep=1"});

  // Registered pages are created by program identifier, from the registered module.
  EXPECT_EQ(automation::createObject("Vextrin.Plotrex.CPpgPen")->get("Title").toString(), "Pen");

  // Registering again changes nothing.
  const std::string before = readFile(registry_);
  ASSERT_EQ(regsvr(module), 0);
  EXPECT_EQ(readFile(registry_), before);

  ASSERT_EQ(regsvr(module, true), 0);
  EXPECT_TRUE(Registry::load().empty());
  EXPECT_THROW(automation::createObject("Vextrin.Plotrex.CPpgPen"), automation::AutomationError);
  EXPECT_FALSE(Registry::value(kControlKey, "MiscStatus"));
  EXPECT_FALSE(Registry::value(kTypeLibKey, "HelpFile"));
  EXPECT_EQ(Registry::value(kHelpKey, "Kvplotax.hlp"), folder);  // left in place
  EXPECT_EQ(conversions(), std::vector<std::string>{entry});
}

// The conversion entry carries at most 80 characters of the path, never half a character; the
// help folder is written only for the control's own file name.
TEST_F(Registration, LongPathsAreCutAndOtherFileNamesGetNoHelpFolder) {
  fs::path deep = dir_.path() / "programs";
  while (deep.string().size() < 78) deep /= "chart";
  deep /= "\xC3\xA9tude";  // é straddles the 80th byte or lies past it
  const fs::path module = copyModule(deep / "libkvplotax.SO");
  ASSERT_EQ(regsvr(module), 0);
  const auto section = conversions();
  ASSERT_TRUE(section && section->size() == 1);
  const std::string prefix = std::string("KVPLOTRT.VBX=") + kControl + "#1.0#0;";
  const std::string path = section->front().substr(prefix.size());
  EXPECT_LE(path.size(), 80u);
  EXPECT_GE(path.size(), 79u);
  EXPECT_EQ(module.string().compare(0, path.size(), path), 0);
  EXPECT_EQ(Registry::value(kHelpKey, "Kvplotax.hlp"), deep.string() + "/");

  ScopedEnv fresh("ZELK_REGISTRY", (dir_.path() / "other-registry").string());
  ASSERT_EQ(regsvr(copyModule(dir_.path() / "other" / "libChart.so")), 0);
  EXPECT_TRUE(Registry::find(*automation::Guid::parse(kControl)));
  EXPECT_FALSE(Registry::value(kHelpKey, "Kvplotax.hlp"));
  EXPECT_FALSE(Registry::value(kHelpKey, "Kvplotax.cnt"));
}

TEST_F(Registration, BrokenRegistriesFailAndKeepTheirFile) {
  // A registry that holds binary data, one that cannot be read, and one whose folder is a file.
  const std::string binary("{F9285160}\0\x01\x02 garbage", 20);
  std::ofstream(registry_, std::ios::binary) << binary;
  EXPECT_EQ(regsvr(KVPLOTAX_MODULE), 5);
  EXPECT_EQ(regsvr(KVPLOTAX_MODULE, true), 5);
  EXPECT_EQ(readFile(registry_), binary);
  EXPECT_FALSE(fs::exists(vbIni_));  // nothing after the failed step

  fs::remove(registry_);
  fs::create_directory(registry_);
  EXPECT_EQ(regsvr(KVPLOTAX_MODULE), 5);
  EXPECT_TRUE(fs::is_directory(registry_));

  const fs::path blocked = dir_.path() / "file";
  std::ofstream(blocked) << "not a folder";
  ScopedEnv inFile("ZELK_REGISTRY", (blocked / "registry").string());
  EXPECT_EQ(regsvr(KVPLOTAX_MODULE), 5);
  EXPECT_EQ(readFile(blocked), "not a folder");
  // Only the files the test made: no scratch file was left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace kvplotax
