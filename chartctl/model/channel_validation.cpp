#include "channel_validation.h"

#include "control_errors.h"
#include "enums.h"

namespace kvplotax {
namespace {

void validateDescription(CChartState& state, const ChnDataSettings* d) {
  const auto base = static_cast<std::int16_t>(state.settings().errBase);
  if (!d) raiseControlError(base, ControlError::InvalidData);
  if (d->shape != Plotrex_AutoIncr && d->incr <= 0)
    raiseControlError(base, ControlError::InvalidIncrement);
  if (d->xform != 0) validateTransform(state, d->xform);
}

}  // namespace

void validateTransform(CChartState& state, std::int32_t t) {
  const auto base = static_cast<std::int16_t>(state.settings().errBase);
  const XformSettings* x = t > 0 ? findSetting(state.maps().xforms, t) : nullptr;
  if (!x) raiseControlError(base, ControlError::InvalidTransform);
  if (x->kind != 0 && x->kind != 1) raiseControlError(base, ControlError::UnrecognizedTransform);
  if (x->gain == 0.0f) raiseControlError(base, ControlError::GainIsZero);
  const std::int32_t m = x->msb;
  const std::int32_t l = x->lsb;
  if ((m < 0 && l > 0) || (m >= 0 && m < l)) raiseControlError(base, ControlError::InvalidMsb);
  if ((l < 0 && m > 0) || (l >= 0 && l > m)) raiseControlError(base, ControlError::InvalidLsb);
}

void validateChannel(CChartState& state) {
  const auto base = static_cast<std::int16_t>(state.settings().errBase);
  CSettingMaps& maps = state.maps();
  const ChannelSettings& chn = state.staged().channel;

  state.commitPen();
  if (chn.pen <= 0 || !findSetting(maps.pens, chn.pen))
    raiseControlError(base, ControlError::InvalidPen);

  state.commitWindow();
  const WindowObject* w = chn.window > 0 ? findSetting(maps.windows, chn.window) : nullptr;
  if (!w) raiseControlError(base, ControlError::InvalidWindow);
  if (!(w->width > 0.0f)) raiseControlError(base, ControlError::WindowWidth);
  if (!(w->height > 0.0f)) raiseControlError(base, ControlError::WindowHeight);

  state.commitViewport();
  if (chn.viewport <= 0 || !state.live().viewport(chn.viewport))
    raiseControlError(base, ControlError::InvalidViewport);

  state.commitXform();
  state.commitData();

  const std::int32_t c = state.selection().channel;
  const ChnDataSettings* vert = findSetting(maps.vertData, c);
  validateDescription(state, vert);
  const ChnDataSettings* horz = findSetting(maps.horzData, c);
  if (vert->shape != Plotrex_Pair) {
    validateDescription(state, horz);
    const bool refused = (vert->shape == Plotrex_AutoIncr &&
                          (horz->shape == Plotrex_AutoIncr || horz->shape == Plotrex_Pair)) ||
                         (vert->shape == Plotrex_Scalar && horz->shape == Plotrex_Pair);
    if (refused) raiseControlError(base, ControlError::ShapesIncompatible);
  }
  if (static_cast<std::uint32_t>(chn.bufLen) > 0x1FFFFFFFu)
    raiseControlError(base, ControlError::InvalidPointCount);
}

}  // namespace kvplotax
