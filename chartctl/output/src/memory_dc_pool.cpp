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
  for (Entry& e : entries_) {
    if (!e.inUse) {
      e.inUse = true;
      return {e.dc.get(), false};
    }
  }
  return {new gdi::DeviceContext(), true};
}

void MemoryDCPool::release(gdi::DeviceContext* dc) {
  if (!dc) return;
  for (Entry& e : entries_) {
    if (e.dc.get() == dc) {
      e.inUse = false;
      return;
    }
  }
  delete dc;
}

int MemoryDCPool::inUse() const {
  int n = 0;
  for (const Entry& e : entries_) n += e.inUse ? 1 : 0;
  return n;
}

bool MemoryDCPool::isPoolEntry(const gdi::DeviceContext* dc) const {
  for (const Entry& e : entries_)
    if (e.dc.get() == dc) return true;
  return false;
}

}  // namespace kvplotax::output
