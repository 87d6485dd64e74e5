// A prompter that keeps every message the form shows and answers nothing else.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/prompter.h"

namespace spectrograph::testing {

class RecordingPrompter : public host::Prompter {
 public:
  std::vector<std::string> messages;
  host::MsgBoxResult messageBox(const std::string& text, const std::string&, int) override {
    messages.push_back(text);
    return host::vbOK;
  }
  std::optional<std::string> inputBox(const std::string&, const std::string&,
                                      const std::string&) override {
    return std::nullopt;
  }
  std::string openFile(const std::string&, int) override { return {}; }
  bool choosePrinter() override { return false; }
};

}  // namespace spectrograph::testing
