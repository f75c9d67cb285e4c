// Test main of the core test binaries: no display, no QApplication.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "support/TestEnvironment.h"

int main(int argc, char** argv) {
  quorrel::test::PrepareTestEnvironment();
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  quorrel::test::InstallTestListener();
  int result = RUN_ALL_TESTS();
  return result;
}
