// Conversions and the store-and-notify sequences the property handlers share.
#pragma once

#include <cstdint>

#include "automation/automation.h"
#include "control_errors.h"
#include "kvplotax_ctrl.h"

namespace kvplotax::props {

using automation::DispId;
using automation::Variant;

inline Variant i2(std::int32_t v) { return Variant(static_cast<std::int16_t>(v)); }
inline Variant i4(std::int32_t v) { return Variant(v); }
inline Variant color(std::uint32_t v) { return Variant(static_cast<std::int32_t>(v)); }
inline Variant boolean(bool v) { return Variant(v); }
inline Variant r4(float v) { return Variant(v); }

inline std::int32_t asI2(const Variant& v) { return v.toI2(); }
inline std::uint32_t asColor(const Variant& v) { return static_cast<std::uint32_t>(v.toI4()); }

// A plain stored value: compare, store, notify once.
template <class T>
bool setPlain(CKvplotaxCtrl& c, T& field, T value, DispId id) {
  if (field == value) return false;
  field = value;
  c.changed(id);
  return true;
}

// Design-mode only reads and writes.
inline void refuseReadInDesignMode(const CKvplotaxCtrl& c) {
  if (!c.ambientUserMode()) ocx::Control::throwError(automation::kErrGetNotSupported);
}

enum class Effect { Layout, Repaint };

// A member of a validated group: store, test the whole group, put the old value back and raise
// 380 when the test fails.
template <class T, class Test>
void setGrouped(CKvplotaxCtrl& c, T& field, T value, DispId id, Effect effect, Test test) {
  if (field == value) return;
  const T previous = field;
  field = value;
  if (!test()) {
    field = previous;
    raiseInvalidValue();
  }
  c.changed(id);
  if (c.hWnd() == 0) return;
  if (effect == Effect::Layout) c.relayout();
  c.repaint();
}

template <class T>
void setBezel(CKvplotaxCtrl& c, T& field, T value, DispId id, Effect effect) {
  setGrouped(c, field, value, id, effect, [&c] { return c.state().testBezel(); });
}

template <class T>
void setGraticule(CKvplotaxCtrl& c, T& field, T value, DispId id, Effect effect) {
  setGrouped(c, field, value, id, effect, [&c] { return c.state().testGraticule(); });
}

// A staged value of the selected object: store, commit to its record, notify.
template <class T, class Commit>
void setStaged(CKvplotaxCtrl& c, T& field, T value, DispId id, Commit commit,
               bool repaintWhileDesigning = false) {
  if (field == value) return;
  field = value;
  commit();
  c.changed(id);
  if (repaintWhileDesigning) c.repaintAtDesignTime();
}

}  // namespace kvplotax::props
