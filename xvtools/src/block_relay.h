// Runs a producer on a thread of its own and hands its blocks of floats over in order, a few
// ahead of the consumer: the two halves of a conversion then go on two cores. The blocks are
// made once and reused in turn: handing them over allocates nothing.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
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
  // Block n % size is filled n-th and handed out n-th; the consumer holds the one it took last
  // until it asks for the next.
  std::vector<std::vector<float>> blocks_;
  std::uint64_t made_ = 0, taken_ = 0, returned_ = 0;
  std::vector<float> none_;  // what is handed out after the last block
  bool ended_ = false;       // the producer has handed over its last block
  bool cancelled_ = false;
  bool done_ = false;  // the last block was handed out
  std::exception_ptr error_;
  std::thread thread_;
};

}  // namespace xvtools
