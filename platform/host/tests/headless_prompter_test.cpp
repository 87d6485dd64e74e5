// An unattended run's answers: message boxes reported on standard error in the program's form
// and answered with their default button, and the command line's answers given in order.
#include "host/headless_prompter.h"

#include <gtest/gtest.h>

namespace host {
namespace {

TEST(HeadlessPrompter, ReportsEachBoxInTheProgramsFormAndTakesItsDefaultButton) {
  const struct {
    const char* program;
    int style;
    const char* says;
    MsgBoxResult answer;
  } cases[] = {
      {"", vbOKOnly | vbCritical, "\nZelkChart: Invalid <b>night</b>.log\n", vbOK},
      {"", vbYesNo | vbDefaultButton2, "\nZelkChart: Invalid <b>night</b>.log\n", vbNo},
      {"zelkspec", vbOKOnly | vbCritical, "zelkspec: Invalid <b>night</b>.log\n", vbOK},
      {"zelkspec", vbYesNoCancel | 0x200, "zelkspec: Invalid <b>night</b>.log\n", vbCancel},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    HeadlessPrompter prompter(c.program);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(prompter.messageBox("Invalid <b>night</b>.log", "ZelkChart", c.style), c.answer);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.says);
    EXPECT_EQ(prompter.messagesShown(), 1);
  }
}

TEST(HeadlessPrompter, QueuedAnswersComeInOrderThenNothing) {
  HeadlessPrompter prompter;
  prompter.answerNextFile("a.log");
  prompter.answerNextFile("b.log");
  prompter.answerNextInput("23:59:58");
  EXPECT_EQ(prompter.openFile("Log Files|*.log", 0), "a.log");
  EXPECT_EQ(prompter.inputBox("Time", "ZelkChart", "00:00:00"), "23:59:58");
  EXPECT_EQ(prompter.inputBox("Time", "ZelkChart", "00:00:00"), std::nullopt);
  EXPECT_EQ(prompter.openFile("Log Files|*.log", 0), "b.log");
  EXPECT_EQ(prompter.openFile("Log Files|*.log", 0), "");
  EXPECT_FALSE(prompter.choosePrinter());
}

}  // namespace
}  // namespace host
