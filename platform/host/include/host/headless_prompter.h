// Answers a form's questions when nobody is there to: message boxes go to standard error and
// take their default button, input boxes and the file dialog take the answers queued for them
// (in an unattended run, from its command line) and are cancelled when none is left, and no
// printer is ever chosen.
#pragma once

#include <deque>
#include <string>

#include "host/prompter.h"

namespace host {

class HeadlessPrompter final : public Prompter {
 public:
  // A message box is written as its title and text after an empty line; a program that signs
  // what it reports with its name gives it, and each box is one line "program: text" instead.
  explicit HeadlessPrompter(std::string program = {}) : program_(std::move(program)) {}

  void answerNextFile(std::string path) { files_.push_back(std::move(path)); }
  void answerNextInput(std::string text) { inputs_.push_back(std::move(text)); }
  int messagesShown() const { return messagesShown_; }

  MsgBoxResult messageBox(const std::string& text, const std::string& title, int style) override;
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::string openFile(const std::string& filter, int flags) override;
  bool choosePrinter() override { return false; }

 private:
  std::string program_;
  std::deque<std::string> files_;
  std::deque<std::string> inputs_;
  int messagesShown_ = 0;
};

// The button a message box of this style answers with when nobody presses one.
MsgBoxResult defaultButton(int style);

}  // namespace host
