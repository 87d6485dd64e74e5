#include "wave_tool_binding.h"

#include <dlfcn.h>

namespace recorder {

bool WaveToolBinding::bind() {
  if (tried_) return parse_ != nullptr && copy_ != nullptr;
  tried_ = true;
  // Never closed: the functions stay bound for the life of the process.
  void* library = dlopen("libXVAXTool.so", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* why = dlerror();
    error_ = why != nullptr ? why : "libXVAXTool.so cannot be loaded";
    return false;
  }
  parse_ = reinterpret_cast<ParseWaveHeaderFn>(dlsym(library, "ParseWaveHeader"));
  copy_ = reinterpret_cast<CopyWaveHeaderFn>(dlsym(library, "CopyWaveHeader"));
  if (parse_ == nullptr || copy_ == nullptr) {
    error_ = "libXVAXTool.so lacks ParseWaveHeader or CopyWaveHeader";
    parse_ = nullptr;
    copy_ = nullptr;
    return false;
  }
  return true;
}

}  // namespace recorder
