// The process's one FreeType library instance.
#pragma once

#include <memory>
#include <mutex>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace gdi::detail {

class FreeTypeLibrary {
 public:
  // Shared by every face; a face keeps the library alive until it is closed.
  static std::shared_ptr<FreeTypeLibrary> instance();

  ~FreeTypeLibrary();
  FreeTypeLibrary(const FreeTypeLibrary&) = delete;
  FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;

  // Null when FreeType could not start.
  FT_Library handle() const { return library_; }
  // Opening and closing faces touch the library's shared state.
  std::mutex& mutex() { return mutex_; }

 private:
  FreeTypeLibrary();

  FT_Library library_ = nullptr;
  std::mutex mutex_;
};

}  // namespace gdi::detail
