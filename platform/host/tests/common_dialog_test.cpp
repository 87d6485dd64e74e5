// The form's file dialog: what the operator chooses becomes a full path and a title, and a
// choice the flags do not allow counts as none.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "host/common_dialog.h"

namespace host {
namespace {

class ScriptedPrompter : public Prompter {
 public:
  std::string answer;
  std::string seenFilter;
  int seenFlags = -1;
  bool printer = true;
  MsgBoxResult messageBox(const std::string&, const std::string&, int) override { return vbOK; }
  std::optional<std::string> inputBox(const std::string&, const std::string&,
                                      const std::string&) override {
    return std::nullopt;
  }
  std::string openFile(const std::string& filter, int flags) override {
    seenFilter = filter;
    seenFlags = flags;
    return answer;
  }
  bool choosePrinter() override { return printer; }
};

class Dialog : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        std::filesystem::temp_directory_path() / ("xvtools_dialog_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    existing_ = (dir_ / "night.log").string();
    std::ofstream(existing_) << "\"T\",#00:00:01#,4\r\n";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
  std::string existing_;
};

TEST_F(Dialog, OpenGivesFullPathAndTitleAndPassesFilterAndFlags) {
  ScriptedPrompter prompter;
  CommonDialog dialog(prompter);
  dialog.setFilter("Log Files(*.log)|*.log|All|*.*");
  dialog.setFlags(4096);
  prompter.answer = existing_;
  dialog.ShowOpen();
  EXPECT_EQ(prompter.seenFilter, "Log Files(*.log)|*.log|All|*.*");
  EXPECT_EQ(prompter.seenFlags, 4096);
  EXPECT_EQ(dialog.FileName(), existing_);
  EXPECT_EQ(dialog.FileTitle(), "night.log");
}

TEST_F(Dialog, FileMustExistRefusesAMissingFile) {
  ScriptedPrompter prompter;
  CommonDialog dialog(prompter);
  const std::string missing = (dir_ / "absent.log").string();
  prompter.answer = missing;
  dialog.setFlags(CommonDialog::cdlOFNFileMustExist);
  dialog.ShowOpen();
  EXPECT_EQ(dialog.FileName(), "");
  EXPECT_EQ(dialog.FileTitle(), "");
  // Without the flag a new file may be named (the log file to be written).
  dialog.setFlags(0);
  dialog.ShowOpen();
  EXPECT_EQ(dialog.FileName(), missing);
  EXPECT_EQ(dialog.FileTitle(), "absent.log");
  // ...but not in a folder that does not exist when the path must exist.
  prompter.answer = (dir_ / "no-folder" / "x.log").string();
  dialog.setFlags(CommonDialog::cdlOFNPathMustExist);
  dialog.ShowOpen();
  EXPECT_EQ(dialog.FileName(), "");
}

TEST_F(Dialog, CancelClearsTheNameAndRelativeAnswersBecomeFullPaths) {
  ScriptedPrompter prompter;
  CommonDialog dialog(prompter);
  prompter.answer = existing_;
  dialog.ShowOpen();
  prompter.answer = "";
  dialog.ShowOpen();
  EXPECT_EQ(dialog.FileName(), "");

  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir_);
  prompter.answer = "night.log";
  dialog.setFlags(4096);
  dialog.ShowOpen();
  std::filesystem::current_path(cwd);
  EXPECT_EQ(dialog.FileName(), existing_);
  EXPECT_EQ(dialog.FileTitle(), "night.log");
}

TEST_F(Dialog, PrinterChoiceIsTheFrontEndsAnswer) {
  ScriptedPrompter prompter;
  CommonDialog dialog(prompter);
  EXPECT_TRUE(dialog.ShowPrinter());
  prompter.printer = false;
  EXPECT_FALSE(dialog.ShowPrinter());
}

}  // namespace
}  // namespace host
