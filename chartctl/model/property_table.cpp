#include "property_table.h"

#include <strings.h>
#include <algorithm>
#include <array>

#include "dispids.h"
#include "enums.h"
#include "kvplotax_ctrl.h"
#include "property_helpers.h"

namespace kvplotax {
namespace {

using namespace props;
using C = CKvplotaxCtrl;
using Args = std::span<Variant>;
namespace d = dispid;

ControlSettings& cfg(C& c) { return c.state().settings(); }
StagedValues& st(C& c) { return c.state().staged(); }

// Font attributes mirror the stock font; they cannot be read while designing.
template <class Read>
Variant fontGet(C& c, Read read) {
  refuseReadInDesignMode(c);
  return read(c.font());
}
template <class Write>
void fontPut(C& c, Write write) {
  ocx::Font f = c.font();
  write(f);
  c.setFont(f);
}

// Scale properties act on the selected scale; without one a read gives 0 and a write nothing.
Variant scaleField(C& c, ScaleField f) {
  ScaleObject* s = c.state().selectedScale();
  return i2(s ? s->field(f) : 0);
}
void setScaleField(C& c, ScaleField f, const Variant& v, DispId id) {
  const std::int32_t value = asI2(v);
  ScaleObject* s = c.state().selectedScale();
  if (!s) return;
  if (!ScaleObject::accepts(f, value)) raiseInvalidValue();
  if (f == ScaleField::Visibility && value != 0) {
    const auto base = static_cast<std::int16_t>(cfg(c).errBase);
    if (s->window <= 0) raiseControlError(base, ControlError::InvalidWindow);
    if (s->viewport <= 0) raiseControlError(base, ControlError::InvalidViewport);
  }
  if (!s->setField(f, value)) return;
  c.changed(id);
  c.scaleChangedWhileDesigning();
}

// A window coordinate from a position in twips in the selected viewport.
void setWndX(C& c, const Variant& v) {
  const float x = v.toR4();
  const ViewportSettings& vp = st(c).viewport;
  if (vp.right == vp.left) return;
  const WindowObject& w = st(c).window;
  st(c).wndX =
      w.xmin + (x - static_cast<float>(vp.left)) * w.width / static_cast<float>(vp.right - vp.left);
}
void setWndY(C& c, const Variant& v) {
  const float y = v.toR4();
  const ViewportSettings& vp = st(c).viewport;
  if (vp.top == vp.bottom) return;
  const WindowObject& w = st(c).window;
  st(c).wndY = w.ymin + (static_cast<float>(vp.bottom) - y) * w.height /
                            static_cast<float>(vp.bottom - vp.top);
}

void refuseWrite(C&, const Variant&) { ocx::Control::throwError(automation::kErrSetNotSupported); }

#define SCALE_FIELD(NAME, FIELD)                                         \
  PropertyEntry {                                                        \
#NAME, d::NAME, [](C& c) { return scaleField(c, ScaleField::FIELD); }, \
        [](C& c, const Variant& v) { setScaleField(c, ScaleField::FIELD, v, d::NAME); }, nullptr \
  }

const PropertyEntry kTable[] = {
    // Stock font attributes.
    {"FontBold", d::FontBold,
     [](C& c) { return fontGet(c, [](const ocx::Font& f) { return boolean(f.bold); }); },
     [](C& c, const Variant& v) { fontPut(c, [&](ocx::Font& f) { f.bold = v.toBool(); }); },
     nullptr},
    {"FontItalic", d::FontItalic,
     [](C& c) { return fontGet(c, [](const ocx::Font& f) { return boolean(f.italic); }); },
     [](C& c, const Variant& v) { fontPut(c, [&](ocx::Font& f) { f.italic = v.toBool(); }); },
     nullptr},
    {"FontName", d::FontName,
     [](C& c) { return fontGet(c, [](const ocx::Font& f) { return Variant(f.name); }); },
     [](C& c, const Variant& v) { fontPut(c, [&](ocx::Font& f) { f.name = v.toString(); }); },
     nullptr},
    {"FontSize", d::FontSize,
     [](C& c) { return fontGet(c, [](const ocx::Font& f) { return r4(f.size); }); },
     [](C& c, const Variant& v) {
       const float size = v.toR4();
       if (!(size > 0.0f)) raiseInvalidValue();
       fontPut(c, [&](ocx::Font& f) { f.size = size; });
     },
     nullptr},
    {"FontStrikethru", d::FontStrikethru,
     [](C& c) { return fontGet(c, [](const ocx::Font& f) { return boolean(f.strikethrough); }); },
     [](C& c, const Variant& v) {
       fontPut(c, [&](ocx::Font& f) { f.strikethrough = v.toBool(); });
     },
     nullptr},
    {"FontUnderline", d::FontUnderline,
     [](C& c) { return fontGet(c, [](const ocx::Font& f) { return boolean(f.underline); }); },
     [](C& c, const Variant& v) { fontPut(c, [&](ocx::Font& f) { f.underline = v.toBool(); }); },
     nullptr},

    // General.
    {"CtlVersion", d::CtlVersion, [](C& c) { return i2(cfg(c).ctlVersion); },
     [](C& c, const Variant& v) { setPlain(c, cfg(c).ctlVersion, asI2(v), d::CtlVersion); },
     nullptr},
    {"FramesPerSec", d::FramesPerSec, [](C& c) { return i2(cfg(c).framesPerSec); },
     [](C& c, const Variant& v) {
       if (setPlain(c, cfg(c).framesPerSec, asI2(v), d::FramesPerSec))
         c.painter().setFramesPerSec(cfg(c).framesPerSec);
     },
     nullptr},
    {"AutoSize", d::AutoSize,
     [](C& c) {
       refuseReadInDesignMode(c);
       return boolean(cfg(c).autoSize);
     },
     [](C& c, const Variant& v) {
       if (!c.ambientUserMode()) ocx::Control::throwError(automation::kErrSetNotSupported);
       setGraticule(c, cfg(c).autoSize, v.toBool(), d::AutoSize, Effect::Layout);
     },
     nullptr},
    {"Action", d::Action, [](C&) { return i2(0); },
     [](C& c, const Variant& v) { c.doAction(static_cast<std::int16_t>(asI2(v))); }, nullptr},
    {"ColorDepth", d::ColorDepth, [](C& c) { return i2(cfg(c).colorDepth); },
     [](C& c, const Variant& v) {
       if (setPlain(c, cfg(c).colorDepth, asI2(v), d::ColorDepth))
         c.painter().setColorDepth(cfg(c).colorDepth);
     },
     nullptr},
    {"ErrBase", d::ErrBase, [](C& c) { return i2(cfg(c).errBase); },
     [](C& c, const Variant& v) { setPlain(c, cfg(c).errBase, asI2(v), d::ErrBase); }, nullptr},
    {"ImageFile", d::ImageFile, [](C& c) { return Variant(cfg(c).imageFile); },
     [](C& c, const Variant& v) { setPlain(c, cfg(c).imageFile, v.toString(), d::ImageFile); },
     nullptr},
    {"HitTest", d::HitTest, [](C& c) { return boolean(cfg(c).hitTest); },
     [](C& c, const Variant& v) { setPlain(c, cfg(c).hitTest, v.toBool(), d::HitTest); },
     nullptr},
    {"PersistProp", d::PersistProp,
     [](C&) { return Variant(std::shared_ptr<automation::Dispatch>()); }, nullptr, nullptr},
    {"MousePointer", d::MousePointer, [](C& c) { return i2(cfg(c).mousePointer); },
     [](C& c, const Variant& v) {
       if (setPlain(c, cfg(c).mousePointer, asI2(v), d::MousePointer)) c.refreshCursor();
     },
     nullptr},
    {"MouseIcon", d::MouseIcon, [](C& c) { return Variant(c.mouseIcon); },
     [](C& c, const Variant& v) { setPlain(c, c.mouseIcon, v.toDispatch(), d::MouseIcon); },
     nullptr},

    // Bezel.
    {"BorderColor", d::BorderColor, [](C& c) { return color(cfg(c).borderColor); },
     [](C& c, const Variant& v) {
       setBezel(c, cfg(c).borderColor, asColor(v), d::BorderColor, Effect::Repaint);
     },
     nullptr},
    {"LightColor", d::LightColor, [](C& c) { return color(cfg(c).lightColor); },
     [](C& c, const Variant& v) {
       setBezel(c, cfg(c).lightColor, asColor(v), d::LightColor, Effect::Repaint);
     },
     nullptr},
    {"ShadowColor", d::ShadowColor, [](C& c) { return color(cfg(c).shadowColor); },
     [](C& c, const Variant& v) {
       setBezel(c, cfg(c).shadowColor, asColor(v), d::ShadowColor, Effect::Repaint);
     },
     nullptr},
    {"BevelInner", d::BevelInner, [](C& c) { return i2(cfg(c).bevelInner); },
     [](C& c, const Variant& v) {
       setBezel(c, cfg(c).bevelInner, asI2(v), d::BevelInner, Effect::Layout);
     },
     nullptr},
    {"BevelOuter", d::BevelOuter, [](C& c) { return i2(cfg(c).bevelOuter); },
     [](C& c, const Variant& v) {
       setBezel(c, cfg(c).bevelOuter, asI2(v), d::BevelOuter, Effect::Layout);
     },
     nullptr},
    {"BevelWidth_Inner", d::BevelWidth_Inner, [](C& c) { return i2(cfg(c).bevelWidthInner); },
     [](C& c, const Variant& v) {
       setBezel(c, cfg(c).bevelWidthInner, asI2(v), d::BevelWidth_Inner, Effect::Layout);
     },
     nullptr},
    {"BevelWidth_Outer", d::BevelWidth_Outer, [](C& c) { return i2(cfg(c).bevelWidthOuter); },
     [](C& c, const Variant& v) {
       setBezel(c, cfg(c).bevelWidthOuter, asI2(v), d::BevelWidth_Outer, Effect::Layout);
     },
     nullptr},
    {"BorderWidth", d::BorderWidth, [](C& c) { return i2(cfg(c).borderWidth); },
     [](C& c, const Variant& v) {
       setBezel(c, cfg(c).borderWidth, asI2(v), d::BorderWidth, Effect::Layout);
     },
     nullptr},
    {"Outline", d::Outline, [](C& c) { return boolean(cfg(c).outline); },
     [](C& c, const Variant& v) {
       setGrouped(c, cfg(c).outline, v.toBool(), d::Outline, Effect::Repaint, [] { return true; });
     },
     nullptr},
    {"OutlineColor", d::OutlineColor, [](C& c) { return color(cfg(c).outlineColor); },
     [](C& c, const Variant& v) {
       setGrouped(c, cfg(c).outlineColor, asColor(v), d::OutlineColor, Effect::Repaint,
                  [] { return true; });
     },
     nullptr},
    {"RoundedCorners", d::RoundedCorners, [](C& c) { return boolean(cfg(c).roundedCorners); },
     [](C& c, const Variant& v) {
       setGrouped(c, cfg(c).roundedCorners, v.toBool(), d::RoundedCorners, Effect::Repaint,
                  [] { return true; });
     },
     nullptr},

    // Graticule and layout.
    {"FrameOn", d::FrameOn, [](C& c) { return boolean(cfg(c).frameOn); },
     [](C& c, const Variant& v) {
       setGraticule(c, cfg(c).frameOn, v.toBool(), d::FrameOn, Effect::Repaint);
     },
     nullptr},
    {"FrameTics", d::FrameTics, [](C& c) { return i2(cfg(c).frameTics); },
     [](C& c, const Variant& v) {
       setGraticule(c, cfg(c).frameTics, asI2(v), d::FrameTics, Effect::Repaint);
     },
     nullptr},
    {"AxesType", d::AxesType, [](C& c) { return i2(cfg(c).axesType); },
     [](C& c, const Variant& v) {
       setGraticule(c, cfg(c).axesType, asI2(v), d::AxesType, Effect::Repaint);
     },
     nullptr},
    {"GridType", d::GridType, [](C& c) { return i2(cfg(c).gridType); },
     [](C& c, const Variant& v) {
       setGraticule(c, cfg(c).gridType, asI2(v), d::GridType, Effect::Repaint);
     },
     nullptr},
    {"AxesTics", d::AxesTics, [](C& c) { return i2(cfg(c).axesTics); },
     [](C& c, const Variant& v) {
       setGraticule(c, cfg(c).axesTics, asI2(v), d::AxesTics, Effect::Repaint);
     },
     nullptr},
    {"GridOn", d::GridOn, [](C& c) { return boolean(cfg(c).gridOn); },
     [](C& c, const Variant& v) {
       setGraticule(c, cfg(c).gridOn, v.toBool(), d::GridOn, Effect::Repaint);
     },
     nullptr},
    {"BackColor", d::BackColor, [](C& c) { return color(cfg(c).backColor); },
     [](C& c, const Variant& v) {
       setGraticule(c, cfg(c).backColor, asColor(v), d::BackColor, Effect::Repaint);
       c.eraseColorsChanged();
     },
     nullptr},
    {"FrameColor", d::FrameColor, [](C& c) { return color(cfg(c).frameColor); },
     [](C& c, const Variant& v) {
       setGraticule(c, cfg(c).frameColor, asColor(v), d::FrameColor, Effect::Repaint);
     },
     nullptr},
    {"AxesColor", d::AxesColor, [](C& c) { return color(cfg(c).axesColor); },
     [](C& c, const Variant& v) {
       setGraticule(c, cfg(c).axesColor, asColor(v), d::AxesColor, Effect::Repaint);
     },
     nullptr},
    {"GridColor", d::GridColor, [](C& c) { return color(cfg(c).gridColor); },
     [](C& c, const Variant& v) {
       setGraticule(c, cfg(c).gridColor, asColor(v), d::GridColor, Effect::Repaint);
     },
     nullptr},
    {"MajorDivHorz", d::MajorDivHorz, [](C& c) { return i2(cfg(c).majorDivHorz); },
     [](C& c, const Variant& v) {
       const std::int32_t n = asI2(v);
       if (n == 0) raiseInvalidValue();
       setGraticule(c, cfg(c).majorDivHorz, n, d::MajorDivHorz, Effect::Layout);
     },
     nullptr},
    {"MajorDivVert", d::MajorDivVert, [](C& c) { return i2(cfg(c).majorDivVert); },
     [](C& c, const Variant& v) {
       const std::int32_t n = asI2(v);
       if (n == 0) raiseInvalidValue();
       setGraticule(c, cfg(c).majorDivVert, n, d::MajorDivVert, Effect::Layout);
     },
     nullptr},
    {"MinorDiv", d::MinorDiv, [](C& c) { return i2(cfg(c).minorDiv); },
     [](C& c, const Variant& v) {
       setGraticule(c, cfg(c).minorDiv, asI2(v), d::MinorDiv, Effect::Layout);
     },
     nullptr},
    {"MarginLeft", d::MarginLeft, [](C& c) { return i2(cfg(c).marginLeft); },
     [](C& c, const Variant& v) {
       if (setPlain(c, cfg(c).marginLeft, asI2(v), d::MarginLeft) && c.hWnd() != 0) c.relayout();
     },
     nullptr},
    {"MarginTop", d::MarginTop, [](C& c) { return i2(cfg(c).marginTop); },
     [](C& c, const Variant& v) {
       if (setPlain(c, cfg(c).marginTop, asI2(v), d::MarginTop) && c.hWnd() != 0) c.relayout();
     },
     nullptr},
    {"MarginRight", d::MarginRight, [](C& c) { return i2(cfg(c).marginRight); },
     [](C& c, const Variant& v) {
       if (setPlain(c, cfg(c).marginRight, asI2(v), d::MarginRight) && c.hWnd() != 0) c.relayout();
     },
     nullptr},
    {"MarginBottom", d::MarginBottom, [](C& c) { return i2(cfg(c).marginBottom); },
     [](C& c, const Variant& v) {
       if (setPlain(c, cfg(c).marginBottom, asI2(v), d::MarginBottom) && c.hWnd() != 0) c.relayout();
     },
     nullptr},
    {"GridSymmetry", d::GridSymmetry, [](C& c) { return i2(cfg(c).isotropic ? 0 : 1); },
     [](C& c, const Variant& v) {
       if (setPlain(c, cfg(c).isotropic, asI2(v) == 0, d::GridSymmetry)) c.relayout();
     },
     nullptr},

    // Viewports.
    {"Viewports", d::Viewports, [](C& c) { return i2(cfg(c).viewports); },
     [](C& c, const Variant& v) {
       const std::int32_t n = asI2(v);
       if (!c.state().setViewportCount(n)) return;
       if (c.state().selection().viewport > n) c.put(d::Viewport_Select, i2(n));
       c.changed(d::Viewports);
       c.relayout();
     },
     nullptr},
    {"Viewport_Select", d::Viewport_Select, [](C& c) { return i2(c.state().selection().viewport); },
     [](C& c, const Variant& v) {
       const auto n = static_cast<std::int16_t>(asI2(v));
       if (!c.state().selectViewport(n, c.logPixelsX(), c.logPixelsY())) raiseInvalidValue();
       if (n != 0) c.changed(d::Viewport_Select);
     },
     nullptr},
    {"ViewportStorageColor", d::ViewportStorageColor,
     [](C& c) { return color(cfg(c).viewportStorageColor); },
     [](C& c, const Variant& v) {
       if (!setPlain(c, cfg(c).viewportStorageColor, asColor(v), d::ViewportStorageColor)) return;
       c.eraseColorsChanged();
       if (c.hWnd() != 0) c.repaint();
     },
     nullptr},
    {"ViewportStorageOn", d::ViewportStorageOn,
     [](C& c) { return boolean(st(c).viewport.storageOn); },
     [](C& c, const Variant& v) {
       st(c).viewport.storageOn = v.toBool();
       const std::int32_t n = c.state().selection().viewport;
       if (n <= 0) return;
       c.state().commitViewport();
       ViewportObject* object = c.state().live().viewport(n);
       if (!object)
         raiseControlError(static_cast<std::int16_t>(cfg(c).errBase), ControlError::InvalidViewport);
       // Only the colour later erases use changes: what storage mode kept stays on the screen.
       object->applyStorage(st(c).viewport.storageOn);
       c.changed(d::ViewportStorageOn);
     },
     nullptr},
    {"ViewportLeft", d::ViewportLeft, [](C& c) { return i4(st(c).viewport.left); }, refuseWrite,
     nullptr},
    {"ViewportRight", d::ViewportRight, [](C& c) { return i4(st(c).viewport.right); }, refuseWrite,
     nullptr},
    {"ViewportTop", d::ViewportTop, [](C& c) { return i4(st(c).viewport.top); }, refuseWrite,
     nullptr},
    {"ViewportBottom", d::ViewportBottom, [](C& c) { return i4(st(c).viewport.bottom); },
     refuseWrite, nullptr},

    // Windows.
    {"Wnd_Select", d::Wnd_Select, [](C& c) { return i2(c.state().selection().window); },
     [](C& c, const Variant& v) {
       c.state().selectWindow(static_cast<std::int16_t>(asI2(v)));
       c.changed(d::Wnd_Select);
     },
     nullptr},
    {"WndXmin", d::WndXmin, [](C& c) { return r4(st(c).window.xmin); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).window.xmin, v.toR4(), d::WndXmin, [&c] { c.state().commitWindow(); },
                 true);
     },
     nullptr},
    {"WndYmin", d::WndYmin, [](C& c) { return r4(st(c).window.ymin); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).window.ymin, v.toR4(), d::WndYmin, [&c] { c.state().commitWindow(); },
                 true);
     },
     nullptr},
    {"WndWidth", d::WndWidth, [](C& c) { return r4(st(c).window.width); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).window.width, v.toR4(), d::WndWidth, [&c] { c.state().commitWindow(); },
                 true);
     },
     nullptr},
    {"WndHeight", d::WndHeight, [](C& c) { return r4(st(c).window.height); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).window.height, v.toR4(), d::WndHeight,
                 [&c] { c.state().commitWindow(); }, true);
     },
     nullptr},
    {"WndX", d::WndX, [](C& c) { return r4(st(c).wndX); }, setWndX, nullptr},
    {"WndY", d::WndY, [](C& c) { return r4(st(c).wndY); }, setWndY, nullptr},

    // Pens.
    {"Pen_Select", d::Pen_Select, [](C& c) { return i2(c.state().selection().pen); },
     [](C& c, const Variant& v) {
       c.state().selectPen(static_cast<std::int16_t>(asI2(v)));
       c.changed(d::Pen_Select);
     },
     nullptr},
    {"PenStyle", d::PenStyle, [](C& c) { return i2(st(c).pen.style); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).pen.style, asI2(v), d::PenStyle, [&c] { c.state().commitPen(); }, true);
     },
     nullptr},
    {"PenWidth", d::PenWidth, [](C& c) { return i2(st(c).pen.width); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).pen.width, asI2(v), d::PenWidth, [&c] { c.state().commitPen(); }, true);
     },
     nullptr},
    {"PenColor", d::PenColor, [](C& c) { return color(st(c).pen.color); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).pen.color, asColor(v), d::PenColor, [&c] { c.state().commitPen(); },
                 true);
     },
     nullptr},
    {"PenIntenseColor", d::PenIntenseColor, [](C& c) { return color(st(c).pen.intenseColor); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).pen.intenseColor, asColor(v), d::PenIntenseColor,
                 [&c] { c.state().commitPen(); }, true);
     },
     nullptr},

    // Channel transforms.
    {"ChnXform_Select", d::ChnXform_Select, [](C& c) { return i2(c.state().selection().xform); },
     [](C& c, const Variant& v) {
       c.state().selectXform(static_cast<std::int16_t>(asI2(v)));
       c.changed(d::ChnXform_Select);
     },
     nullptr},
    {"ChnXformGain", d::ChnXformGain, [](C& c) { return r4(st(c).xform.gain); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).xform.gain, v.toR4(), d::ChnXformGain, [&c] { c.state().commitXform(); });
     },
     nullptr},
    {"ChnXformOffset", d::ChnXformOffset, [](C& c) { return r4(st(c).xform.offset); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).xform.offset, v.toR4(), d::ChnXformOffset,
                 [&c] { c.state().commitXform(); });
     },
     nullptr},
    {"ChnXformMSB", d::ChnXformMSB, [](C& c) { return i2(st(c).xform.msb); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).xform.msb, asI2(v), d::ChnXformMSB, [&c] { c.state().commitXform(); });
     },
     nullptr},
    {"ChnXformLSB", d::ChnXformLSB, [](C& c) { return i2(st(c).xform.lsb); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).xform.lsb, asI2(v), d::ChnXformLSB, [&c] { c.state().commitXform(); });
     },
     nullptr},

    // Channels.
    {"Chn_Select", d::Chn_Select, [](C& c) { return i2(c.state().selection().channel); },
     [](C& c, const Variant& v) {
       const auto n = static_cast<std::int16_t>(asI2(v));
       const gdi::Rect removed = c.state().selectChannel(n);
       c.invalidateArea(removed);
       if (n > 0) {
         c.state().selectDataDimension(1);
         c.state().selectDataDimension(0);
       }
       c.changed(d::Chn_Select);
     },
     nullptr},
    {"ChnDspAction", d::ChnDspAction, [](C& c) { return i2(st(c).channel.action); },
     [](C& c, const Variant& v) { c.doChannelAction(static_cast<std::int16_t>(asI2(v))); },
     nullptr},
    {"ChnDspStyle", d::ChnDspStyle, [](C& c) { return i2(st(c).channel.style); },
     [](C& c, const Variant& v) {
       const std::int32_t style = asI2(v);
       const std::int32_t n = c.state().selection().channel;
       if (n <= 0 || st(c).channel.style == style) return;
       st(c).channel.style = style;
       c.state().commitChannel();
       c.state().selectChannel(static_cast<std::int16_t>(n));
       c.applyChannelStyle(n, style);
       c.changed(d::ChnDspStyle);
     },
     nullptr},
    {"ChnDspMode", d::ChnDspMode, [](C& c) { return i2(st(c).channel.mode); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).channel.mode, asI2(v), d::ChnDspMode,
                 [&c] { c.state().commitChannel(); });
     },
     nullptr},
    {"ChnDspPen", d::ChnDspPen, [](C& c) { return i2(st(c).channel.pen); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).channel.pen, asI2(v), d::ChnDspPen, [&c] { c.state().commitChannel(); },
                 true);
     },
     nullptr},
    {"ChnDspBufLen", d::ChnDspBufLen, [](C& c) { return i2(st(c).channel.bufLen); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).channel.bufLen, asI2(v), d::ChnDspBufLen,
                 [&c] { c.state().commitChannel(); });
     },
     nullptr},
    {"ChnDspOffsetX", d::ChnDspOffsetX, [](C& c) { return r4(st(c).channel.offsetX); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).channel.offsetX, v.toR4(), d::ChnDspOffsetX,
                 [&c] { c.state().commitChannel(); });
     },
     nullptr},
    {"ChnDspOffsetY", d::ChnDspOffsetY, [](C& c) { return r4(st(c).channel.offsetY); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).channel.offsetY, v.toR4(), d::ChnDspOffsetY,
                 [&c] { c.state().commitChannel(); });
     },
     nullptr},
    {"ChnDspUserData", d::ChnDspUserData, [](C& c) { return i4(st(c).channel.userData); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).channel.userData, v.toI4(), d::ChnDspUserData,
                 [&c] { c.state().commitChannel(); });
     },
     nullptr},
    {"ChnDspViewport", d::ChnDspViewport, [](C& c) { return i2(st(c).channel.viewport); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).channel.viewport, asI2(v), d::ChnDspViewport,
                 [&c] { c.state().commitChannel(); });
     },
     nullptr},
    {"ChnDspWindow", d::ChnDspWindow, [](C& c) { return i2(st(c).channel.window); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).channel.window, asI2(v), d::ChnDspWindow,
                 [&c] { c.state().commitChannel(); });
     },
     nullptr},

    // Channel data descriptions.
    {"ChnData_Dimension", d::ChnData_Dimension,
     [](C& c) { return i2(c.state().selection().dataDimension); },
     [](C& c, const Variant& v) {
       if (!c.state().selectDataDimension(asI2(v))) raiseInvalidValue();
       c.changed(d::ChnData_Dimension);
     },
     nullptr},
    {"ChnDataShape", d::ChnDataShape, [](C& c) { return i2(st(c).data.shape); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).data.shape, asI2(v), d::ChnDataShape, [&c] { c.state().commitData(); });
     },
     nullptr},
    {"ChnDataType", d::ChnDataType, [](C& c) { return i2(st(c).data.type); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).data.type, asI2(v), d::ChnDataType, [&c] { c.state().commitData(); });
     },
     nullptr},
    {"ChnDataIncr", d::ChnDataIncr, [](C& c) { return i2(st(c).data.incr); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).data.incr, asI2(v), d::ChnDataIncr, [&c] { c.state().commitData(); });
     },
     nullptr},
    {"ChnDataOffset", d::ChnDataOffset, [](C& c) { return i2(st(c).data.offset); },
     [](C& c, const Variant& v) {
       setStaged(c, st(c).data.offset, asI2(v), d::ChnDataOffset,
                 [&c] { c.state().commitData(); });
     },
     nullptr},
    {"ChnDataXform", d::ChnDataXform, [](C& c) { return i2(st(c).data.xform); },
     [](C& c, const Variant& v) {
       // Reaches the stored description at its next commit.
       setStaged(c, st(c).data.xform, asI2(v), d::ChnDataXform, [] {});
     },
     nullptr},

    // Scales.
    {"Scale_Select", d::Scale_Select, [](C& c) { return i2(c.state().selection().scale); },
     [](C& c, const Variant& v) {
       const auto n = static_cast<std::int16_t>(asI2(v));
       if (n < 0 && n > -32768) c.removeScaleItems(static_cast<std::int16_t>(-n));
       c.state().selectScale(n);
       c.changed(d::Scale_Select);
     },
     nullptr},
    {"ScaleAction", d::ScaleAction,
     [](C& c) {
       ScaleObject* s = c.state().selectedScale();
       return i2(s ? s->action : 0);
     },
     [](C& c, const Variant& v) { c.doScaleAction(static_cast<std::int16_t>(asI2(v))); },
     nullptr},
    {"ScaleWindow", d::ScaleWindow,
     [](C& c) {
       ScaleObject* s = c.state().selectedScale();
       return i2(s ? s->window : 0);
     },
     [](C& c, const Variant& v) {
       const std::int32_t n = asI2(v);
       ScaleObject* s = c.state().selectedScale();
       if (!s) return;
       if (n <= 0 || !findSetting(c.state().maps().windows, n)) raiseInvalidValue();
       if (setPlain(c, s->window, n, d::ScaleWindow)) c.scaleChangedWhileDesigning(true);
     },
     nullptr},
    {"ScaleViewport", d::ScaleViewport,
     [](C& c) {
       ScaleObject* s = c.state().selectedScale();
       return i2(s ? s->viewport : 0);
     },
     [](C& c, const Variant& v) {
       const std::int32_t n = asI2(v);
       ScaleObject* s = c.state().selectedScale();
       if (!s) return;
       if (n <= 0 || !c.state().live().viewport(n)) raiseInvalidValue();
       if (setPlain(c, s->viewport, n, d::ScaleViewport)) c.scaleChangedWhileDesigning(true);
     },
     nullptr},
    {"ScaleDimension", d::ScaleDimension,
     [](C& c) {
       ScaleObject* s = c.state().selectedScale();
       return i2(s ? s->dimension() : 0);
     },
     [](C& c, const Variant& v) {
       const std::int32_t n = asI2(v);
       ScaleObject* s = c.state().selectedScale();
       if (!s) return;
       if (s->dimension() == n) return;
       if (!s->setDimension(n)) raiseInvalidValue();
       c.changed(d::ScaleDimension);
     },
     nullptr},
    SCALE_FIELD(ScalePen, Pen),
    SCALE_FIELD(ScalePlaces, Places),
    SCALE_FIELD(ScaleGap, Gap),
    SCALE_FIELD(ScalePosition, Position),
    SCALE_FIELD(ScaleOrientation, Orientation),
    SCALE_FIELD(ScaleLocation, Location),
    SCALE_FIELD(ScalePath, Path),
    SCALE_FIELD(ScaleVisibility, Visibility),
    SCALE_FIELD(LabelPen, LabelPen),
    SCALE_FIELD(LabelPosition, LabelPosition),
    SCALE_FIELD(LabelOrientation, LabelOrientation),
    SCALE_FIELD(LabelLocation, LabelLocation),
    SCALE_FIELD(LabelPath, LabelPath),
    {"ScaleFactor", d::ScaleFactor,
     [](C& c) {
       ScaleObject* s = c.state().selectedScale();
       return r4(s ? s->current().factor : 0.0f);
     },
     [](C& c, const Variant& v) {
       const float factor = v.toR4();
       ScaleObject* s = c.state().selectedScale();
       if (!s) return;
       if (!ScaleObject::acceptsFactor(factor)) raiseInvalidValue();
       if (!s->setFactor(factor)) return;
       c.changed(d::ScaleFactor);
       c.scaleChangedWhileDesigning();
     },
     nullptr},
    {"LabelCaption", d::LabelCaption,
     [](C& c) {
       ScaleObject* s = c.state().selectedScale();
       return Variant(s ? s->current().caption : std::string());
     },
     [](C& c, const Variant& v) {
       const std::string caption = v.toString();
       ScaleObject* s = c.state().selectedScale();
       if (!s || !s->setCaption(caption)) return;
       c.changed(d::LabelCaption);
       c.scaleChangedWhileDesigning();
     },
     nullptr},

    // Methods.
    {"ChartData", d::ChartData, nullptr, nullptr, [](C& c, Args a) { return c.chartData(a); }},
    {"VBPrintWindow", d::VBPrintWindow, nullptr, nullptr,
     [](C& c, Args a) { return c.printWindow(a); }},
    {"AboutBox", d::AboutBox, nullptr, nullptr,
     [](C& c, Args) {
       c.aboutBox();
       return Variant();
     }},
};

#undef SCALE_FIELD

}  // namespace

std::span<const PropertyEntry> propertyTable() { return kTable; }

const PropertyEntry* findProperty(DispId id) {
  for (const PropertyEntry& e : kTable)
    if (e.id == id) return &e;
  return nullptr;
}

DispId propertyIdOfName(std::string_view name) {
  for (const PropertyEntry& e : kTable) {
    if (e.name.size() == name.size() && strncasecmp(e.name.data(), name.data(), name.size()) == 0)
      return e.id;
  }
  return automation::kDispIdUnknown;
}

}  // namespace kvplotax
