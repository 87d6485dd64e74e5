// A folder of a test's own for the files it writes and the programs it runs, made before the test
// and removed after it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace zelk::test {

class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The path of a file in the folder.
  std::string p(const std::string& name) const;
  // The file's bytes; empty when it cannot be read.
  std::string read(const std::string& name) const;
  // Runs the shell command line with its standard output and standard error going to the
  // folder's files "stdout.txt" and "stderr.txt". The exit status, or -1 when the command did
  // not end by itself (a signal).
  int runCommand(const std::string& commandLine) const;

  std::filesystem::path dir;
};

}  // namespace zelk::test
