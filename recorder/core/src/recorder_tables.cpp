#include "recorder/recorder_tables.h"

namespace recorder {

void RecorderTables::fill() {
  // Samples per point = milliseconds x 8: the input runs at 8000 samples per second.
  SampleSizeTable = {{{16, 2}, {40, 5}, {80, 10}, {160, 20}, {400, 50}, {800, 100}, {0, 0}}};
  // 796.25 / seconds per division, to four decimals: a division spans 800 of the window's 9600.
  ChartSpeedTable = {{{132.7083f, 6},
                      {66.3542f, 12},
                      {26.5417f, 30},
                      {13.2708f, 60},
                      {6.6354f, 120},
                      {0, 0},
                      {0, 0}}};
  VertScaleTable = {{{2, 0.125f, 5}, {4, 0.375f, 6}, {8, 0.875f, 7}, {0, 0, 0}}};
}

bool RecorderTables::usableSampleSizeRow(int row) const {
  return row >= 0 && row < kSampleSizeRows && SampleSizeTable[row][0] > 0;
}

}  // namespace recorder
