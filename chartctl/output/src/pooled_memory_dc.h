// A memory device context borrowed from the pool. Besides what a TrackingDC puts back, it
// remembers the bitmap the context held before one was first selected through it, and returns
// the context to the pool in the state it was lent.
#pragma once

#include "memory_dc_pool.h"
#include "output/tracking_dc.h"

namespace kvplotax::output {

class PooledMemoryDC : public TrackingDC {
 public:
  explicit PooledMemoryDC(MemoryDCPool& pool = MemoryDCPool::shared());
  ~PooledMemoryDC() override;

  gdi::Bitmap* selectBitmap(gdi::Bitmap* bitmap);

 private:
  PooledMemoryDC(MemoryDCPool& pool, MemoryDCPool::Lease lease);

  MemoryDCPool& pool_;
  bool bitmapRecorded_ = false;
  gdi::Bitmap* initialBitmap_ = nullptr;
};

}  // namespace kvplotax::output
