// Plays arbitrary bytes back as a recorder log, tick by tick, on a stand-in chart: every tick
// reads a bounded piece, draws no more points than it read, and the playback ends.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "fake_chart.h"
#include "fake_front_end.h"
#include "recorder/log_reader.h"
#include "recorder/zelk_chrt_form.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int fd = ::memfd_create("log", MFD_CLOEXEC);
  if (fd < 0) return 0;
  if (size > 0 && ::write(fd, data, size) != static_cast<ssize_t>(size)) {
    ::close(fd);
    return 0;
  }
  recorder::testing::FakeChart chart;
  recorder::testing::FakeHost host;
  recorder::testing::ScriptedPrompter prompter;
  {
    recorder::ZelkChrtForm form(chart, host, prompter);
    form.load();
    prompter.files.push_back("/proc/self/fd/" + std::to_string(fd));
    form.playbackButtonClick();
    // A tick takes at least one record or ends the playback.
    std::size_t ticks = 0;
    while (form.Playing()) {
      if (++ticks > size + 2) std::abort();
      chart.chartData.clear();
      form.playBackTimerTick();
      std::int64_t points = 0;
      for (const auto& call : chart.chartData) {
        if (call.points < 0) std::abort();
        points += call.points;
      }
      if (points > static_cast<std::int64_t>(recorder::kMaxRecordsPerPiece)) std::abort();
    }
    if (form.playbackRefused() && form.playbackRefusedLine() < 1) std::abort();
  }
  ::close(fd);
  return 0;
}
