// Desktop services a control reaches through its site: periodic timers and the clipboard.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace ocx {

// A running periodic timer. Destroying the handle stops the timer; once the destructor has
// returned the callback is not running and will not run again.
class PeriodicTimer {
 public:
  virtual ~PeriodicTimer();
  PeriodicTimer() = default;
  PeriodicTimer(const PeriodicTimer&) = delete;
  PeriodicTimer& operator=(const PeriodicTimer&) = delete;
};

// The resolution range a timer device offers, in milliseconds.
struct TimerCaps {
  unsigned periodMin = 1;
  unsigned periodMax = 1000000;
};

// The shared clipboard, used the way the platform's is: open, (empty,) set data, close.
// setData hands the bytes over; for kCfDib they are a packed device-independent bitmap
// (header, colour table, bits), for kCfBitmap the same bytes stand for the bitmap.
class Clipboard {
 public:
  virtual ~Clipboard();
  virtual bool open() = 0;
  virtual bool empty() = 0;  // also takes ownership for the caller
  virtual bool setData(unsigned format, std::vector<std::uint8_t> data) = 0;
  virtual bool close() = 0;
  virtual bool hasFormat(unsigned format) const = 0;
  virtual std::vector<std::uint8_t> data(unsigned format) const = 0;
  // True while the data on the clipboard were put there by the caller's last empty().
  virtual bool ownedByCaller() const = 0;
};

}  // namespace ocx
