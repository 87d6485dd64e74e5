// XVWaveInX: the audio input. Fills buffers of BufferSize bytes with 16-bit signed mono samples
// at SampleRate and hands each one, as a WAVEHDR, to the sink its output is linked to.
//
// Two ways of running, chosen before Start:
// - RealTime: a capture thread reads the source (live capture paces itself; a recording or the
//   synthetic signal is paced to the sample rate) and posts each filled buffer to the form's
//   thread, where the sink receives it.
// - Pulled: no thread; the program asks for each buffer with pull(), which reads it at once and
//   hands it to the sink before returning. Time is virtual: as fast as the machine goes.
// The settings take effect at the next Start.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "xvtools/form_thread.h"
#include "xvtools/input_spec.h"
#include "xvtools/native_input.h"
#include "xvtools/wave_sink.h"

namespace xvtools {

class XVWaveInX {
 public:
  enum class Mode { RealTime, Pulled };
  static constexpr int kDefaultBufferSize = 8000;
  static constexpr int kDefaultBitLength = 16;
  static constexpr int kDefaultSampleRate = 8000;
  static constexpr int kMaxBufferSize = 1 << 20;
  static constexpr int kMaxSampleRate = 192000;

  XVWaveInX();
  ~XVWaveInX();  // stops the input
  XVWaveInX(const XVWaveInX&) = delete;
  XVWaveInX& operator=(const XVWaveInX&) = delete;

  // Stored settings. Refused values throw std::invalid_argument: BufferSize must be a positive
  // even number up to kMaxBufferSize, BitLength 16, SampleRate 1..kMaxSampleRate.
  int BufferSize() const;
  void setBufferSize(int bytes);
  int BitLength() const;
  void setBitLength(int bits);
  int SampleRate() const;
  void setSampleRate(int samplesPerSecond);

  const InputSpec& input() const;
  void setInput(InputSpec choice);
  Mode mode() const;
  void setMode(Mode mode);
  // The form's thread (needed in RealTime mode) and the linked output; both must outlive the
  // running input.
  void setFormThread(FormThread* thread);
  void link(WaveSink* sink);
  // Reads the input at nativeRate and shows every block to tap before converting it to
  // SampleRate (nativeRate 0: the input is opened at SampleRate, as without a tap). The tap is
  // called on the thread that reads the input.
  void setNativeTap(int nativeRate, NativeTap tap);
  // A flag that, once set, ends a read waiting on a recording piped in by a silent writer, as
  // at the end of the recording (nullptr: none). It must outlive the inputs started after.
  void setStopFlag(const std::atomic<bool>* stop);

  // Opens the source and starts delivering. Throws AudioError (the text says why) when the
  // source cannot be opened, std::logic_error when RealTime mode has no form thread. Starting a
  // running input does nothing.
  void Start();
  // Stops delivering; buffers already posted but not yet handed over are dropped. Safe to call
  // when stopped and from inside the sink's handler.
  void Stop();
  bool Running() const;

  // Pulled mode: reads the next buffer and hands it to the sink before returning. False when the
  // input is not running (also once it has reached the end of its source).
  bool pull();

  // Raised on the form's thread once the source has no more samples (a recording's end), after
  // the last buffer; the input has then stopped.
  void onEndOfInput(std::function<void()> handler);
  // Raised on the form's thread when a running source fails; the input has then stopped.
  void onError(std::function<void(const std::string&)> handler);

  // Samples handed to the sink since Start.
  std::uint64_t samplesDelivered() const;
  // What the running source reads, for status lines; empty when stopped.
  std::string sourceDescription() const;

 private:
  struct Impl;
  std::shared_ptr<Impl> impl_;
};

}  // namespace xvtools
