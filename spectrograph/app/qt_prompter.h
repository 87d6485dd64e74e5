// The form's questions as Qt dialogs.
#pragma once

#include <QWidget>

#include "xvtools/prompter.h"

namespace spectrograph::app {

class QtPrompter final : public xvtools::Prompter {
 public:
  void setParent(QWidget* parent) { parent_ = parent; }
  xvtools::MsgBoxResult messageBox(const std::string& text, const std::string& title,
                                   int style) override;
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::string openFile(const std::string& filter, int flags) override;
  bool choosePrinter() override { return false; }

 private:
  QWidget* parent_ = nullptr;
};

}  // namespace spectrograph::app
