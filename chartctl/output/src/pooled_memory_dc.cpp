#include "pooled_memory_dc.h"

namespace kvplotax::output {

PooledMemoryDC::PooledMemoryDC(MemoryDCPool& pool) : PooledMemoryDC(pool, pool.acquire()) {}

// The pool decides the context's fate on release, so the base never deletes it.
PooledMemoryDC::PooledMemoryDC(MemoryDCPool& pool, MemoryDCPool::Lease lease)
    : TrackingDC(lease.dc, false), pool_(pool) {
  // Drawing layers also use the context directly, past the wrapper: what it was lent with is
  // recorded now so that it goes back to the pool exactly so.
  recordCurrentObjects();
}

PooledMemoryDC::~PooledMemoryDC() {
  gdi::DeviceContext& context = dc();
  if (bitmapRecorded_) context.selectBitmap(initialBitmap_);
  pool_.release(restoreAndDetach());
}

gdi::Bitmap* PooledMemoryDC::selectBitmap(gdi::Bitmap* bitmap) {
  gdi::Bitmap* old = dc().selectBitmap(bitmap);
  if (!bitmapRecorded_) {
    bitmapRecorded_ = true;
    initialBitmap_ = old;
  }
  return old;
}

}  // namespace kvplotax::output
