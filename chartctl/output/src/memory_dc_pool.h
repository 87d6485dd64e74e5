// Two memory device contexts made once and lent to surfaces, so that creating a surface does not
// create a context; a third borrower at the same time gets a context of its own. Controls on
// different threads share the pool: lending and taking back are locked, and a context lent is
// its borrower's alone until it comes back, so drawing through it takes no lock.
#pragma once

#include <array>
#include <memory>
#include <mutex>

#include "gdi/device_context.h"

namespace kvplotax::output {

class MemoryDCPool {
 public:
  static constexpr int kEntries = 2;

  MemoryDCPool();
  MemoryDCPool(const MemoryDCPool&) = delete;
  MemoryDCPool& operator=(const MemoryDCPool&) = delete;

  // The pool every surface of the library borrows from; made when first used, gone at unload.
  static MemoryDCPool& shared();

  struct Lease {
    gdi::DeviceContext* dc = nullptr;
    bool owned = false;  // made outside the pool: the borrower deletes it
  };
  Lease acquire();
  // Marks a pool entry free again, or deletes a context made outside the pool.
  void release(gdi::DeviceContext* dc);

  int inUse() const;
  bool isPoolEntry(const gdi::DeviceContext* dc) const;

 private:
  struct Entry {
    std::unique_ptr<gdi::DeviceContext> dc;
    bool inUse = false;
  };
  mutable std::mutex mutex_;  // guards the entries' inUse flags
  std::array<Entry, kEntries> entries_;
};

}  // namespace kvplotax::output
