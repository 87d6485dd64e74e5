// The chart item that draws one dimension of a scale: its numbers and caption, registered with
// a viewport object like a trace, erased by writing the same texts in the erase colour.
#pragma once

#include <cstdint>

#include "gdi/geometry.h"
#include "output/chart_item.h"
#include "scale/scale_layout.h"

namespace kvplotax::scale {

struct ScaleColors {
  gdi::ColorRef number = 0;
  gdi::ColorRef numberIntense = 0;
  gdi::ColorRef label = 0;
  gdi::ColorRef labelIntense = 0;
  gdi::ColorRef back = 0x808000;
  gdi::ColorRef storage = 0;
};

class ScaleItem final : public output::ChartItem {
 public:
  static constexpr int kKind = 101;
  // What a hit on the caption and on a number report as the object type.
  static constexpr std::int16_t kHitScale = 2;
  static constexpr std::int16_t kHitLabel = 3;

  ScaleItem(std::int16_t scaleNumber, int dimension)
      : number_(scaleNumber), dimension_(dimension) {}

  int kind() const { return kKind; }
  std::int16_t scaleNumber() const { return number_; }
  int dimension() const { return dimension_; }

  // Lays the item out again; the previous picture must have been erased first.
  void layout(const ScaleStyle& style, const ScaleFrame& frame, const ScaleFonts& fonts);
  const ScaleLayout& placement() const { return layout_; }
  bool inOwnViewport() const { return layout_.inOwnViewport; }

  void setColors(const ScaleColors& colors) { colors_ = colors; }
  void setEraseColors(gdi::ColorRef back, gdi::ColorRef storage) {
    colors_.back = back;
    colors_.storage = storage;
  }
  void setIntense(bool intense) { intense_ = intense; }
  bool intense() const { return intense_; }
  bool storage() const { return storage_; }

  gdi::Rect drawnRect() const override { return layout_.bounds; }
  bool draw(output::DrawSurface& surface, int first, int count, const gdi::Rect& clip) override;
  bool redraw(output::DrawSurface& surface, const gdi::Rect& clip) override;
  void erase(output::DrawSurface& surface, const gdi::Rect& clip) override;
  bool relayout(const gdi::Rect& oldBounds, const gdi::Rect& newBounds,
                gdi::Rect& changed) override;
  bool hitTest(gdi::Point point, output::HitInfo& hit) const override;
  void setVisible(bool visible) override { visible_ = visible; }
  void setStorage(bool storageOn) override { storage_ = storageOn; }

 private:
  bool paint(output::DrawSurface& surface, const gdi::Rect& clip, bool erasing);

  std::int16_t number_;
  int dimension_;
  ScaleLayout layout_;
  // The fonts the texts were laid out in, kept for as long as the item draws and erases them:
  // the control may have moved on to another font meanwhile.
  ScaleFonts fonts_;
  std::string caption_;
  ScaleColors colors_;
  bool intense_ = false;
  bool visible_ = true;
  bool storage_ = false;
};

}  // namespace kvplotax::scale
