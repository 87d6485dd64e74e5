// XVHiTimerX: a periodic timer whose Timer event runs on the form's thread.
//
// With a form thread set, ticks come in real time every Interval milliseconds (on a steady
// clock, without drift). Without one, time is virtual: the program calls tick() whenever the
// timer's interval has passed in its own time base.
// WaitForTerminate: no tick is delivered while a Timer handler runs, and ticks that fall due
// meanwhile are dropped rather than queued.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "xvtools/form_thread.h"

namespace xvtools {

class XVHiTimerX {
 public:
  static constexpr int kDefaultInterval = 1000;

  XVHiTimerX();
  ~XVHiTimerX();
  XVHiTimerX(const XVHiTimerX&) = delete;
  XVHiTimerX& operator=(const XVHiTimerX&) = delete;

  bool Enabled() const;
  // Enabling starts counting a full interval from now; disabling drops ticks not yet delivered.
  // Safe to call from inside the Timer handler.
  void setEnabled(bool enabled);
  int Interval() const;
  // Milliseconds, at least 1 (else std::invalid_argument); a running timer restarts its count.
  void setInterval(int milliseconds);
  bool WaitForTerminate() const;
  void setWaitForTerminate(bool wait);

  // Null (the default) selects virtual time.
  void setFormThread(FormThread* thread);
  void onTimer(std::function<void()> handler);

  // Virtual time: one interval has passed. Delivers Timer now when enabled, unless a handler is
  // running and WaitForTerminate is on. Returns whether a tick was delivered.
  bool tick();
  // Virtual time: milliseconds have passed. Delivers one tick for each whole Interval elapsed
  // since enabling or the last tick (as tick() does); returns whether any was delivered.
  bool advance(int milliseconds);

  // Ticks delivered since construction.
  std::uint64_t ticks() const;

 private:
  struct Impl;
  std::shared_ptr<Impl> impl_;
};

}  // namespace xvtools
