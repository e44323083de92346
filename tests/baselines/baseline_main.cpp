// main() of the baseline suite: T740_BASELINE_RUN names the run as
// <language>-x<scale> (zh-x1, en-x2): the system locale of the dialog tests
// and Qt's scale factor, which must be set before the QApplication exists.
#include <QByteArray>
#include <QtGlobal>

#include "support/dialog_test_run.h"

int main(int argc, char** argv) {
  const QByteArray run = qgetenv("T740_BASELINE_RUN");
  const qsizetype scale = run.indexOf("-x");
  if (scale > 0) {
    qputenv("T740_TEST_LANG", run.left(scale));
    qputenv("QT_SCALE_FACTOR", run.mid(scale + 2));
  }
  return t740::test::RunDialogTests(argc, argv);
}
