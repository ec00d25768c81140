// GoogleTest main for suites that need a QApplication (offscreen in CTest).
#include "ui/qt/AccessibleRoles.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Test discovery at build time only lists names and may have no display.
  std::unique_ptr<QApplication> app;
  if (!::testing::GTEST_FLAG(list_tests)) {
    app = std::make_unique<QApplication>(argc, argv);
    tallyflow::InstallAccessibleRoles();
  }
  return RUN_ALL_TESTS();
}
