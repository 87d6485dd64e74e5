// The window's questions, with one rule of its own for the log: the file chosen to log to is
// emptied when logging starts, so one that already holds something is only taken once the
// operator has said so. Every other question goes to the Qt prompter unchanged.
#pragma once

#include "host/qt/qt_prompter.h"

namespace recorder::window {

class LogChoicePrompter final : public host::Prompter {
 public:
  explicit LogChoicePrompter(host::qt::QtPrompter& dialogs) : dialogs_(dialogs) {}

  // While set, the file asked for is a log about to be started.
  void setChoosingLog(bool choosing) { choosingLog_ = choosing; }

  host::MsgBoxResult messageBox(const std::string& text, const std::string& title,
                                int style) override {
    return dialogs_.messageBox(text, title, style);
  }
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override {
    return dialogs_.inputBox(prompt, title, defaultText);
  }
  std::string openFile(const std::string& filter, int flags) override;
  bool choosePrinter() override { return dialogs_.choosePrinter(); }

 private:
  host::qt::QtPrompter& dialogs_;
  bool choosingLog_ = false;
};

}  // namespace recorder::window
