// The spectrograph's window, caption "ZelkSpec": the form's components as Qt views at their
// places on the form, the three buttons, and the texts beside the spin buttons. Controls carry
// the form's names as object names. The form's chart control, which serves only for printing,
// sits behind the spectrogram; without one an empty frame holds its place.
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

  // form must outlive the window. chart (the widget siting the form's chart control) is borrowed:
  // the window places it and gives it back to no parent when it closes.
  explicit SpecWindow(Form1& form, QWidget* chart = nullptr, QWidget* parent = nullptr);
  ~SpecWindow() override;

  QPushButton* startStopButton() const { return startStop_; }
  QPushButton* exitButton() const { return exit_; }
  QPushButton* printButton() const { return print_; }

 private:
  void showTexts();

  Form1& form_;
  QWidget* borrowedChart_;
  QPushButton* startStop_;
  QPushButton* exit_;
  QPushButton* print_;
  QLineEdit* windowText_;
  QLineEdit* palletText_;
  QLineEdit* gainText_;
};

}  // namespace spectrograph::app
