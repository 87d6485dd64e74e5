#include "read_ahead.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace spectrograph {

namespace {

constexpr std::size_t kBlockSamples = 32768;
constexpr std::size_t kBlocks = 4;

}  // namespace

void readAhead(xvtools::AudioSource& source, std::uint64_t limit, const std::atomic<bool>* stop,
               const std::function<bool(std::span<const std::int16_t>)>& consume) {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::vector<std::int16_t>> spare(kBlocks, std::vector<std::int16_t>(kBlockSamples));
  std::deque<std::vector<std::int16_t>> ready;
  bool finished = false;   // the reader has handed over its last block
  bool cancelled = false;  // the consumer wants no more
  std::exception_ptr error;

  std::thread reader([&] {
    std::uint64_t read = 0;
    try {
      while (read < limit && !(stop != nullptr && *stop)) {
        std::vector<std::int16_t> block;
        {
          std::unique_lock lock(mutex);
          changed.wait(lock, [&] { return !spare.empty() || cancelled; });
          if (cancelled) break;
          block = std::move(spare.back());
          spare.pop_back();
        }
        const std::size_t want = std::size_t(std::min<std::uint64_t>(kBlockSamples, limit - read));
        block.resize(want);
        const std::size_t got = source.read(std::span(block.data(), want));
        block.resize(got);
        read += got;
        const bool last = got < want || source.atEnd();
        {
          std::lock_guard lock(mutex);
          ready.push_back(std::move(block));
        }
        changed.notify_all();
        if (last) break;
      }
    } catch (...) {
      std::lock_guard lock(mutex);
      error = std::current_exception();
    }
    {
      std::lock_guard lock(mutex);
      finished = true;
    }
    changed.notify_all();
  });

  for (;;) {
    std::vector<std::int16_t> block;
    {
      std::unique_lock lock(mutex);
      changed.wait(lock, [&] { return !ready.empty() || finished; });
      if (ready.empty()) break;
      block = std::move(ready.front());
      ready.pop_front();
    }
    const bool more = consume(block);
    {
      std::lock_guard lock(mutex);
      block.resize(kBlockSamples);
      spare.push_back(std::move(block));
      if (!more) cancelled = true;
    }
    changed.notify_all();
    if (!more) break;
  }
  reader.join();
  if (error) std::rethrow_exception(error);
}

}  // namespace spectrograph
