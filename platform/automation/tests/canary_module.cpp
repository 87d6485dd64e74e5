// A library that must never be loaded: loading it runs its constructor, which appends a line to
// the file named by ZELK_TEST_CANARY_FILE.
#include <cstdio>
#include <cstdlib>

namespace {

__attribute__((constructor)) void singOnLoad() {
  const char* file = std::getenv("ZELK_TEST_CANARY_FILE");
  if (file == nullptr) return;
  if (std::FILE* out = std::fopen(file, "a")) {
    std::fputs("loaded\n", out);
    std::fclose(out);
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int ZelkCanaryAnswer() { return 7; }
