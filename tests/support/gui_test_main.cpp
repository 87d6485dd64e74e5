// main() of the GUI test programs: a real QApplication on the X server the test command started
// (xvfb-run), then the tests.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
