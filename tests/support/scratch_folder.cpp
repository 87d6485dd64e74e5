#include "scratch_folder.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace zelk::test {

void ScratchFolder::SetUp() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  // The process id keeps test programs run side by side apart.
  dir = std::filesystem::temp_directory_path() /
        ("zelk_" + std::string(test->test_suite_name()) + "_" + test->name() + "_" +
         std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
}

void ScratchFolder::TearDown() { std::filesystem::remove_all(dir); }

std::string ScratchFolder::p(const std::string& name) const { return (dir / name).string(); }

std::string ScratchFolder::read(const std::string& name) const {
  std::ifstream in(dir / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int ScratchFolder::runCommand(const std::string& commandLine) const {
  const std::string command = commandLine + " >" + p("stdout.txt") + " 2>" + p("stderr.txt");
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace zelk::test
