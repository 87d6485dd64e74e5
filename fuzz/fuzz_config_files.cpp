// Arbitrary bytes as the registry file and as an initialisation file: reading never fails hard,
// and rewriting keeps what it should.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "automation/profile.h"
#include "automation/server.h"
#include "fuzz_scratch_folder.h"
#include "ocx/page_field.h"

namespace {

namespace fs = std::filesystem;

const fs::path& folder() {
  [[maybe_unused]] static const int registrySet =
      ::setenv("ZELK_REGISTRY", (fuzzScratchFolder() / "registry").c_str(), 1);
  return fuzzScratchFolder();
}

void writeFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const fs::path registry = folder() / "registry";
  writeFile(registry, bytes);
  automation::Registry::load();
  automation::Registry::value("HKEY_CLASSES_ROOT\\CLSID", "Name");
  const bool written = automation::RegistryEdit().setValue("Fuzz\\Key", "Name", "value").commit();
  // A rewrite either lands with the value or leaves the file exactly as it was.
  if (written && automation::Registry::value("fuzz\\key", "NAME") != "value") std::abort();
  if (!written && readFile(registry) != bytes) std::abort();

  const fs::path ini = folder() / "VB.INI";
  writeFile(ini, bytes);
  const std::vector<std::string> entries = {"KVPLOTRT.VBX=x"};
  if (automation::writeProfileSection(ini, "VBX Conversions32", entries) &&
      automation::readProfileSection(ini, "vbx conversions32") != entries) {
    std::abort();
  }

  // A colour the page accepts shows as text that reads back as the same colour.
  if (const auto color = ocx::parseColorText(bytes)) {
    if (ocx::parseColorText(ocx::colorText(*color)) != color) std::abort();
  }
  return 0;
}
