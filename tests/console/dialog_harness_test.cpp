// The scripted operator itself: other dialog tests rely on it finding the
// right window inside nested modal loops and on it failing loudly instead
// of hanging.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "support/controls.h"
#include "support/gbk.h"
#include "support/operator.h"
#include "widgets/message_box.h"
#include "widgets/resource_scope.h"

namespace t740::test {
namespace {

// The ids of a window of this test's own, numbered as the plug-in numbers
// its windows and controls.
constexpr int kEchoWindow = 1000;
constexpr int kEchoEdit = 1001;
constexpr int kEchoButton = 1004;
const std::string kEchoName = std::to_string(kEchoWindow);

// A window with an edit and a button that reports the edit's text in a page
// message box.
class EchoDialog : public QDialog {
 public:
  EchoDialog() {
    setObjectName(IdName(kEchoWindow));
    auto* layout = new QVBoxLayout(this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(IdName(kEchoEdit));
    edit_->setMaxLength(4);
    auto* button = new QPushButton("OK", this);
    button->setObjectName(IdName(kEchoButton));
    layout->addWidget(edit_);
    layout->addWidget(button);
    connect(button, &QPushButton::clicked, this,
            [this] { ShowPageMessage(this, ToGbk(edit_->text())); });
  }

 private:
  static std::string ToGbk(const QString& text) { return Gbk(text.toStdString()); }
  QLineEdit* edit_;
};

TEST(DialogHarness, RecordsAMessageBoxInBothEncodingsAndPressesOk) {
  Operator op;
  op.AcceptMessage();
  ShowPageMessage(nullptr, Gbk("环回控制设置成功"));
  EXPECT_TRUE(op.Done());
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"环回控制设置成功"});
  EXPECT_EQ(op.MessagesGbk(), std::vector<std::string>{Gbk("环回控制设置成功")});
}

TEST(DialogHarness, DrivesAMessageBoxOpenedFromInsideAModalDialog) {
  EchoDialog dialog;
  Operator op;
  op.OnDialog(kEchoName, [](QWidget* window) {
    TypeInto(window, kEchoEdit, "光口ABCD");
    Click(window, kEchoButton);
  });
  op.AcceptMessage();
  op.OnDialog(kEchoName, [](QWidget* window) { static_cast<QDialog*>(window)->accept(); });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_TRUE(op.Done());
  // The edit's limit of four characters applies to typed text.
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"光口AB"});
  EXPECT_EQ(op.ModalsShown(), (std::vector<std::string>{kEchoName, "QMessageBox"}));
}

TEST(DialogHarness, AcceptsEveryMessageNoStepWaitsFor) {
  Operator op;
  op.AcceptAllMessages();
  ShowPageMessage(nullptr, Gbk("一"));
  ShowPageMessage(nullptr, Gbk("二"));
  EXPECT_EQ(op.Messages(), (std::vector<std::string>{"一", "二"}));
}

TEST(DialogHarness, ClosesAndReportsAWindowNobodyHandles) {
  Operator op;
  op.SetPatience(std::chrono::milliseconds(50));
  EXPECT_NONFATAL_FAILURE(ShowPageMessage(nullptr, Gbk("无人")), "nobody handled");
}

TEST(DialogHarness, RunsTheUsualTestsWithAChineseSystemLocale) {
  EXPECT_FALSE(ResourceScope::EnglishLocale());
}

TEST(DialogHarness, RunsEnglishTestsWithAnEnglishSystemLocale) {
  EXPECT_TRUE(ResourceScope::EnglishLocale());
}

}  // namespace
}  // namespace t740::test
