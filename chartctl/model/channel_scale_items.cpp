// Channels of kind 101 own a scale item; it follows the viewports and windows like the scales'
// own items do.
#include <vector>

#include "kvplotax_ctrl.h"
#include "scale/scale_item.h"

namespace kvplotax {

void CKvplotaxCtrl::relayoutChannelScaleItems() {
  if (!hasSurface()) return;
  std::vector<std::pair<std::int16_t, int>> owned;  // channel (= scale number) and dimension
  state_.live().forEachTrace([&owned](output::ChartItem& item) {
    if (const auto* s = dynamic_cast<const scale::ScaleItem*>(&item))
      owned.emplace_back(s->scaleNumber(), s->dimension());
  });
  for (const auto& [channel, dimension] : owned) {
    const auto found = state_.maps().scales.find(channel);
    if (found == state_.maps().scales.end() || !found->second) continue;
    ScaleObject copy = *found->second;
    copy.setDimension(dimension);
    const scale::ScaleRequest request = scaleRequest(copy);
    output::ViewportObject* home = nullptr;
    std::unique_ptr<output::ChartItem> item =
        scale::makeScaleItem(*this, request, fontsFor(request), home);
    // The old picture goes first; a scale that now draws nothing leaves the channel without one.
    invalidateArea(state_.live().removeTrace(channel));
    if (!item || !home) continue;
    output::ChartItem* raw = item.get();
    home->addItem(raw);
    state_.live().setTrace(channel, std::move(item));
    const gdi::Rect area = raw->drawnRect();
    home->itemChanged(raw, 0, 0, area);
    invalidateArea(area);
  }
}

}  // namespace kvplotax
