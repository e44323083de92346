// The resource switch around a modal call, in a process that starts
// without a QApplication, as a host that only decodes status would.
#include "widgets/resource_scope.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPixmap>
#include <stdexcept>

namespace t740 {
namespace {

const char kPolling[] = "正在进行轮徇，请稍等...";

QString Translated(const char* context, const char* source) {
  return QCoreApplication::translate(context, source);
}

bool QtChineseTranslationInstalled() {
  return QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).exists("qtbase_zh_CN.qm");
}

std::string MessageBoxButtonTexts() {
  QMessageBox box(QMessageBox::NoIcon, QString(), QStringLiteral("x"),
                  QMessageBox::Ok | QMessageBox::Cancel);
  return box.button(QMessageBox::Ok)->text().toStdString() + "|" +
         box.button(QMessageBox::Cancel)->text().toStdString();
}

TEST(ResourceScope, GivesAHostWithoutApplicationOneForTheCallOnly) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  {
    ResourceScope scope;
    ASSERT_NE(QCoreApplication::instance(), nullptr);
    EXPECT_EQ(QPixmap(":/t740/bitmaps/1032").size(), QSize(38, 351));
    EXPECT_EQ(QPixmap(":/t740/bitmaps/1026").size(), QSize(51, 261));
  }
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

TEST(ResourceScope, RestoresTheHostEvenWhenTheDialogCodeThrows) {
  EXPECT_THROW(
      {
        ResourceScope scope;
        throw std::runtime_error("dialog failed");
      },
      std::runtime_error);
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

TEST(ResourceScope, KeepsTheChineseTemplatesUnderAChineseLocale) {
  int argc = 1;
  char name[] = "host";
  char* argv[] = {name, nullptr};
  QApplication host(argc, argv);
  ResourceScope scope;
  EXPECT_EQ(QCoreApplication::instance(), &host);
  EXPECT_EQ(Translated("CPollProgressDlg", kPolling).toStdString(), kPolling);
}

TEST(ResourceScope, MakesTheEnglishTextsCurrentForTheCallUnderAnEnglishLocale) {
  int argc = 1;
  char name[] = "host";
  char* argv[] = {name, nullptr};
  QApplication host(argc, argv);
  {
    ResourceScope scope;
    EXPECT_EQ(Translated("CPollProgressDlg", kPolling).toStdString(),
              "Polling is, please wait........");
    EXPECT_EQ(Translated("CAlarmShieldDlg", "告警屏蔽设置").toStdString(),
              "Alarm settings shielding");
    EXPECT_EQ(Translated("CAlarmShieldDlg", "屏蔽设置").toStdString(), "Alarm settings shielding");
    EXPECT_EQ(Translated("CAlarmShieldDlg", "全选").toStdString(), "All");
    EXPECT_EQ(Translated("CAlarmShieldDlg", "确定").toStdString(), "OK");
    EXPECT_EQ(Translated("CAlarmShieldDlg", "取消").toStdString(), "Cancel");
    // Templates without an English variant stay Chinese.
    EXPECT_EQ(Translated("CLoopbackPage", "保存").toStdString(), "保存");
  }
  EXPECT_EQ(QCoreApplication::instance(), &host);
  EXPECT_EQ(Translated("CPollProgressDlg", kPolling).toStdString(), kPolling);
}

TEST(ResourceScope, GivesQtsOwnButtonsTheirChineseTextsForTheCallOnly) {
  if (!QtChineseTranslationInstalled()) {
    GTEST_SKIP() << "qtbase_zh_CN.qm is not installed (Debian package qt6-translations-l10n)";
  }
  int argc = 1;
  char name[] = "host";
  char* argv[] = {name, nullptr};
  QApplication host(argc, argv);
  {
    ResourceScope scope;
    EXPECT_EQ(MessageBoxButtonTexts(), "确定|取消");
  }
  EXPECT_EQ(MessageBoxButtonTexts(), "OK|Cancel");
}

TEST(ResourceScope, LeavesQtsOwnButtonsEnglishUnderAnEnglishLocale) {
  int argc = 1;
  char name[] = "host";
  char* argv[] = {name, nullptr};
  QApplication host(argc, argv);
  ResourceScope scope;
  EXPECT_EQ(MessageBoxButtonTexts(), "OK|Cancel");
}

TEST(ResourceScope, TemplateFontsFallBackToTheInstalledCjkFont) {
  ResourceScope scope;
  // Named as the locale names it ("文泉驿微米黑" in Chinese).
  const QString cjkFont = QFontInfo(QFont(QStringLiteral("WenQuanYi Micro Hei"))).family();
  for (const char* family : {"NSimSun", "SimSun", "MS Sans Serif"}) {
    EXPECT_EQ(QFont::substitutes(QString::fromLatin1(family)).join('|').toLower(),
              "wenquanyi micro hei")
        << family;
    EXPECT_EQ(QFontInfo(QFont(QString::fromLatin1(family))).family(), cjkFont) << family;
  }
}

}  // namespace
}  // namespace t740

// No QApplication here: the tests above are about what happens without one.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const bool english = qgetenv("T740_TEST_LANG") == "en";
  qputenv("LC_ALL", english ? "en_US.UTF-8" : "zh_CN.UTF-8");
  qunsetenv("LANGUAGE");
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(filter) == "*") GTEST_FLAG_SET(filter, english ? "*English*" : "-*English*");
  return RUN_ALL_TESTS();
}
