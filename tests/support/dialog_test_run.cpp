// main() of the dialog tests: gtest on Qt's offscreen platform with one
// QApplication for the whole run. The system locale is Chinese unless
// T740_TEST_LANG=en asks for English (set by the ".en" runs of
// t740_discover_dialog_tests); only the tests set it, the plug-in reads the
// locale as Qt reports it. Tests whose name contains "English" expect the
// English locale and run only in such a run.
#include "support/dialog_test_run.h"

#include <gtest/gtest.h>

#include <QApplication>

namespace t740::test {

int RunDialogTests(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const bool english = qgetenv("T740_TEST_LANG") == "en";
  qputenv("LC_ALL", english ? "en_US.UTF-8" : "zh_CN.UTF-8");
  qunsetenv("LANGUAGE");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  // Without a filter of its own a run takes the tests of its language.
  if (GTEST_FLAG_GET(filter) == "*") GTEST_FLAG_SET(filter, english ? "*English*" : "-*English*");
  return RUN_ALL_TESTS();
}

}  // namespace t740::test
