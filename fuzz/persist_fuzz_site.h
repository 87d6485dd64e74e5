// A small site for the persistence fuzz targets: run mode, a fixed extent, nothing recorded.
#pragma once

#include <string>

#include "kvplotax_ctrl.h"
#include "ocx/control_site.h"

namespace fuzzing {

class PersistFuzzSite final : public ocx::ControlSite {
 public:
  bool ambientUserMode() const override { return true; }
  int logPixelsX() const override { return 96; }
  int logPixelsY() const override { return 96; }
  gdi::Point clientSize() const override { return {64, 48}; }
  void onPropertyChanged(automation::DispId) override {}
  void fireEvent(automation::DispId, std::vector<automation::Variant>) override {}
  void invalidate(const gdi::Rect&) override {}
  void invalidateAll() override {}
  bool postMessage(unsigned, std::uintptr_t, std::intptr_t) override { return false; }
  void requestResize(int, int) override {}
  std::unique_ptr<ocx::PeriodicTimer> startPeriodicTimer(unsigned, std::function<void()>) override {
    return nullptr;
  }
  ocx::Clipboard& clipboard() override { __builtin_trap(); }
};

// Loads, paints once, saves in the other form and loads that again: every step must end
// cleanly whatever the saved data held.
template <class Load>
void loadPaintSave(Load load) {
  PersistFuzzSite site;
  std::string bag;
  {
    kvplotax::CKvplotaxCtrl chart;
    chart.setSite(&site);
    load(chart);
    // Drawing the graticule takes time in proportion to its tick count, which loaded division
    // counts can make enormous (as property writes can): such charts are loaded, not drawn.
    const kvplotax::ControlSettings& cfg = chart.state().settings();
    const long ticks = static_cast<long>(cfg.minorDiv) * (cfg.majorDivHorz + cfg.majorDivVert);
    if (ticks <= 4096) {
      gdi::DeviceContext dc;
      chart.onPaint(dc, {0, 0, 64, 48}, {});
    }
    bag = chart.saveToBag(automation::Guid{});
    chart.saveToStream();
    chart.setSite(nullptr);
  }
  kvplotax::CKvplotaxCtrl again;
  again.setSite(&site);
  again.loadFromBag(bag);
  again.setSite(nullptr);
}

}  // namespace fuzzing
