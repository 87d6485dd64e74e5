// The chart as the recorder sets it up, judged by what it draws: the program's picture of a run
// must be the control's own picture of the recorder's settings (its golden), with nothing added
// but the trace, in the trace's pen.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "png_picture.h"
#include "scratch_folder.h"

namespace recorder::testing {
namespace {

using ChartPictureTest = zelk::test::ScratchFolder;

TEST_F(ChartPictureTest, ARunDrawsTheDesignedChartWithOnlyTheTraceAdded) {
  const zelk::test::RgbPicture golden = zelk::test::readPng(ZELK_RECORDER_CHART_GOLDEN);
  ASSERT_EQ(golden.width, 601);
  const std::string png = p("run.png");
  ASSERT_EQ(runCommand(std::string(ZELKCHART_PATH) +
                       " --headless --input synthetic:3 --seconds 40 --image " + png),
            0)
      << read("stderr.txt");
  const zelk::test::RgbPicture run = zelk::test::readPng(png);
  ASSERT_EQ(run.width, golden.width);
  ASSERT_EQ(run.height, golden.height);
  std::size_t traced = 0, other = 0;
  for (std::size_t i = 0; i < run.rgb.size(); i += 3) {
    if (run.rgb[i] == golden.rgb[i] && run.rgb[i + 1] == golden.rgb[i + 1] &&
        run.rgb[i + 2] == golden.rgb[i + 2]) {
      continue;
    }
    const bool red = run.rgb[i] == 0xFF && run.rgb[i + 1] == 0 && run.rgb[i + 2] == 0;
    ++(red ? traced : other);
  }
  EXPECT_EQ(other, 0u) << "pixels neither the designed chart's nor the trace pen's";
  EXPECT_GT(traced, 100u);
}

}  // namespace
}  // namespace recorder::testing
