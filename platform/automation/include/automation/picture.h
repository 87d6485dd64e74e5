// A picture object (the platform's standard picture): PNG bytes with their pixel size, handed to
// controls as a dispatch object, e.g. for a custom mouse cursor.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "automation/automation.h"

namespace automation {

class Picture : public Dispatch {
 public:
  // Null unless the bytes start with the PNG signature and a whole header chunk.
  static std::shared_ptr<Picture> fromPng(std::span<const std::uint8_t> png);

  const std::vector<std::uint8_t>& png() const { return png_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Read-only properties: Type (1, a bitmap), Width and Height in pixels.
  DispId idOfName(std::string_view name) const override;
  Variant get(DispId id) override;
  void put(DispId id, const Variant& value) override;
  Variant call(DispId id, std::span<Variant> args) override;
  using Dispatch::call;
  using Dispatch::get;
  using Dispatch::put;

 private:
  Picture(std::vector<std::uint8_t> png, int width, int height)
      : png_(std::move(png)), width_(width), height_(height) {}
  std::vector<std::uint8_t> png_;
  int width_;
  int height_;
};

}  // namespace automation
