#include "cursor_images.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "cursor_art.h"

namespace kvplotax {
namespace {

constexpr int kArtSize = 16;
constexpr int kScale = 2;  // the pictures are drawn at half the cursor size
constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

ocx::CursorImage imageFromArt(std::string_view text) {
  ocx::CursorImage image;
  image.width = image.height = kArtSize * kScale;
  image.argb.assign(static_cast<std::size_t>(image.width * image.height), 0u);
  const std::size_t headerEnd = text.find('\n');
  int hotX = 0;
  int hotY = 0;
  if (std::sscanf(std::string(text.substr(0, headerEnd)).c_str(), "hotspot %d %d", &hotX, &hotY) ==
      2) {
    image.hotX = hotX * kScale;
    image.hotY = hotY * kScale;
  }
  text.remove_prefix(headerEnd == std::string_view::npos ? text.size() : headerEnd + 1);
  for (int row = 0; row < kArtSize && !text.empty(); ++row) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    for (int col = 0; col < kArtSize && col < static_cast<int>(line.size()); ++col) {
      const std::uint32_t pixel = line[col] == '#' ? kBlack : line[col] == 'o' ? kWhite : 0u;
      for (int dy = 0; dy < kScale; ++dy)
        for (int dx = 0; dx < kScale; ++dx)
          image.argb[static_cast<std::size_t>((row * kScale + dy) * image.width + col * kScale +
                                              dx)] = pixel;
    }
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return image;
}

constexpr int kFirstOwn = 201;
constexpr int kOwnCount = 7;

}  // namespace

int cursorForMousePointer(std::int32_t pointer) {
  // IDC_* numbers of the system cursors, and the own cursors' resource numbers, by value.
  static constexpr std::array<int, 23> kTable = {
      0,     32512, 32515, 32513, 32512, 32646, 32643, 32645, 32642, 32644, 32516, 32514,
      32648, 32650, 32651, 32646, 204,   201,   205,   206,   202,   207,   203};
  if (pointer == 99) return -1;
  if (pointer < 0 || pointer >= static_cast<std::int32_t>(kTable.size())) return 0;
  return kTable[static_cast<std::size_t>(pointer)];
}

const ocx::CursorImage* ownCursorImage(int id) {
  static const std::array<ocx::CursorImage, kOwnCount> kImages = [] {
    std::array<ocx::CursorImage, kOwnCount> images;
    for (std::size_t i = 0; i < kCursorArtCount; ++i) {
      const int slot = kCursorArt[i].id - kFirstOwn;
      if (slot >= 0 && slot < kOwnCount)
        images[static_cast<std::size_t>(slot)] = imageFromArt(kCursorArt[i].text);
    }
    return images;
  }();
  if (id < kFirstOwn || id >= kFirstOwn + kOwnCount) return nullptr;
  return &kImages[static_cast<std::size_t>(id - kFirstOwn)];
}

}  // namespace kvplotax
