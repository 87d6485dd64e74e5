// Runs a producer on a thread of its own and hands its blocks of floats over in order, a few
// ahead of the consumer: the two halves of a conversion then go on two cores. The blocks are
// made once and reused.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace xvtools {

class BlockRelay {
 public:
  // Fills an empty block (room for blockSize reserved) and returns false with the last one.
  using Producer = std::function<bool(std::vector<float>& block)>;

  BlockRelay(std::size_t blocks, std::size_t blockSize, Producer produce);
  // Stops the producer after its current block and waits for it.
  ~BlockRelay();
  BlockRelay(const BlockRelay&) = delete;
  BlockRelay& operator=(const BlockRelay&) = delete;

  // The next block, valid until the next call; last is set with the producer's last block (and
  // after it, with an empty one). What the producer threw is thrown here, after the blocks made
  // before it.
  const std::vector<float>& next(bool& last);

 private:
  void run();

  Producer produce_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<float>> spare_, ready_;
  std::vector<float> current_;  // the block the consumer holds
  bool ended_ = false;          // the producer has handed over its last block
  bool cancelled_ = false;
  bool done_ = false;  // the last block was handed out
  std::exception_ptr error_;
  std::thread thread_;
};

}  // namespace xvtools
