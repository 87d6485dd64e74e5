#include "kvplotax_ctrl.h"

#include <cmath>
#include <vector>

#include "bezel/bezel_painter.h"
#include "channel_validation.h"
#include "chart_data_args.h"
#include "control_errors.h"
#include "dispids.h"
#include "enums.h"
#include "graticule/graticule_painter.h"
#include "output/printing.h"
#include "property_table.h"
#include "trace/trace_item.h"

namespace kvplotax {

using automation::DispId;
using automation::Variant;

std::atomic<int> CKvplotaxCtrl::liveCount_{0};

CKvplotaxCtrl::CKvplotaxCtrl() { ++liveCount_; }

CKvplotaxCtrl::~CKvplotaxCtrl() {
  // The scale items leave their viewports before either goes.
  scales_.drop();
  --liveCount_;
}

int CKvplotaxCtrl::liveCount() { return liveCount_.load(); }

DispId CKvplotaxCtrl::idOfName(std::string_view name) const {
  const DispId id = propertyIdOfName(name);
  if (id != automation::kDispIdUnknown) return id;
  DispId stock = automation::kDispIdUnknown;
  return stockIdOfName(name, stock) ? stock : automation::kDispIdUnknown;
}

Variant CKvplotaxCtrl::get(DispId id) {
  if (const PropertyEntry* e = findProperty(id)) {
    if (e->call) throwError(automation::kErrNotSupported);
    if (!e->get) throwError(automation::kErrGetNotSupported);
    return e->get(*this);
  }
  Variant out;
  if (getStock(id, out)) return out;
  throwError(automation::kErrNotSupported);
}

void CKvplotaxCtrl::put(DispId id, const Variant& value) {
  if (const PropertyEntry* e = findProperty(id)) {
    if (e->call) throwError(automation::kErrNotSupported);
    if (!e->put) throwError(automation::kErrSetNotSupported);
    e->put(*this, value.deref());
    return;
  }
  if (putStock(id, value.deref())) return;
  throwError(automation::kErrNotSupported);
}

Variant CKvplotaxCtrl::call(DispId id, std::span<Variant> args) {
  const PropertyEntry* e = findProperty(id);
  if (e && e->call) return e->call(*this, args);
  // A property invoked as a method without arguments reads it.
  if (args.empty()) return get(id);
  throwError(automation::kErrNotSupported);
}

void CKvplotaxCtrl::changed(DispId id) {
  setModifiedFlag();
  firePropertyChanged(id);
}

void CKvplotaxCtrl::initNew() {
  Control::initNew();
  ocx::Font f = font();
  f.name = "Arial";
  setFont(f);
  setModifiedFlag(false);
  reset_ = true;
  if (site()) {
    const gdi::Point size = site()->clientSize();
    state_.relayout({0, 0, size.x, size.y});
  }
}

void CKvplotaxCtrl::onWindowCreated(std::uintptr_t hwnd) {
  Control::onWindowCreated(hwnd);
  if (site()) {
    timerDevice_ = std::make_unique<output::SiteTimerDevice>(*site());
    // A rate written through the property starts on the device now; a value only restored
    // from saved settings governs immediate painting without starting the timer.
    painter_.frameTimer().setDevice(timerDevice_.get());
    painter_.restoreFramesPerSec(state_.settings().framesPerSec);
  }
  relayout();
}

void CKvplotaxCtrl::onWindowDestroyed() {
  // Nothing may post into the window or draw on its surface once it is gone.
  painter_.frameTimer().setRate(0);
  painter_.frameTimer().setDevice(nullptr);
  timerDevice_.reset();
  scales_.drop();
  painter_.destroySurface();
  Control::onWindowDestroyed();
}

void CKvplotaxCtrl::onResize(int width, int height) {
  const gdi::Rect client{0, 0, width, height};
  if (client == state_.clientRect()) return;
  state_.relayout(client);
  autoSizeIfNeeded();
  reinitScalesWhileDesigning();
  // At run time the surface follows the new extent at once, even to an empty one, which the
  // container never paints.
  if (ambientUserMode() && painter_.hasSurface()) {
    // Traces followed their viewports in the layout; the scales are laid out again here, as
    // their numbers depend on the fonts and the room the viewports now give them.
    relayoutScaleItems();
    painter_.resize(width, height);
    painter_.paintIfImmediate();
  } else {
    repaint();
  }
}

void CKvplotaxCtrl::reinitScalesWhileDesigning() {
  if (firstPaintPending_ || ambientUserMode()) return;
  initializeEveryScale(0);
}

void CKvplotaxCtrl::initializeEveryScale(std::int16_t except) {
  const std::int32_t selected = state_.selection().scale;
  std::vector<std::int16_t> numbers;
  numbers.reserve(state_.maps().scales.size());
  for (const auto& [number, scale] : state_.maps().scales)
    if (number != except) numbers.push_back(number);
  for (std::int16_t number : numbers) {
    state_.selectScale(number);
    ScaleObject* scale = state_.selectedScale();
    const std::int32_t dimension = scale->dimension();
    // A scale that cannot be drawn is left as it is; the others are still laid out.
    for (std::int32_t d : {0, 1}) {
      scale->setDimension(d);
      try {
        doScaleAction(Plotrex_ScaleInitialize);
      } catch (const automation::AutomationError&) {
      }
    }
    scale->setDimension(dimension);
  }
  // Selecting 0 changes nothing, so the previous selection is put back directly.
  if (selected > 0) {
    state_.selectScale(static_cast<std::int16_t>(selected));
  } else {
    state_.clearScaleSelection();
  }
}

void CKvplotaxCtrl::onPaint(gdi::DeviceContext& dc, const gdi::Rect& bounds,
                            const gdi::Rect& invalid) {
  const gdi::Rect size{0, 0, bounds.width(), bounds.height()};
  if (size != state_.clientRect()) state_.relayout(size);
  // In run mode the frame timer posts its paint requests to the window.
  const auto window = static_cast<std::uint32_t>(ambientUserMode() ? hWnd() : 0);
  painter_.paint(dc, bounds, invalid, window);
  if (firstPaintPending_) firstPaint();
}

void CKvplotaxCtrl::firstPaint() {
  firstPaintPending_ = false;
  if (reset_) {
    reset_ = false;
    applyNewControlSetup();
    return;
  }
  // A loaded control's scales were initialised while it had no surface to draw on; they are
  // drawn now, in both modes. At run time the selected scale comes last, vertical axis first,
  // and keeps the horizontal axis as its dimension.
  if (!ambientUserMode()) {
    initializeEveryScale(0);
    return;
  }
  ScaleObject* scale = state_.selectedScale();
  initializeEveryScale(scale ? scale->number() : std::int16_t{0});
  if (!scale) return;
  // Paint must not fail: a scale that cannot be drawn stays as it is.
  for (std::int32_t dim : {1, 0}) {
    try {
      scale->setDimension(dim);
      doScaleAction(Plotrex_ScaleInitialize);
    } catch (const automation::AutomationError&) {
    }
  }
}

void CKvplotaxCtrl::applyNewControlSetup() {
  namespace d = dispid;
  const std::pair<DispId, Variant> kSetup[] = {
      {d::Pen_Select, Variant(std::int16_t{1})},
      {d::Wnd_Select, Variant(std::int16_t{1})},
      {d::WndWidth, Variant(10.0f)},
      {d::WndHeight, Variant(10.0f)},
      {d::Viewports, Variant(std::int16_t{1})},
      {d::Viewport_Select, Variant(std::int16_t{1})},
      {d::ChnXform_Select, Variant(std::int16_t{1})},
      {d::Chn_Select, Variant(std::int16_t{1})},
      {d::ChnDspBufLen, Variant(std::int16_t{500})},
      {d::ChnDspViewport, Variant(std::int16_t{1})},
      {d::ChnDspWindow, Variant(std::int16_t{1})},
      {d::ChnDspPen, Variant(std::int16_t{1})},
      {d::ChnData_Dimension, Variant(std::int16_t{0})},
      {d::ChnDataShape, Variant(std::int16_t{Plotrex_AutoIncr})},
      {d::ChnDspAction, Variant(std::int16_t{Plotrex_ChnInitialize})},
      {d::ChnData_Dimension, Variant(std::int16_t{1})},
      {d::ChnDspAction, Variant(std::int16_t{Plotrex_ChnInitialize})},
      {d::Scale_Select, Variant(std::int16_t{1})},
      {d::ScaleDimension, Variant(std::int16_t{1})},
      {d::ScaleWindow, Variant(std::int16_t{1})},
      {d::ScaleViewport, Variant(std::int16_t{1})},
      {d::ScaleOrientation, Variant(std::int16_t{1})},
      {d::ScalePen, Variant(std::int16_t{1})},
      {d::LabelPen, Variant(std::int16_t{1})},
      {d::ScaleLocation, Variant(std::int16_t{1})},
      {d::ScalePosition, Variant(std::int16_t{1})},
      {d::LabelCaption, Variant("Vert")},
      {d::LabelLocation, Variant(std::int16_t{1})},
      {d::LabelPosition, Variant(std::int16_t{1})},
      {d::ScaleAction, Variant(std::int16_t{Plotrex_ScaleInitialize})},
      {d::ScaleDimension, Variant(std::int16_t{0})},
      {d::ScaleWindow, Variant(std::int16_t{1})},
      {d::ScaleViewport, Variant(std::int16_t{1})},
      {d::ScalePen, Variant(std::int16_t{1})},
      {d::LabelPen, Variant(std::int16_t{1})},
      {d::ScaleLocation, Variant(std::int16_t{2})},
      {d::LabelLocation, Variant(std::int16_t{1})},
      {d::LabelPosition, Variant(std::int16_t{1})},
      {d::LabelCaption, Variant("Horz")},
      {d::ScaleAction, Variant(std::int16_t{Plotrex_ScaleInitialize})},
  };
  for (const auto& [id, value] : kSetup) {
    // The set-up runs inside paint, which must not fail; each step stands on its own.
    try {
      put(id, value);
    } catch (const automation::AutomationError&) {
    }
  }
}

void CKvplotaxCtrl::relayout() {
  const gdi::Rect client = state_.clientRect();
  state_.relayout(client);
  handOutSurface();
  autoSizeIfNeeded();
  // Scales are laid out again for the moved viewports; while designing every scale is built
  // again, as the designer shows it.
  if (ambientUserMode()) {
    relayoutScaleItems();
  } else {
    reinitScalesWhileDesigning();
  }
  repaint();
}

void CKvplotaxCtrl::repaint() {
  if (painter_.hasSurface()) {
    painter_.fullRedraw();
    painter_.paintIfImmediate();
  } else if (!painter_.paintDisabled()) {
    invalidateAll();
  }
}

void CKvplotaxCtrl::invalidateArea(const gdi::Rect& area) {
  if (painter_.hasSurface()) {
    painter_.invalidate(area);
  } else if (!painter_.paintDisabled()) {
    invalidate(area);
  }
}

void CKvplotaxCtrl::invalidateSurfaceRect(const gdi::Rect& rect, bool) { invalidate(rect); }

void CKvplotaxCtrl::forEachViewport(output::ViewportVisitor& visitor) {
  for (auto& [number, viewport] : state_.live().viewports()) visitor.visit(viewport);
}

gdi::ColorRef CKvplotaxCtrl::backColor() const {
  return translateColor(state_.settings().backColor);
}

void CKvplotaxCtrl::drawBezel(output::DrawSurface& surface, gdi::Rect& work) {
  const ControlSettings& s = state_.settings();
  const bezel::OutlineSettings outline{s.outlineColor, s.outline, s.roundedCorners};
  const bezel::BevelSettings bevel{s.lightColor,      s.shadowColor, s.borderColor,
                                   s.bevelInner,      s.bevelOuter,  s.bevelWidthInner,
                                   s.bevelWidthOuter, s.borderWidth};
  bezel::drawBezel(surface.dc(), outline, bevel, work);
}

void CKvplotaxCtrl::layoutViewports(const gdi::Rect&) {
  state_.relayout(state_.clientRect());
  handOutSurface();
}

void CKvplotaxCtrl::handOutSurface() {
  // Viewports made by a layout after the surface was (a larger Viewports at run time) draw
  // on it too.
  if (!painter_.hasSurface()) return;
  for (auto& [number, viewport] : state_.live().viewports())
    if (!viewport.surface()) viewport.setSurface(painter_.surface());
}

void CKvplotaxCtrl::drawGraticule(output::DrawSurface& surface, const gdi::Rect& clip) {
  const ControlSettings& s = state_.settings();
  graticule::GraticuleSettings g;
  g.gridOn = s.gridOn;
  g.gridType = s.gridType;
  g.axesType = s.axesType;
  g.axesTics = s.axesTics;
  g.frameOn = s.frameOn;
  g.frameTics = s.frameTics;
  g.frameColor = translateColor(s.frameColor);
  g.axesColor = translateColor(s.axesColor);
  g.gridColor = translateColor(s.gridColor);
  g.majorDivHorz = s.majorDivHorz;
  g.majorDivVert = s.majorDivVert;
  g.minorDiv = s.minorDiv;
  g.viewports = s.viewports;
  graticule::drawGraticule(surface.dc(), g, state_.geometry(), clip);
}

void CKvplotaxCtrl::paintNow() {
  if (site()) site()->updateWindow();
}

void CKvplotaxCtrl::repaintAtDesignTime() {
  if (ambientUserMode()) return;
  // Window ranges and pen colours show in the scales' numbers.
  reinitScalesWhileDesigning();
  repaint();
}

void CKvplotaxCtrl::autoSizeIfNeeded() {
  if (!state_.settings().autoSize || !ambientUserMode() || hWnd() == 0 || autoSizing_ || !site())
    return;
  const gdi::Point extent =
      layout::autoSizeExtent(state_.geometry(), state_.bezelThickness(), state_.counts());
  const gdi::Rect& client = state_.clientRect();
  if (extent.x == client.width() && extent.y == client.height()) return;
  autoSizing_ = true;
  site()->requestResize(extent.x, extent.y);
  autoSizing_ = false;
}

void CKvplotaxCtrl::onFontChanged() {
  // The scales take the new font: their items are laid out again at once.
  fonts_ = {};
  if (ambientUserMode()) relayoutScaleItems();
  repaintAtDesignTime();
}

void CKvplotaxCtrl::doAction(std::int16_t action) {
  const auto base = static_cast<std::int16_t>(state_.settings().errBase);
  switch (action) {
    case Plotrex_Rescale:
      state_.commitWindow();
      for (const auto& [number, w] : state_.maps().windows) {
        if (!std::isfinite(w.xmin) || !std::isfinite(w.ymin))
          raiseControlError(base, ControlError::InvalidWindow);
        if (!(w.width > 0.0f) || !std::isfinite(w.width))
          raiseControlError(base, ControlError::WindowWidth);
        if (!(w.height > 0.0f) || !std::isfinite(w.height))
          raiseControlError(base, ControlError::WindowHeight);
      }
      if (ambientUserMode() && hasSurface() && !refreshing_) rescaleTraces();
      break;
    case Plotrex_CopyToClipboard:
    case Plotrex_AppendToClipboard:
    case Plotrex_Print:
    case Plotrex_WriteToDisk: {
      if (!hasSurface()) raiseControlError(base, ControlError::InvalidSurface);
      using Result = output::ChartPainter::OutputResult;
      Result result = Result::kDone;
      if (action == Plotrex_Print) {
        // A failed print is not reported, and the chart is not redrawn after it.
        if (painter_.print(site() ? site()->printServices() : nullptr) != 0) return;
      } else if (action == Plotrex_WriteToDisk) {
        result = painter_.writeToDisk(state_.settings().imageFile);
      } else if (action != Plotrex_Print && site()) {
        result = painter_.copyToClipboard(site()->clipboard(), action == Plotrex_AppendToClipboard);
      }
      // Failed output is not reported; only a missing surface or file name is.
      if (result == Result::kNoSurface) raiseControlError(base, ControlError::InvalidSurface);
      if (result == Result::kInvalidFileName)
        raiseControlError(base, ControlError::InvalidFileName);
      break;
    }
    case Plotrex_DisablePaint:
      painter_.disablePaint();
      break;
    case Plotrex_EnablePaint:
      state_.drawing().dirty = true;
      if (painter_.enablePaint()) {
        painter_.markFullRedrawPending();
        paintNow();
      }
      return;
    default:
      break;
  }
  repaint();
}

namespace {

[[noreturn]] void wrongArgumentCount() {
  throw automation::AutomationError::custom(450,
                                            "Wrong number of arguments or invalid property "
                                            "assignment");
}

}  // namespace

Variant CKvplotaxCtrl::chartData(std::span<Variant> args) {
  if (args.size() != 6) wrongArgumentCount();
  const std::int16_t chn = args[0].deref().toI2();
  const std::int32_t nPts = args[1].deref().toI4();
  const std::int32_t yOffset = args[3].deref().toI4();
  const std::int32_t xOffset = args[5].deref().toI4();
  LockedArray x;
  LockedArray y;
  x.accept(args[4], xOffset);
  y.accept(args[2], yOffset);
  // Without a drawing surface there is nowhere to put the points yet.
  if (!hasSurface()) return Variant(std::int32_t{0});
  if (!state_.live().hasTraceEntry(chn)) return Variant(PlotrexData_InvChn);
  if (!state_.live().trace(chn)) return Variant(PlotrexData_NotInit);
  auto* item = dynamic_cast<trace::TraceItem*>(state_.live().trace(chn));
  if (!item) return Variant(PlotrexData_NotInit);
  if (nPts < 1) return Variant(PlotrexData_Bounds);
  const std::int32_t held = item->addBlock(nPts, y.bytes(), x.bytes());
  const gdi::Rect area = item->takeChangedArea();
  if (held < 0) {
    painter_.invalidate(area);
    return Variant(held);
  }
  state_.drawing().dirty = true;
  painter_.dataDelivered(area);
  return Variant(held);
}

Variant CKvplotaxCtrl::printWindow(std::span<Variant> args) {
  if (args.size() != 6) wrongArgumentCount();
  const auto window = static_cast<std::uint32_t>(args[0].deref().toI4());
  const auto area = static_cast<std::int16_t>(args[1].deref().toI4() & 0xFFFF);
  const auto option = static_cast<std::int16_t>(args[2].deref().toI4() & 0xFFFF);
  const auto xScale = static_cast<std::uint16_t>(args[3].deref().toI4() & 0xFFFF);
  const auto yScale = static_cast<std::uint16_t>(args[4].deref().toI4() & 0xFFFF);
  // The job name travels in a buffer of 128 characters.
  const std::string jobName = output::cutCharacters(args[5].deref().toString(), 127);
  const std::uint16_t result = output::CaptureAndPrintWindow(
      site() ? site()->printServices() : nullptr, window, area, option, xScale, yScale, jobName);
  return Variant(static_cast<std::int32_t>(result));
}

}  // namespace kvplotax
