// The mean power in frequency bands over fixed intervals of a signal: Hann-windowed FFTs half
// overlapping, each frame's power in each band summed from its bins, and the frames averaged over
// the interval that holds their centres. Power is the mean square of the band's part of the
// signal, full scale being 1, so a sine of amplitude A inside a band reads A*A/2.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

typedef struct fftwf_plan_s* fftwf_plan;

namespace recorder {

class BandPowerAccumulator {
 public:
  struct Band {
    double lowHz = 0.0;
    double highHz = 0.0;
  };
  struct Interval {
    std::int64_t index = 0;      // the interval's number from the first sample's
    std::vector<double> levels;  // one per band
    int frames = 0;              // how many transforms were averaged
  };
  using Done = std::function<void(const Interval&)>;

  // The transform's length at a rate: the power of two that gives bins of at most 25 Hz.
  static int fftLength(int sampleRate);
  static double binWidthHz(int sampleRate) {
    return static_cast<double>(sampleRate) / fftLength(sampleRate);
  }

  // samplesPerInterval must be positive. The plan is made here: construct on one thread at a
  // time (FFTW's planner is not thread-safe); add() may then run on any one thread.
  BandPowerAccumulator(int sampleRate, const std::vector<Band>& bands,
                       std::int64_t samplesPerInterval);
  ~BandPowerAccumulator();
  BandPowerAccumulator(const BandPowerAccumulator&) = delete;
  BandPowerAccumulator& operator=(const BandPowerAccumulator&) = delete;

  // Takes the next samples (16-bit, full scale 32768); done is called for each interval
  // completed by them, in order.
  void add(std::span<const std::int16_t> samples, const Done& done);
  // Ends the interval in progress, when it holds any frame.
  void flush(const Done& done);

  // The bins [first, last) band i sums.
  std::pair<int, int> bins(std::size_t band) const { return bandBins_[band]; }

 private:
  void transform();
  void closeInterval(const Done& done);

  int length_;
  int hop_;
  std::int64_t samplesPerInterval_;
  std::vector<std::pair<int, int>> bandBins_;
  std::vector<float> window_;
  double scale_;  // from a band's bin magnitudes to mean square
  float* input_ = nullptr;
  void* output_ = nullptr;  // fftwf_complex[length / 2 + 1]
  fftwf_plan plan_ = nullptr;
  std::vector<float> pending_;   // samples of the next frame, length_ at most
  std::int64_t frameStart_ = 0;  // the index of pending_[0]
  Interval current_;
  std::vector<double> sums_;
};

}  // namespace recorder
