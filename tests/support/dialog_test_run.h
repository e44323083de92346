// The body of the dialog tests' main(), for a suite whose main() sets up
// more of the environment first.
#ifndef T740_TESTS_SUPPORT_DIALOG_TEST_RUN_H
#define T740_TESTS_SUPPORT_DIALOG_TEST_RUN_H

namespace t740::test {

int RunDialogTests(int argc, char** argv);

}  // namespace t740::test

#endif
