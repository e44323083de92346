#include "widgets/limit_trace_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

namespace t740 {
namespace {

class LimitTraceEditTest : public ::testing::Test {
 protected:
  LimitTraceEditTest() { BindTraceLimit(&edit); }
  QLineEdit edit;
};

TEST_F(LimitTraceEditTest, PastedTextKeepsItsFirst32CharactersAndTheCaretAtTheEnd) {
  QApplication::clipboard()->setText(QString(40, QLatin1Char('7')));
  edit.paste();
  EXPECT_EQ(edit.text(), QString(32, QLatin1Char('7')));
  EXPECT_EQ(edit.cursorPosition(), 32);
  EXPECT_FALSE(edit.hasSelectedText());
}

TEST_F(LimitTraceEditTest, CaretStaysWhereTheChangeEnded) {
  edit.setText(QString(31, QLatin1Char('a')));
  edit.setCursorPosition(10);
  edit.insert(QStringLiteral("bc"));
  EXPECT_EQ(edit.text(), QString(10, QLatin1Char('a')) + "bc" + QString(20, QLatin1Char('a')));
  EXPECT_EQ(edit.cursorPosition(), 12);
}

TEST_F(LimitTraceEditTest, CountsGbkBytesAndNeverSplitsADoubleByteCharacter) {
  // 15 double-byte characters and one letter: 31 bytes, within the limit.
  const QString wide = QString(15, QChar(0x6E90)) + "a";
  edit.setText(wide);
  EXPECT_EQ(edit.text(), wide);
  // One more double-byte character would need 33 bytes, so it goes.
  edit.end(false);
  edit.insert(QString(QChar(0x6E90)));
  EXPECT_EQ(edit.text(), wide);
  EXPECT_EQ(edit.cursorPosition(), 16);
}

TEST_F(LimitTraceEditTest, CharactersWithoutAGbkFormSurviveTheCut) {
  // An emoji has no GBK form and counts as one "?" byte.
  const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
  edit.setText(emoji + QString(40, QLatin1Char('1')));
  EXPECT_EQ(edit.text(), emoji + QString(31, QLatin1Char('1')));
}

}  // namespace
}  // namespace t740
