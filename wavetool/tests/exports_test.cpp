#include <dlfcn.h>
#include <gtest/gtest.h>

#include "xvaxtool.h"

TEST(Exports, FourNamesBindAtRunTime) {
  void* lib = dlopen(XVAXTOOL_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << dlerror();
  EXPECT_NE(dlsym(lib, "GetAddress"), nullptr);
  EXPECT_NE(dlsym(lib, "FillWaveHeader"), nullptr);
  EXPECT_NE(dlsym(lib, "CopyWaveHeader"), nullptr);
  EXPECT_NE(dlsym(lib, "ParseWaveHeader"), nullptr);
  dlclose(lib);
}
