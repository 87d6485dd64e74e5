// The chart's picture as an unattended run keeps it: written at the end, and every N seconds of
// signal when asked, each time to a scratch file that replaces the picture only once complete,
// so a viewer never reads half a picture. With labels, the clock's three times (left edge,
// middle, right edge) stand under the chart, so the picture alone says when it was taken.
#pragma once

#include <string>

#include "headless_options.h"
#include "host/headless.h"
#include "recorder/zelk_chrt_form.h"

namespace recorder::app {

class LiveImage {
 public:
  LiveImage(const host::HeadlessContainer& container, const ZelkChrtForm& form,
            const HeadlessOptions& options)
      : container_(container), form_(form), options_(options) {}

  // Called after each second of signal. False when a due picture could not be written.
  bool secondPassed(long seconds);
  // Writes the picture now; reports a failure on stderr.
  bool write();

 private:
  bool writeWithLabels() const;

  const host::HeadlessContainer& container_;
  const ZelkChrtForm& form_;
  const HeadlessOptions& options_;
};

}  // namespace recorder::app
