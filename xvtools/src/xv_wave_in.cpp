#include "xvtools/xv_wave_in.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "xvtools/audio_source.h"

namespace xvtools {

namespace {

// Buffers in circulation while running in real time: two seconds of slack for a busy form.
constexpr std::size_t kRealTimeBuffers = 4;

}  // namespace

// One Start-to-Stop run: the open source and the buffers it fills. Tasks posted to the form's
// thread keep it alive, so a buffer handed over late never points into freed memory; once the
// run is no longer active, such tasks only return their buffer.
struct WaveRun {
  std::unique_ptr<AudioSource> source;
  std::vector<std::int16_t> storage;
  std::vector<WAVEHDR> headers;
  std::size_t samplesPerBuffer = 0;

  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::size_t> freeBuffers;
  bool stopping = false;
  std::atomic<bool> active{true};
  std::thread worker;

  WaveRun(std::unique_ptr<AudioSource> src, std::size_t bufferBytes, std::size_t count)
      : source(std::move(src)), samplesPerBuffer(bufferBytes / 2) {
    storage.resize(samplesPerBuffer * count);
    headers.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      headers[i].lpData = reinterpret_cast<char*>(storage.data() + i * samplesPerBuffer);
      headers[i].dwBufferLength = static_cast<std::uint32_t>(bufferBytes);
      freeBuffers.push_back(count - 1 - i);
    }
  }
  ~WaveRun() { stop(); }
  WaveRun(const WaveRun&) = delete;
  WaveRun& operator=(const WaveRun&) = delete;

  // Reads the next buffer's samples into buffer i; returns how many.
  std::size_t fill(std::size_t i) {
    WAVEHDR& hdr = headers[i];
    const std::size_t n = source->read({storage.data() + i * samplesPerBuffer, samplesPerBuffer});
    hdr.dwBytesRecorded = static_cast<std::uint32_t>(n * 2);
    hdr.dwFlags = WHDR_DONE | WHDR_PREPARED;
    return n;
  }

  // Waits for a free buffer; nullopt once stopping.
  std::optional<std::size_t> acquire() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return stopping || !freeBuffers.empty(); });
    if (stopping) return std::nullopt;
    const std::size_t i = freeBuffers.back();
    freeBuffers.pop_back();
    return i;
  }

  void release(std::size_t i) {
    {
      std::lock_guard lock(mutex);
      freeBuffers.push_back(i);
    }
    changed.notify_all();
  }

  // Sleeps until deadline; false when stopped meanwhile.
  bool sleepUntil(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex);
    return !changed.wait_until(lock, deadline, [this] { return stopping; });
  }

  void stop() {
    active = false;
    {
      std::lock_guard lock(mutex);
      stopping = true;
    }
    changed.notify_all();
    if (worker.joinable() && worker.get_id() != std::this_thread::get_id()) worker.join();
  }
};

struct XVWaveInX::Impl : std::enable_shared_from_this<XVWaveInX::Impl> {
  int bufferSize = kDefaultBufferSize;
  int bitLength = kDefaultBitLength;
  int sampleRate = kDefaultSampleRate;
  InputSpec input;
  Mode mode = Mode::RealTime;
  FormThread* formThread = nullptr;
  WaveSink* sink = nullptr;
  int nativeRate = 0;
  NativeTap nativeTap;
  const std::atomic<bool>* stopFlag = nullptr;
  std::function<void()> endHandler;
  std::function<void(const std::string&)> errorHandler;
  std::atomic<std::uint64_t> delivered{0};
  std::shared_ptr<WaveRun> run;  // touched on the form's thread only

  void deliver(WAVEHDR& hdr) {
    delivered += hdr.dwBytesRecorded / 2;
    if (sink != nullptr) sink->bufferFilled(&hdr);
  }

  void stop() {
    if (!run) return;
    auto finished = std::move(run);
    run.reset();
    finished->stop();
  }

  // Ends the run after its source ran out or failed, then tells the form.
  void finish(const std::shared_ptr<WaveRun>& which, const std::string* error) {
    if (run != which) return;
    stop();
    if (error != nullptr) {
      if (errorHandler) errorHandler(*error);
    } else if (endHandler) {
      endHandler();
    }
  }

  void startWorker(const std::shared_ptr<WaveRun>& r);
};

