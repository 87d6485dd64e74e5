// Which audio input the window starts with: the one named on the command line, else the default
// capture device, else (no capture device at all) the synthetic signal with a note saying so.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "xvtools/input_spec.h"

namespace recorder::window {

inline constexpr char kNoCaptureDevice[] =
    "No audio capture device: using the synthetic signal (Options > Input)";

struct StartInput {
  xvtools::InputSpec input;
  std::string note;  // for the status line; empty when there is nothing to say
};

// requested: the --input text, already checked; devices: the capture devices present.
StartInput chooseStartInput(const std::optional<std::string>& requested,
                            const std::vector<std::string>& devices);

}  // namespace recorder::window
