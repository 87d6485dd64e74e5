#include "free_type_library.h"

namespace gdi::detail {

std::shared_ptr<FreeTypeLibrary> FreeTypeLibrary::instance() {
  static const std::shared_ptr<FreeTypeLibrary> library{new FreeTypeLibrary};
  return library;
}

FreeTypeLibrary::FreeTypeLibrary() {
  if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
}

FreeTypeLibrary::~FreeTypeLibrary() {
  if (library_) FT_Done_FreeType(library_);
}

}  // namespace gdi::detail