// The capture or pacing thread: fills free buffers and posts each to the form's thread.
void XVWaveInX::Impl::startWorker(const std::shared_ptr<WaveRun>& r) {
  std::weak_ptr<Impl> owner = weak_from_this();
  FormThread* thread = formThread;
  const int rate = sampleRate;
  // The thread uses the run through a plain pointer: the run owns the thread and joins it
  // before it goes away. Posted tasks hold the run and the input weakly, so neither outlives
  // its owner because of a task still queued.
  WaveRun* raw = r.get();
  std::weak_ptr<WaveRun> weakRun = r;
  raw->worker = std::thread([raw, weakRun, owner, thread, rate] {
    const auto start = std::chrono::steady_clock::now();
    std::uint64_t samples = 0;
    auto post = [&](auto action) {
      thread->post([owner, weakRun, action] {
        auto run = weakRun.lock();
        auto impl = owner.lock();
        if (run && impl) action(*impl, run);
      });
    };
    while (true) {
      const auto index = raw->acquire();
      if (!index) return;
      std::size_t n = 0;
      try {
        n = raw->fill(*index);
      } catch (const std::exception& e) {  // a capture thread must not end the process
        raw->release(*index);
        const std::string message = e.what();
        post([message](Impl& impl, const std::shared_ptr<WaveRun>& run) {
          impl.finish(run, &message);
        });
        return;
      }
      samples += n;
      if (!raw->source->paced()) {
        // A buffer is handed over when its last sample would have been captured.
        const auto due = start + std::chrono::microseconds(samples * 1000000 / rate);
        if (!raw->sleepUntil(due)) return;
      }
      if (n > 0) {
        const std::size_t i = *index;
        post([i](Impl& impl, const std::shared_ptr<WaveRun>& run) {
          if (run->active) impl.deliver(run->headers[i]);
          run->release(i);
        });
      } else {
        raw->release(*index);
      }
      if (raw->source->atEnd()) {
        post([](Impl& impl, const std::shared_ptr<WaveRun>& run) { impl.finish(run, nullptr); });
        return;
      }
    }
  });
}

XVWaveInX::XVWaveInX() : impl_(std::make_shared<Impl>()) {}

XVWaveInX::~XVWaveInX() { impl_->stop(); }

int XVWaveInX::BufferSize() const { return impl_->bufferSize; }

void XVWaveInX::setBufferSize(int bytes) {
  if (bytes <= 0 || bytes % 2 != 0 || bytes > kMaxBufferSize) {
    throw std::invalid_argument("buffer size must be a positive even number of bytes up to " +
                                std::to_string(kMaxBufferSize));
  }
  impl_->bufferSize = bytes;
}

int XVWaveInX::BitLength() const { return impl_->bitLength; }

void XVWaveInX::setBitLength(int bits) {
  if (bits != 16) throw std::invalid_argument("only 16-bit samples are supported");
  impl_->bitLength = bits;
}

int XVWaveInX::SampleRate() const { return impl_->sampleRate; }

void XVWaveInX::setSampleRate(int samplesPerSecond) {
  if (samplesPerSecond <= 0 || samplesPerSecond > kMaxSampleRate) {
    throw std::invalid_argument("sample rate out of range");
  }
  impl_->sampleRate = samplesPerSecond;
}

const InputSpec& XVWaveInX::input() const { return impl_->input; }

void XVWaveInX::setInput(InputSpec choice) { impl_->input = std::move(choice); }

XVWaveInX::Mode XVWaveInX::mode() const { return impl_->mode; }

void XVWaveInX::setMode(Mode mode) { impl_->mode = mode; }

void XVWaveInX::setFormThread(FormThread* thread) { impl_->formThread = thread; }

void XVWaveInX::link(WaveSink* sink) { impl_->sink = sink; }

void XVWaveInX::setNativeTap(int nativeRate, NativeTap tap) {
  impl_->nativeRate = tap ? nativeRate : 0;
  impl_->nativeTap = std::move(tap);
}

void XVWaveInX::setStopFlag(const std::atomic<bool>* stop) { impl_->stopFlag = stop; }

void XVWaveInX::Start() {
  Impl& impl = *impl_;
  if (impl.run) return;
  if (impl.mode == Mode::RealTime && impl.formThread == nullptr) {
    throw std::logic_error("a real-time audio input needs the form's thread");
  }
  auto source = impl.nativeRate > 0
                    ? openTappedAudioSource(impl.input, impl.nativeRate, impl.sampleRate,
                                            impl.nativeTap, impl.stopFlag)
                    : openAudioSource(impl.input, impl.sampleRate, impl.stopFlag);
  const std::size_t count = impl.mode == Mode::RealTime ? kRealTimeBuffers : 1;
  auto run = std::make_shared<WaveRun>(std::move(source), static_cast<std::size_t>(impl.bufferSize),
                                       count);
  impl.delivered = 0;
  impl.run = run;
  if (impl.mode == Mode::RealTime) impl.startWorker(run);
}

void XVWaveInX::Stop() { impl_->stop(); }

bool XVWaveInX::Running() const { return impl_->run != nullptr; }

bool XVWaveInX::pull() {
  Impl& impl = *impl_;
  if (!impl.run || impl.mode != Mode::Pulled) return false;
  auto run = impl.run;  // the sink may stop the input while it holds the buffer
  std::size_t n = 0;
  try {
    n = run->fill(0);
  } catch (const AudioError& e) {
    const std::string message = e.what();
    impl.finish(run, &message);
    return false;
  }
  if (n > 0) impl.deliver(run->headers[0]);
  // The end is told by the pull that finds nothing more: the caller handles the last buffer
  // (and the second it completes) while the input still runs.
  if (n == 0 && run->source->atEnd()) impl.finish(run, nullptr);
  return n > 0;
}

void XVWaveInX::onEndOfInput(std::function<void()> handler) {
  impl_->endHandler = std::move(handler);
}

void XVWaveInX::onError(std::function<void(const std::string&)> handler) {
  impl_->errorHandler = std::move(handler);
}

std::uint64_t XVWaveInX::samplesDelivered() const { return impl_->delivered; }

std::string XVWaveInX::sourceDescription() const {
  return impl_->run ? impl_->run->source->description() : std::string();
}

}  // namespace xvtools
