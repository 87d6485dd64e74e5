// The spectrograph's window, caption "ZelkSpec": the form's components as Qt views at their
// places on the form, the three buttons, and the texts beside the spin buttons. Controls carry
// the form's names as object names. The chart control used for printing is a placeholder until
// the Qt container can site the real one.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "spectrograph/form1.h"

namespace spectrograph::app {

class SpecWindow final : public QWidget {
 public:
  static constexpr int kWidth = 585;
  static constexpr int kHeight = 400;

  // form must outlive the window.
  explicit SpecWindow(Form1& form, QWidget* parent = nullptr);
  ~SpecWindow() override;

  QPushButton* startStopButton() const { return startStop_; }
  QPushButton* exitButton() const { return exit_; }
  QPushButton* printButton() const { return print_; }

 private:
  void showTexts();

  Form1& form_;
  QPushButton* startStop_;
  QPushButton* exit_;
  QPushButton* print_;
  QLineEdit* windowText_;
  QLineEdit* palletText_;
  QLineEdit* gainText_;
};

}  // namespace spectrograph::app
