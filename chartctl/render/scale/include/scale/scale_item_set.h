// The scale items of a chart, two per scale number at most (one per dimension), and the scale
// commands that build, erase, recolour and move them. The control supplies what the items need
// through ScaleHost and raises the errors the commands report.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <utility>

#include "gdi/geometry.h"
#include "output/draw_surface.h"
#include "output/viewport_object.h"
#include "scale/scale_fonts.h"
#include "scale/scale_item.h"
#include "scale/scale_layout.h"

namespace kvplotax::scale {

enum ScaleAction : int {
  kScaleNoAction = 0,
  kScaleInitialize = 1,
  kScaleErase = 2,
  kScaleIntenseColor = 3,
  kScaleNormalColor = 4,
  kScaleChangePen = 5,
  kScaleChangeViewport = 6,
  kScaleChangeWindow = 7,
};

// What the control holds for one dimension of a scale.
struct ScaleRequest {
  std::int16_t number = 0;
  int dimension = kHorz;
  int window = 1;
  int viewport = 1;
  float factor = 1.0f;
  int pen = 1;
  int labelPen = 1;
  ScaleStyle style;
};

struct ScaleGraticule {
  int majorTick = 0;
  int majorDivHorz = 10;
  int majorDivVert = 8;
  int viewports = 1;
  int axesType = 0;
};

class ScaleHost {
 public:
  // The viewport object and rectangle of a viewport number; 0 is the whole drawable area.
  virtual output::ViewportObject* scaleViewport(int number) = 0;
  virtual gdi::Rect scaleViewportRect(int number) = 0;
  // A window's range in one dimension (minimum and extent); false when there is no such window.
  virtual bool scaleWindowRange(int window, int dimension, float& min, float& extent) = 0;
  // The colours of a pen; false when there is no such pen.
  virtual bool scalePenColors(int pen, gdi::ColorRef& normal, gdi::ColorRef& intense) = 0;
  virtual ScaleGraticule scaleGraticule() = 0;
  virtual gdi::ColorRef scaleBackColor() = 0;
  virtual gdi::ColorRef scaleStorageColor() = 0;
  virtual bool scaleStorageOn(int viewport) = 0;
  virtual output::DrawSurface* scaleSurface() = 0;
  // The area changed on the surface and must reach the screen.
  virtual void scaleAreaChanged(const gdi::Rect& area) = 0;

 protected:
  ~ScaleHost() = default;
};

// Builds and lays out one dimension's scale item without keeping it (a channel of kind 101 owns
// its own); null when the scale draws nothing. viewport receives the viewport object the item
// belongs in; the caller registers it there.
std::unique_ptr<ScaleItem> makeScaleItem(ScaleHost& host, const ScaleRequest& request,
                                         const ScaleFonts& fonts,
                                         output::ViewportObject*& viewport);

enum class ScaleActionResult { kDone, kIgnored, kNotInitialized };

class ScaleItemSet {
 public:
  ScaleItemSet() = default;
  ScaleItemSet(const ScaleItemSet&) = delete;
  ScaleItemSet& operator=(const ScaleItemSet&) = delete;
  ~ScaleItemSet();

  ScaleActionResult apply(ScaleHost& host, const ScaleRequest& request, int action,
                          const ScaleFonts& fonts);
  // Erases and destroys the item of one dimension (all of them: clear).
  void remove(ScaleHost& host, std::int16_t number, int dimension);
  void clear(ScaleHost& host);
  // Forgets every item without drawing (the surface is gone).
  void drop();

  ScaleItem* item(std::int16_t number, int dimension) const;
  template <class Visit>
  void forEachItem(Visit visit) {
    for (auto& [key, entry] : items_) visit(*entry.item);
  }
  std::size_t size() const { return items_.size(); }

 private:
  struct Entry {
    std::unique_ptr<ScaleItem> item;
    output::ViewportObject* viewport = nullptr;
  };
  using Key = std::pair<std::int16_t, int>;

  void build(ScaleHost& host, const ScaleRequest& request, const ScaleFonts& fonts);
  void recolour(ScaleHost& host, Entry& entry, bool intense);
  static void erase(ScaleHost& host, Entry& entry);
  static void draw(ScaleHost& host, Entry& entry);
  static void detach(ScaleHost& host, Entry& entry);

  std::map<Key, Entry> items_;
};

}  // namespace kvplotax::scale
