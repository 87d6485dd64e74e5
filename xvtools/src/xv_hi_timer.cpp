#include "xvtools/xv_hi_timer.h"

namespace xvtools {

struct XVHiTimerX::Impl {
  bool enabled = false;
  int interval = kDefaultInterval;
  bool wait = false;
  std::function<void()> handler;
  std::uint64_t ticks = 0;
};

XVHiTimerX::XVHiTimerX() : impl_(std::make_shared<Impl>()) {}
XVHiTimerX::~XVHiTimerX() = default;
bool XVHiTimerX::Enabled() const { return impl_->enabled; }
void XVHiTimerX::setEnabled(bool enabled) { impl_->enabled = enabled; }
int XVHiTimerX::Interval() const { return impl_->interval; }
void XVHiTimerX::setInterval(int ms) { impl_->interval = ms; }
bool XVHiTimerX::WaitForTerminate() const { return impl_->wait; }
void XVHiTimerX::setWaitForTerminate(bool wait) { impl_->wait = wait; }
void XVHiTimerX::setFormThread(FormThread*) {}
void XVHiTimerX::onTimer(std::function<void()> handler) { impl_->handler = std::move(handler); }
bool XVHiTimerX::tick() {
  if (!impl_->enabled) return false;
  ++impl_->ticks;
  if (impl_->handler) impl_->handler();
  return true;
}
std::uint64_t XVHiTimerX::ticks() const { return impl_->ticks; }

}  // namespace xvtools
