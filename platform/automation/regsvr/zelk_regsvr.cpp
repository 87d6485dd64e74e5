// zelk-regsvr [--system] [-u] MODULE: calls a server module's registration entry, as installers do.
#include <dlfcn.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "config_folders.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitLoad = 3;
constexpr int kExitNoEntry = 4;
constexpr int kExitFailed = 5;

int usage(std::FILE* out, int code) {
  std::fputs(
      "Usage: zelk-regsvr [--system] [-u] MODULE\n"
      "Registers an in-process server module (its classes, type library and other entries)\n"
      "in the registry named by ZELK_REGISTRY when that is an absolute path, else in the\n"
      "user's $XDG_CONFIG_HOME/zelk/registry (or ~/.config/zelk/registry).\n"
      "  -u         unregister instead\n"
      "  --system   use the system-wide registry, /etc/xdg/zelk/registry, that every user's\n"
      "             programs read (for a package's maintainer scripts)\n"
      "  --help     show this text\n"
      "  --version  show the version\n",
      out);
  return code;
}

// Every registration entry of the module, the development environment's initialisation file
// included, then goes to the system-wide folder that every user's programs read after their own,
// readable by all.
void useSystemRegistry() {
  const std::string home = automation::detail::kSystemConfigHome;
  ::setenv("ZELK_REGISTRY", (home + "/zelk/registry").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
  ::umask(022);
}

}  // namespace

int main(int argc, char** argv) {
  bool unregister = false;
  bool system = false;
  const char* module = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-u") == 0) {
      unregister = true;
    } else if (std::strcmp(argv[i], "--system") == 0) {
      system = true;
    } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      return usage(stdout, 0);
    } else if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("zelk-regsvr %s\n", ZELK_VERSION);
      return 0;
    } else if (argv[i][0] == '-' || module != nullptr) {
      return usage(stderr, kExitUsage);
    } else {
      module = argv[i];
    }
  }
  if (module == nullptr) return usage(stderr, kExitUsage);
  if (system) useSystemRegistry();

  // The module registers the path it was loaded from, so it is loaded by its full path: a bare
  // file name would otherwise be looked for on the library path instead of here.
  std::error_code ec;
  std::string path = module;
  if (std::filesystem::exists(path, ec)) path = std::filesystem::canonical(path, ec).string();
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    std::fprintf(stderr, "zelk-regsvr: cannot load %s: %s\n", module, ::dlerror());
    return kExitLoad;
  }
  const char* entryName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  auto entry = reinterpret_cast<std::int32_t (*)()>(::dlsym(handle, entryName));
  if (entry == nullptr) {
    std::fprintf(stderr, "zelk-regsvr: %s has no entry %s\n", path.c_str(), entryName);
    ::dlclose(handle);
    return kExitNoEntry;
  }
  const std::int32_t result = entry();
  ::dlclose(handle);
  if (result != 0) {
    std::fprintf(stderr, "zelk-regsvr: %s in %s failed with code 0x%08X\n", entryName, path.c_str(),
                 static_cast<std::uint32_t>(result));
    return kExitFailed;
  }
  std::printf("%s in %s succeeded.\n", entryName, path.c_str());
  return 0;
}
