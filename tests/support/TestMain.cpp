#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
  // Headless by default; and no test may ever touch the machine's own serial devices.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("RXM5620_SYSTEM_PORTS", "0", 1);
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
