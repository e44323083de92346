// main() of the dialog tests; see dialog_test_run.cpp.
#include "support/dialog_test_run.h"

int main(int argc, char** argv) {
  return t740::test::RunDialogTests(argc, argv);
}
