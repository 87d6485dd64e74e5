#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "xvaxtool.h"

// Programs bind the helpers by name at run time, so the names must be exported undecorated, and
// nothing else should leak from the library.
TEST(Exports, FourNamesBindAtRunTimeAndWork) {
  void* lib = dlopen(XVAXTOOL_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << dlerror();
  auto parse = reinterpret_cast<ParseWaveHeaderFn>(dlsym(lib, "ParseWaveHeader"));
  auto copy = reinterpret_cast<CopyWaveHeaderFn>(dlsym(lib, "CopyWaveHeader"));
  auto fill = reinterpret_cast<FillWaveHeaderFn>(dlsym(lib, "FillWaveHeader"));
  auto address = reinterpret_cast<GetAddressFn>(dlsym(lib, "GetAddress"));
  ASSERT_TRUE(parse && copy && fill && address);

  char data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  char out[8] = {};
  WAVEHDR hdr{};
  hdr.lpData = data;
  hdr.dwBufferLength = 8;
  EXPECT_EQ(fill(&hdr, "abcd", 4), 1);
  EXPECT_EQ(parse(&hdr), 4);
  EXPECT_EQ(copy(&hdr, out, 8), 4);
  EXPECT_EQ(std::string(out, 4), "abcd");
  EXPECT_EQ(address(&hdr), reinterpret_cast<uintptr_t>(&hdr));
  dlclose(lib);
}

TEST(Exports, OnlyTheFourFunctionsAreExported) {
  const std::string command = std::string("nm -D --defined-only ") + XVAXTOOL_PATH;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  ASSERT_TRUE(pipe);
  std::string symbols;
  char line[512];
  while (std::fgets(line, sizeof line, pipe.get())) {
    std::string s(line);
    // Lines read "address type name"; only text symbols are functions we export.
    if (s.find(" T ") != std::string::npos) symbols += s.substr(s.rfind(' ') + 1);
  }
  EXPECT_EQ(symbols, "CopyWaveHeader\nFillWaveHeader\nGetAddress\nParseWaveHeader\n");
}
