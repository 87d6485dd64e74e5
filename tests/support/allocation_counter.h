// Counts heap allocations made through operator new while counting is on. A test program that
// links this replaces the global allocation functions; warm a path up, start counting, run it
// again and expect nothing to have been allocated.
#pragma once

namespace zelk::testing {

// Starts counting from zero, on every thread.
void startCountingAllocations();
// Stops counting and returns the allocations made since the start.
long stopCountingAllocations();

// Counts for as long as it lives; stop() ends early and returns the count.
class AllocationCount {
 public:
  AllocationCount() { startCountingAllocations(); }
  ~AllocationCount() {
    if (!stopped_) stopCountingAllocations();
  }
  AllocationCount(const AllocationCount&) = delete;
  AllocationCount& operator=(const AllocationCount&) = delete;

  long stop() {
    stopped_ = true;
    return stopCountingAllocations();
  }

 private:
  bool stopped_ = false;
};

}  // namespace zelk::testing
