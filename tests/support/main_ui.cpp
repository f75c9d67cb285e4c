// Test main of the widget tests: real Qt widgets on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "support/TestEnvironment.h"

int main(int argc, char** argv) {
  quorrel::test::PrepareTestEnvironment();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  quorrel::test::InstallTestListener();
  return RUN_ALL_TESTS();
}
