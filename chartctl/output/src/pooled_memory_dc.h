// A memory device context borrowed from the pool. It records the brush, pen, font and region
// the context was lent with and the bitmap it held before one was first selected through it, and
// returns the context to the pool in that state.
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
