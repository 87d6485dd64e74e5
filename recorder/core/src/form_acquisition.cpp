// The form's live path: one audio block in, its points logged and plotted; the one-second clock.
#include <algorithm>

#include "recorder/log_rotation.h"
#include "recorder/ole_date.h"
#include "recorder/zelk_chrt_form.h"
#include "wave_tool_binding.h"

namespace recorder {

void ZelkChrtForm::bufferReady(WAVEHDR* hdr) {
  guarded([this, hdr] {
    if (!waveTool_->bind()) {
      // Without the library no block can be copied: stop rather than record nothing.
      if (Running_ == 1) stopRecording();
      if (!waveToolReported_) {
        waveToolReported_ = true;
        reportError("The audio blocks cannot be read: " + waveTool_->error());
      }
      return;
    }
    const std::int32_t bytes = waveTool_->parseWaveHeader(hdr);
    if (hdr != nullptr && bytes > kBlockByteCapacity &&
        hdr->dwBytesRecorded <= hdr->dwBufferLength) {
      // Larger than the block buffer: take it in parts rather than drop it.
      if (!largeBlockReported_) {
        largeBlockReported_ = true;
        prompter_.messageBox("Audio blocks of " + std::to_string(bytes) +
                                 " bytes are larger than the recorder's block of 8000 bytes;"
                                 " each is drawn in parts.",
                             kFormCaption, host::vbOKOnly | host::vbInformation);
      }
      // Each part is a buffer of its own and goes through the same rules as a whole one: a
      // buffer with nothing recorded gives empty parts, one without data gives parts without
      // data.
      const bool recorded = static_cast<std::int32_t>(hdr->dwBytesRecorded) > 0;
      for (std::int32_t offset = 0; offset < bytes; offset += kBlockPartBytes) {
        WAVEHDR part{};
        part.lpData = hdr->lpData == nullptr ? nullptr : hdr->lpData + offset;
        part.dwBufferLength = static_cast<std::uint32_t>(std::min(kBlockPartBytes, bytes - offset));
        part.dwBytesRecorded = recorded ? part.dwBufferLength : hdr->dwBytesRecorded;
        reduceAndPlot(&part);
      }
    } else {
      reduceAndPlot(hdr);
    }
  });
  // Pending messages run only after the block is fully plotted.
  host_.doEvents();
}

void ZelkChrtForm::reduceAndPlot(const WAVEHDR* hdr) {
  std::fill(BlockSamples_.begin(), BlockSamples_.end(), std::int16_t{0});
  std::int32_t n = waveTool_->copyWaveHeader(hdr, BlockSamples_.data(), kBlockByteCapacity);
  // A new sample size takes effect here, at a block boundary, never inside a block.
  BlockSamplesPerPoint_ = SamplesPerPoint_;
  const std::size_t samples = static_cast<std::size_t>(std::max(n, 0) / 2);
  PointCount_ = reduceBlock(std::span<const std::int16_t>(BlockSamples_.data(), samples),
                            BlockSamplesPerPoint_, {SecondsPerPoint_, SpeedFactor_}, LastX_,
                            chartData_.values(), chartData_.xs());
  if (PointCount_ > 0) lastLevel_ = chartData_.values()[static_cast<std::size_t>(PointCount_ - 1)];
  if (LoggingEnabled_ && LogFileOpen_) {
    const auto values = chartData_.values();
    for (std::int32_t i = 0; i < PointCount_; ++i) {
      if (!log_.writeData(values[i])) logWriteFailed(CurrentTime_);
    }
  }
  sendPoints(PointCount_);
}

void ZelkChrtForm::setClockLabels() {
  const std::int64_t now = oleDateToSeconds(CurrentTime_);
  const std::int64_t division = chartSpeedLed_.Value();
  setText(timeDisp_, formatTimeOfDay(now));
  setText(text1_, formatTimeOfDay(now - 6 * division));
  setText(text2_, formatTimeOfDay(now - 12 * division));
}

void ZelkChrtForm::clockTick() {
  guarded([this] {
    CurrentTime_ = secondsToOleDate(oleDateToSeconds(CurrentTime_) + 1);
    setClockLabels();
    if (LoggingEnabled_ && LogFileOpen_) {
      if (log_.writeTime(CurrentTime_, static_cast<std::int16_t>(sampleSizeRow_))) {
        logWriteWorked();
      } else {
        logWriteFailed(secondsToOleDate(oleDateToSeconds(CurrentTime_) - 1));
      }
      // The time record just written ends the day's last second in the day's file.
      if (rotationFirstDay_ && dayOf(CurrentTime_) != logClockDay_) rotateLog();
    }
  });
}

}  // namespace recorder
