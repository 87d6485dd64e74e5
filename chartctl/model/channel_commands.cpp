// The channel commands of ChnDspAction: building a channel's trace item and acting on it.
#include <algorithm>

#include "channel_validation.h"
#include "control_errors.h"
#include "dispids.h"
#include "enums.h"
#include "kvplotax_ctrl.h"
#include "scale/scale_item_set.h"
#include "trace/channel_item.h"
#include "trace/trace_item.h"

namespace kvplotax {
namespace {

trace::DataDescription describe(CChartState& state, const ChnDataSettings* d) {
  trace::DataDescription out;
  if (!d) return out;
  out.type = d->type;
  out.shape = d->shape;
  out.offset = d->offset;
  out.increment = d->incr;
  if (d->xform != 0) {
    if (const XformSettings* x = findSetting(state.maps().xforms, d->xform))
      out.transform = SampleTransform{x->gain, x->offset, x->msb, x->lsb};
  }
  return out;
}

}  // namespace

trace::PenDrawing* CKvplotaxCtrl::buildPen(std::int32_t n) {
  const PenSettings* record = findSetting(state_.maps().pens, n);
  if (!record) return nullptr;
  const ControlSettings& s = state_.settings();
  // System colours are looked up as the background and graticule look them up, through the
  // container.
  const trace::PenColors colors{translateColor(record->color), translateColor(record->intenseColor),
                                translateColor(s.backColor),
                                translateColor(s.viewportStorageColor)};
  // The surface is a bitmap in the screen's true-colour format whatever ColorDepth says, and
  // the background, graticule and scales are drawn on it in their exact colours: pens matched
  // to a 16 or 256 colour palette would leave trails wherever they erase.
  constexpr int kTrueColour = 0;
  if (trace::PenDrawing* pen = state_.live().pen(n)) {
    pen->update(record->style, record->width, colors, kTrueColour);
    return pen;
  }
  auto pen = std::make_unique<trace::PenDrawing>(record->style, record->width, colors, kTrueColour);
  trace::PenDrawing* raw = pen.get();
  state_.live().setPen(static_cast<std::int16_t>(n), std::move(pen));
  return raw;
}

void CKvplotaxCtrl::initializeChannel(std::int32_t c) {
  const ChannelSettings chn = state_.staged().channel;
  const auto base = static_cast<std::int16_t>(state_.settings().errBase);
  // The channel's viewport is looked up, not selected: Viewport_Select stays the client's, so a
  // following viewport write lands where the client meant it to.
  trace::TraceSetup setup;
  setup.channel = static_cast<std::int16_t>(c);
  setup.mode = chn.mode;
  setup.style = chn.style;
  setup.bufferLength = chn.bufLen;
  setup.pen = buildPen(chn.pen);
  setup.viewport = state_.live().viewport(chn.viewport);
  if (setup.viewport) setup.viewportRect = setup.viewport->bounds();
  if (const WindowObject* w = findSetting(state_.maps().windows, chn.window))
    setup.window = trace::WorldRect{w->xmin, w->ymin, w->width, w->height};
  setup.offsetX = chn.offsetX;
  setup.offsetY = chn.offsetY;
  setup.y = describe(state_, findSetting(state_.maps().vertData, c));
  setup.x = describe(state_, findSetting(state_.maps().horzData, c));
  if (const ViewportSettings* v = findSetting(state_.maps().viewports, chn.viewport))
    setup.storageOn = v->storageOn;
  setup.windowNumber = chn.window;
  setup.refresh = [this](std::int16_t channel, std::int32_t samples) {
    fireRefresh(channel, samples);
  };
  // Kind 101 gets a scale item of its own for the scale numbered like the channel.
  output::ViewportObject* home = setup.viewport;
  const trace::ScaleItemMaker scaleMaker = [this, &home](std::int16_t number) {
    return makeChannelScale(number, home);
  };
  std::unique_ptr<output::ChartItem> item = trace::createChannelItem(setup, scaleMaker);
  const auto* traceItem = dynamic_cast<const trace::TraceItem*>(item.get());
  if (!item || !home || (traceItem && !traceItem->valid()))
    raiseControlError(base, ControlError::InvalidPointCount);
  invalidateArea(state_.live().removeTrace(c));
  output::ChartItem* raw = item.get();
  home->addItem(raw);
  state_.live().setTrace(static_cast<std::int16_t>(c), std::move(item));
  if (!traceItem) {
    // A scale item shows at once, like one built by ScaleAction.
    const gdi::Rect area = raw->drawnRect();
    home->itemChanged(raw, 0, 0, area);
    invalidateArea(area);
  }
}

std::unique_ptr<output::ChartItem> CKvplotaxCtrl::makeChannelScale(std::int16_t number,
                                                                   output::ViewportObject*& home) {
  const auto found = state_.maps().scales.find(number);
  if (found == state_.maps().scales.end() || !found->second) return nullptr;
  const scale::ScaleRequest request = scaleRequest(*found->second);
  return scale::makeScaleItem(*this, request, fontsFor(request), home);
}

gdi::Rect CKvplotaxCtrl::channelScaleAction(std::int32_t c, scale::ScaleItem& item,
                                            std::int16_t action) {
  ViewportObject* home = nullptr;
  for (auto& [number, viewport] : state_.live().viewports())
    if (viewport.contains(&item)) home = &viewport;
  const gdi::Rect area = item.drawnRect();
  switch (action) {
    case Plotrex_ChnErase:
      if (home) home->itemErased(&item, area);
      return area;
    case Plotrex_ChnIntenseColor:
    case Plotrex_ChnNormalColor:
      if (!home) return {};
      home->itemErased(&item, area);
      item.setIntense(action == Plotrex_ChnIntenseColor);
      home->itemChanged(&item, 0, 0, area);
      return area;
    case Plotrex_ChnChangePen:
    case Plotrex_ChnChangeViewport:
    case Plotrex_ChnChangeWindow: {
      // Built again from its scale's pens, viewport and window, as the scale commands do; a
      // scale that can no longer be drawn leaves the item as it is.
      ViewportObject* place = nullptr;
      std::unique_ptr<output::ChartItem> rebuilt = makeChannelScale(item.scaleNumber(), place);
      if (!rebuilt || !place) return {};
      const gdi::Rect old = state_.live().removeTrace(c);
      output::ChartItem* raw = rebuilt.get();
      place->addItem(raw);
      state_.live().setTrace(static_cast<std::int16_t>(c), std::move(rebuilt));
      place->itemChanged(raw, 0, 0, raw->drawnRect());
      return old.unite(raw->drawnRect());
    }
    default:
      // A scale holds no points to flush or translate.
      return {};
  }
}

void CKvplotaxCtrl::doChannelAction(std::int16_t action) {
  if (!ambientUserMode() || !hasSurface() || refreshing_) return;
  state_.staged().channel.action = action;
  state_.commitChannel();
  const std::int32_t c = state_.selection().channel;
  if (c <= 0 || !findSetting(state_.maps().channels, c)) return;
  if (action < Plotrex_ChnInitialize || action > Plotrex_ChnEndRun) return;
  validateChannel(state_);
  if (action == Plotrex_ChnInitialize) {
    initializeChannel(c);
    return;
  }
  auto* item = dynamic_cast<trace::TraceItem*>(state_.live().trace(c));
  if (auto* scaleItem = dynamic_cast<scale::ScaleItem*>(state_.live().trace(c))) {
    const gdi::Rect area = channelScaleAction(c, *scaleItem, action);
    painter_.markFullRedrawPending();
    invalidateArea(area);
    return;
  }
  if (!item) {
    raiseControlError(static_cast<std::int16_t>(state_.settings().errBase),
                      ControlError::ChannelNotInitialized);
  }
  if (action == Plotrex_ChnEndRun) {
    // Marks the buffer only: nothing is drawn or erased until the next block.
    item->endRun();
    return;
  }
  const ChannelSettings& chn = state_.staged().channel;
  switch (action) {
    case Plotrex_ChnErase:
      item->eraseTrace();
      break;
    case Plotrex_ChnIntenseColor:
      item->setIntense(true);
      break;
    case Plotrex_ChnNormalColor:
      item->setIntense(false);
      break;
    case Plotrex_ChnChangePen:
      if (trace::PenDrawing* pen = buildPen(chn.pen)) item->changePen(pen);
      break;
    case Plotrex_ChnFlush:
      item->forget();
      break;
    case Plotrex_ChnTranslate:
      item->translate(chn.offsetX, chn.offsetY);
      break;
    case Plotrex_ChnChangeViewport:
      if (ViewportObject* v = state_.live().viewport(chn.viewport)) {
        const ViewportSettings* settings = findSetting(state_.maps().viewports, chn.viewport);
        item->changeViewport(v, settings && settings->storageOn);
      }
      break;
    case Plotrex_ChnChangeWindow:
      if (const WindowObject* w = findSetting(state_.maps().windows, chn.window))
        item->changeWindow(chn.window, trace::WorldRect{w->xmin, w->ymin, w->width, w->height});
      break;
    default:
      break;
  }
  const gdi::Rect area = item->takeChangedArea();
  if (action == Plotrex_ChnChangeViewport || action == Plotrex_ChnChangeWindow) {
    repaint();
  } else {
    // An erased trace takes grid lines and ticks with it: the next paint rules the graticule
    // again over what it shows.
    painter_.markFullRedrawPending();
    invalidateArea(area);
  }
}

void CKvplotaxCtrl::fireRefresh(std::int16_t channel, std::int32_t samples) {
  // By reference, as the event is declared; the client's changes to them mean nothing.
  if (refreshing_) return;
  automation::Variant chn(channel);
  automation::Variant count(static_cast<std::int16_t>(std::min<std::int32_t>(samples, 32767)));
  refreshing_ = true;
  try {
    fireEvent(dispid::EventRefresh,
              {automation::Variant::ref(&chn), automation::Variant::ref(&count)});
  } catch (...) {
    // What the client's handler raised stays with the client, as for any event; the trace
    // puts its own points back.
  }
  refreshing_ = false;
}

void CKvplotaxCtrl::eraseColorsChanged() {
  const gdi::ColorRef back = scaleBackColor();
  const gdi::ColorRef storage = scaleStorageColor();
  state_.live().forEachPen([&](trace::PenDrawing& pen) { pen.setEraseColors(back, storage); });
  scales_.forEachItem([&](scale::ScaleItem& item) { item.setEraseColors(back, storage); });
  state_.live().forEachTrace([&](ChartItem& any) {
    if (auto* item = dynamic_cast<scale::ScaleItem*>(&any)) item->setEraseColors(back, storage);
  });
}

void CKvplotaxCtrl::applyChannelStyle(std::int32_t c, std::int32_t style) {
  if (!ambientUserMode() || !hasSurface()) return;
  auto* item = dynamic_cast<trace::TraceItem*>(state_.live().trace(c));
  if (!item) return;
  item->changeStyle(style);
  painter_.markFullRedrawPending();
  invalidateArea(item->takeChangedArea());
}

void CKvplotaxCtrl::rescaleTraces() {
  gdi::Rect area;
  state_.live().forEachTrace([&](ChartItem& any) {
    auto* item = dynamic_cast<trace::TraceItem*>(&any);
    if (!item) return;
    const WindowObject* w = findSetting(state_.maps().windows, item->windowNumber());
    if (!w) return;
    item->changeWindow(item->windowNumber(),
                       trace::WorldRect{w->xmin, w->ymin, w->width, w->height});
    area = area.unite(item->takeChangedArea());
  });
  relayoutScaleItems();
  painter_.markFullRedrawPending();
  invalidateArea(area);
}

}  // namespace kvplotax
