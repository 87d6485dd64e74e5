// Scripted answers for the form's questions, and a host with a settable clock.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "host/prompter.h"
#include "recorder/form_host.h"
#include "recorder/ole_date.h"

namespace recorder::testing {

class ScriptedPrompter : public host::Prompter {
 public:
  host::MsgBoxResult messageBox(const std::string& text, const std::string&, int style) override {
    messages.push_back(text);
    styles.push_back(style);
    if (!answers.empty()) {
      const auto a = answers.front();
      answers.pop_front();
      return a;
    }
    return host::vbOK;
  }
  std::optional<std::string> inputBox(const std::string& prompt, const std::string&,
                                      const std::string& defaultText) override {
    prompts.push_back(prompt);
    proposed.push_back(defaultText);
    if (inputs.empty()) return std::nullopt;
    auto a = inputs.front();
    inputs.pop_front();
    return a;
  }
  std::string openFile(const std::string& filter, int flags) override {
    filters.push_back(filter);
    flagsSeen.push_back(flags);
    if (files.empty()) return {};
    auto f = files.front();
    files.pop_front();
    return f;
  }
  bool choosePrinter() override { return true; }

  std::deque<host::MsgBoxResult> answers;
  std::deque<std::optional<std::string>> inputs;
  std::deque<std::string> files;
  std::vector<std::string> messages;
  std::vector<int> styles;
  std::vector<std::string> prompts;
  std::vector<std::string> proposed;
  std::vector<std::string> filters;
  std::vector<int> flagsSeen;
};

class FakeHost : public FormHost {
 public:
  double timeOfDay() const override { return secondsToOleDate(clockSeconds); }
  void doEvents() override { ++doEventsCalls; }
  void endProgram() override { ended = true; }
  std::int64_t clockSeconds = 14 * 3600 + 5 * 60 + 8;
  int doEventsCalls = 0;
  bool ended = false;
};

}  // namespace recorder::testing
