#include "memory_dc_pool.h"

namespace kvplotax::output {

MemoryDCPool::MemoryDCPool() {
  for (Entry& e : entries_) e.dc = std::make_unique<gdi::DeviceContext>();
}

MemoryDCPool& MemoryDCPool::shared() {
  static MemoryDCPool pool;
  return pool;
}

MemoryDCPool::Lease MemoryDCPool::acquire() {
  {
    const std::lock_guard lock(mutex_);
    for (Entry& e : entries_) {
      if (!e.inUse) {
        e.inUse = true;
        return {e.dc.get(), false};
      }
    }
  }
  return {new gdi::DeviceContext(), true};
}

void MemoryDCPool::release(gdi::DeviceContext* dc) {
  if (!dc) return;
  if (isPoolEntry(dc)) {
    const std::lock_guard lock(mutex_);
    for (Entry& e : entries_) {
      if (e.dc.get() == dc) e.inUse = false;
    }
    return;
  }
  delete dc;
}

int MemoryDCPool::inUse() const {
  const std::lock_guard lock(mutex_);
  int n = 0;
  for (const Entry& e : entries_) n += e.inUse ? 1 : 0;
  return n;
}

// The entries' contexts are made with the pool and never change: no lock.
bool MemoryDCPool::isPoolEntry(const gdi::DeviceContext* dc) const {
  for (const Entry& e : entries_)
    if (e.dc.get() == dc) return true;
  return false;
}

}  // namespace kvplotax::output
