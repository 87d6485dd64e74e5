// The channel commands of ChnDspAction: building a channel's trace item and acting on it.
#include "channel_validation.h"
#include "control_errors.h"
#include "enums.h"
#include "kvplotax_ctrl.h"
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
  const trace::PenColors colors{record->color, record->intenseColor, s.backColor,
                                s.viewportStorageColor};
  const int count = painter_.colorCount();
  if (trace::PenDrawing* pen = state_.live().pen(n)) {
    pen->update(record->style, record->width, colors, count);
    return pen;
  }
  auto pen = std::make_unique<trace::PenDrawing>(record->style, record->width, colors, count);
  trace::PenDrawing* raw = pen.get();
  state_.live().setPen(static_cast<std::int16_t>(n), std::move(pen));
  return raw;
}

void CKvplotaxCtrl::initializeChannel(std::int32_t c) {
  const ChannelSettings chn = state_.staged().channel;
  const auto base = static_cast<std::int16_t>(state_.settings().errBase);
  state_.selectViewport(static_cast<std::int16_t>(chn.viewport), logPixelsX(), logPixelsY());
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
  std::unique_ptr<trace::TraceItem> item = trace::createTraceItem(setup);
  if (!item || !item->valid()) raiseControlError(base, ControlError::InvalidPointCount);
  invalidateArea(state_.live().removeTrace(c));
  setup.viewport->addItem(item.get());
  state_.live().setTrace(static_cast<std::int16_t>(c), std::move(item));
}

void CKvplotaxCtrl::doChannelAction(std::int16_t action) {
  if (!ambientUserMode() || !hasSurface()) return;
  state_.staged().channel.action = action;
  state_.commitChannel();
  const std::int32_t c = state_.selection().channel;
  if (c <= 0 || !findSetting(state_.maps().channels, c)) return;
  if (action < Plotrex_ChnInitialize || action > Plotrex_ChnTranslate) return;
  validateChannel(state_);
  if (action == Plotrex_ChnInitialize) {
    initializeChannel(c);
    return;
  }
  auto* item = dynamic_cast<trace::TraceItem*>(state_.live().trace(c));
  if (!item) {
    raiseControlError(static_cast<std::int16_t>(state_.settings().errBase),
                      ControlError::ChannelNotInitialized);
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
    default:
      // Moving a trace to another viewport or window is not offered by the trace items yet.
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

}  // namespace kvplotax
