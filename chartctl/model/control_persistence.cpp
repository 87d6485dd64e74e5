// The control's persisted entries: the exchange list and the rebuild after a load.
#include <utility>

#include "automation/picture.h"
#include "dispids.h"
#include "enums.h"
#include "kvplotax_ctrl.h"
#include "ocx/prop_exchange.h"
#include "persist_prop.h"
#include "setting_maps_stream.h"

namespace kvplotax {

using automation::Variant;

namespace {

constexpr std::uint32_t kExchangeVersion = 0x00010000;

// A setting held in 32 bits but exchanged as a short.
bool exchangeShort(ocx::PropExchange& px, std::string_view name, std::int32_t& field) {
  auto v = static_cast<std::int16_t>(field);
  if (!px.i2(name, v)) return false;
  field = v;
  return true;
}

Variant i2(std::int32_t v) { return Variant(static_cast<std::int16_t>(v)); }

}  // namespace

void CKvplotaxCtrl::doPropExchange(ocx::PropExchange& px) {
  std::uint32_t version = kExchangeVersion;
  px.version(version);
  exchangeStockProps(px);
  // A new control's own entries are not exchanged until its first paint has set it up.
  if (reset_) return;
  exchangeEntries(px);
}

void CKvplotaxCtrl::exchangeEntries(ocx::PropExchange& px) {
  ControlSettings& s = state_.settings();
  const bool loading = px.loading();
  // Values that go through the selectors or the property rules after loading are read into
  // locals; the others go straight into the settings, as they were saved.
  std::int32_t viewports = s.viewports;
  exchangeShort(px, "ErrBase", s.errBase);
  px.color("BorderColor", s.borderColor);
  px.color("LightColor", s.lightColor);
  px.color("ShadowColor", s.shadowColor);
  exchangeShort(px, "BevelInner", s.bevelInner);
  exchangeShort(px, "BevelOuter", s.bevelOuter);
  exchangeShort(px, "BevelWidth_Inner", s.bevelWidthInner);
  exchangeShort(px, "BevelWidth_Outer", s.bevelWidthOuter);
  exchangeShort(px, "BorderWidth", s.borderWidth);
  px.boolean("Outline", s.outline);
  px.color("OutlineColor", s.outlineColor);
  px.boolean("RoundedCorners", s.roundedCorners);
  px.text("ImageFile", s.imageFile);
  px.boolean("HitTest", s.hitTest);
  exchangeShort(px, "FramesPerSec", s.framesPerSec);
  px.boolean("AutoSize", s.autoSize);
  exchangeShort(px, "Viewports", viewports);
  px.boolean("FrameOn", s.frameOn);
  exchangeShort(px, "FrameTics", s.frameTics);
  exchangeShort(px, "AxesType", s.axesType);
  exchangeShort(px, "GridType", s.gridType);
  exchangeShort(px, "AxesTics", s.axesTics);
  px.boolean("GridOn", s.gridOn);
  px.color("BackColor", s.backColor);
  px.color("FrameColor", s.frameColor);
  px.color("AxesColor", s.axesColor);
  px.color("GridColor", s.gridColor);
  exchangeShort(px, "MajorDivHorz", s.majorDivHorz);
  exchangeShort(px, "MajorDivVert", s.majorDivVert);
  exchangeShort(px, "MinorDiv", s.minorDiv);
  for (const auto& [name, field] :
       {std::pair{"MarginLeft", &s.marginLeft}, std::pair{"MarginTop", &s.marginTop},
        std::pair{"MarginRight", &s.marginRight}, std::pair{"MarginBottom", &s.marginBottom}}) {
    // Saved as longs, but the properties take shorts: a margin beyond them is not one a chart
    // could have had, and would overflow the layout's pixel arithmetic.
    std::int32_t margin = *field;
    if (px.i4(name, margin) && margin >= -32768 && margin <= 32767) *field = margin;
  }
  px.color("ViewportStorageColor", s.viewportStorageColor);
  px.boolean("ViewportStorageOn", state_.staged().viewport.storageOn);
  std::int32_t dimension = state_.selection().dataDimension;
  exchangeShort(px, "ChnData_Dimension", dimension);
  exchangeShort(px, "ColorDepth", s.colorDepth);
  std::int32_t firstScaleSelect = state_.selection().scale;
  exchangeShort(px, "Scale_Select", firstScaleSelect);
  px.i4("ChnDspUserData", state_.staged().channel.userData);
  // Saved as the isotropic flag itself: 1 means isotropic.
  std::int32_t isotropic = s.isotropic ? 1 : 0;
  if (exchangeShort(px, "GridSymmetry", isotropic)) s.isotropic = isotropic != 0;
  std::int32_t pointer = s.mousePointer;
  if (!exchangeShort(px, "MousePointer", pointer) && loading) pointer = 0;
  s.mousePointer = pointer;
  std::vector<std::uint8_t> icon;
  if (const auto* picture = dynamic_cast<const automation::Picture*>(mouseIcon.get()))
    icon = picture->png();
  if (px.binary("MouseIcon", icon) && loading) {
    mouseIcon = icon.empty() ? nullptr : automation::Picture::fromPng(icon);
  }
  exchangeSettingMaps(px);
  std::int32_t selections[6] = {state_.selection().pen,      state_.selection().window,
                                state_.selection().viewport, state_.selection().xform,
                                state_.selection().channel,  state_.selection().scale};
  const char* const kSelectors[6] = {"Pen_Select",      "Wnd_Select", "Viewport_Select",
                                     "ChnXform_Select", "Chn_Select", "Scale_Select"};
  for (int i = 0; i < 6; ++i) exchangeShort(px, kSelectors[i], selections[i]);
  // After the list: what the scale records cannot hold of a scale's second axis.
  std::vector<std::uint8_t> axisLabels;
  if (!loading) writeScaleAxisLabels(state_.maps(), axisLabels);
  if (px.binary("ScaleAxisLabels", axisLabels) && loading)
    readScaleAxisLabels(axisLabels, state_.maps());
  if (!loading) return;
  // Loaded settings a property would have refused are put right as the group tests do; the
  // viewport count goes through its property below.
  // The bezel test puts right one width at a time.
  for (int i = 0; i < 3 && !state_.testBezel(); ++i) {
  }
  state_.testGraticule();
  rebuildAfterLoad(
      static_cast<std::int16_t>(selections[0]), static_cast<std::int16_t>(selections[1]),
      static_cast<std::int16_t>(viewports), static_cast<std::int16_t>(selections[2]),
      static_cast<std::int16_t>(selections[3]), static_cast<std::int16_t>(selections[4]),
      static_cast<std::int16_t>(selections[5]));
  // The channel commands of the rebuild leave the vertical description selected; the saved
  // dimension is put back, so that saving the loaded chart again gives the bytes it came from.
  try {
    put(dispid::ChnData_Dimension, i2(dimension));
  } catch (const automation::AutomationError&) {
  }
}

void CKvplotaxCtrl::exchangeSettingMaps(ocx::PropExchange& px) {
  automation::Guid clsid = PersistProp::classId();
  std::vector<std::uint8_t> stream;
  if (!px.loading()) {
    PersistProp object;
    object.setState(&state_);
    stream = object.save();
    px.object("PersistProp", clsid, stream);
    return;
  }
  if (!px.object("PersistProp", clsid, stream) || !(clsid == PersistProp::classId())) return;
  PersistProp object;
  object.load(stream);
  CSettingMaps loaded = object.takeLoaded();
  std::swap(state_.maps(), loaded);
}

void CKvplotaxCtrl::rebuildAfterLoad(std::int16_t pen, std::int16_t window, std::int16_t viewports,
                                     std::int16_t viewport, std::int16_t xform,
                                     std::int16_t channel, std::int16_t scale) {
  namespace d = dispid;
  // Each step stands on its own: a value the saved data got wrong is skipped, not fatal.
  auto apply = [this](automation::DispId id, const Variant& value) {
    try {
      put(id, value);
    } catch (const automation::AutomationError&) {
    }
  };
  // A selector written with a negative number deletes that object: a damaged saved selection
  // selects nothing instead.
  auto selection = [](std::int16_t saved) { return i2(saved < 0 ? 0 : saved); };
  const gdi::Point size = site() ? site()->clientSize() : gdi::Point{0, 0};
  state_.relayout({0, 0, size.x, size.y});
  apply(d::Pen_Select, selection(pen));
  apply(d::Wnd_Select, selection(window));
  apply(d::Viewports, i2(viewports));
  apply(d::Viewport_Select, selection(viewport));
  apply(d::ChnXform_Select, selection(xform));
  relayout();
  apply(d::Chn_Select, selection(channel));
  for (std::int16_t dim : {0, 1}) {
    apply(d::ChnData_Dimension, i2(dim));
    apply(d::ChnDspAction, i2(Plotrex_ChnInitialize));
  }
  std::vector<std::int16_t> numbers;
  numbers.reserve(state_.maps().scales.size());
  for (const auto& [number, object] : state_.maps().scales) numbers.push_back(number);
  for (std::int16_t number : numbers) {
    apply(d::Scale_Select, i2(number));
    ScaleObject* object = state_.selectedScale();
    if (!object) continue;
    const std::int32_t remembered = object->dimension();
    for (std::int16_t dim : {0, 1}) {
      apply(d::ScaleDimension, i2(dim));
      apply(d::ScaleAction, i2(Plotrex_ScaleInitialize));
    }
    apply(d::ScaleDimension, i2(remembered));
  }
  // A chart saved without a selected scale (or with a damaged one) comes back without one,
  // rather than with whichever scale the loop above selected last.
  if (scale <= 0) {
    state_.clearScaleSelection();
  } else {
    apply(d::Scale_Select, i2(scale));
  }
}

}  // namespace kvplotax
