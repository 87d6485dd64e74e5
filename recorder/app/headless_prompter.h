// Answers the form's questions in an unattended run: the file dialog with the paths from the
// command line, message boxes on stderr with their default button, the Time box with the start
// time given.
#pragma once

#include <deque>
#include <string>

#include "xvtools/prompter.h"

namespace recorder::app {

class HeadlessPrompter : public xvtools::Prompter {
 public:
  void answerNextFile(std::string path) { files_.push_back(std::move(path)); }
  void answerNextInput(std::string text) { inputs_.push_back(std::move(text)); }
  int messagesShown() const { return messagesShown_; }

  xvtools::MsgBoxResult messageBox(const std::string& text, const std::string& title,
                                   int style) override;
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::string openFile(const std::string& filter, int flags) override;
  bool choosePrinter() override { return false; }

 private:
  std::deque<std::string> files_;
  std::deque<std::string> inputs_;
  int messagesShown_ = 0;
};

// The button a message box of this style answers with when nobody presses one.
xvtools::MsgBoxResult defaultButton(int style);

}  // namespace recorder::app
