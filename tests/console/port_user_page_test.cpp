#include "pages/port_user_page.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QMessageBox>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ids/port_user_ids.h"
#include "ids/progress_dialog_ids.h"
#include "ids/user_info_dialog_ids.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "support/gbk.h"
#include "support/screenshot.h"

namespace t740::test {
namespace {

namespace fs = std::filesystem;
namespace remark = ids::user_info_dialog;

constexpr int kRemarkDialog = remark::kTemplate;
constexpr int kProgress = ids::progress_dialog::kTemplate;

constexpr int kRemarkColumn = 1;

class PortUserPageTest : public DialogTest {
 protected:
  PortUserPageTest() {
    char pattern[] = "/tmp/t740-ports-XXXXXX";
    if (mkdtemp(pattern)) root_ = pattern;
    fs::create_directory(root_ / "Devices");
    page.SetHostDirectory(root_.string() + "/");
    page.resize(440, 220);
    page.show();
    op.AcceptAllMessages();
  }
  ~PortUserPageTest() override { fs::remove_all(root_); }

  fs::path File() const { return root_ / "Devices" / "10.1.2.30105t740_Remark.ini"; }
  void Put(std::string_view bytes) {
    std::ofstream out(File(), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string Contents() const {
    std::ifstream in(File(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  QAbstractItemView* List() { return Control<QAbstractItemView>(&page, ids::port_user::kList); }
  QString Cell(int row, int column) {
    return List()->model()->index(row, column).data(Qt::DisplayRole).toString();
  }
  // The four remarks as shown, in UTF-8.
  std::vector<std::string> Remarks() {
    std::vector<std::string> remarks;
    for (int row = 0; row < 4; ++row) remarks.push_back(Cell(row, kRemarkColumn).toStdString());
    return remarks;
  }
  QPoint RowCentre(int row) {
    return List()->visualRect(List()->model()->index(row, kRemarkColumn)).center();
  }
  void SelectRow(int row) {
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(row));
  }
  void DoubleClickRow(int row) {
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(row));
  }
  // Selects the row and types the remark in the edit dialog, then OK.
  void EditRemark(int row, std::string utf8) {
    SelectRow(row);
    op.OnDialog(kRemarkDialog, [utf8](QWidget* dialog) {
      TypeInto(dialog, remark::kRemark, utf8);
      Click(dialog, remark::kOk);
    });
    DoubleClickRow(row);
    EXPECT_TRUE(op.Done());
  }

  fs::path root_;
  CPortUserPage page{card};
};

using Texts = std::vector<std::string>;

TEST_F(PortUserPageTest, ListsTheFourPortsUnderTheirHeadings) {
  EXPECT_EQ(page.objectName(), IdName(ids::port_user::kTemplate));
  QAbstractItemView* list = List();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("端口号"));
  EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString(),
            QString::fromUtf8("端口用户信息"));
  ASSERT_EQ(list->model()->rowCount(), 4);
  EXPECT_EQ(Cell(0, 0), QString::fromUtf8("A光口"));
  EXPECT_EQ(Cell(3, 0), QString::fromUtf8("D光口"));
  EXPECT_EQ(Remarks(), (Texts{"", "", "", ""}));
}

TEST_F(PortUserPageTest, EditedRemarksAreSavedAsGbkAndLoadBack) {
  EditRemark(0, "甲线");
  EditRemark(2, "gamma");
  EditRemark(3, "张三 13900001111");
  SaveScreenshot(&page, "port_user_page_" + std::to_string(ids::port_user::kTemplate));
  page.Save();
  EXPECT_EQ(op.Messages(), (std::vector<std::string>{"设置成功!"}));
  EXPECT_EQ(Contents(), Gbk("甲线,,gamma,张三 13900001111,;"));

  CPortUserPage another{card};
  another.SetHostDirectory(root_.string() + "/");
  another.Load();
  auto* list = Control<QAbstractItemView>(&another, ids::port_user::kList);
  EXPECT_EQ(list->model()->index(0, 1).data().toString(), QString::fromUtf8("甲线"));
  EXPECT_EQ(list->model()->index(1, 1).data().toString(), QString());
  EXPECT_EQ(list->model()->index(3, 1).data().toString(), QString::fromUtf8("张三 13900001111"));
}

TEST_F(PortUserPageTest, TheHostDirectoryVariableMovesTheRemarkFile) {
  setenv("T740_HOST_DIRECTORY", root_.c_str(), 1);
  CPortUserPage moved{card};
  unsetenv("T740_HOST_DIRECTORY");
  Put("alpha,,gamma,delta,;");
  moved.Load();
  auto* list = Control<QAbstractItemView>(&moved, ids::port_user::kList);
  EXPECT_EQ(list->model()->index(2, 1).data().toString(), QString("gamma"));
  moved.Save();
  EXPECT_EQ(op.Messages(), (std::vector<std::string>{"设置成功!"}));
  EXPECT_EQ(Contents(), "alpha,,gamma,delta,;");
  // Beside the test program nothing was made.
  char executable[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", executable, sizeof executable - 1), 0);
  EXPECT_FALSE(fs::exists(fs::path(executable).parent_path() / "Devices"));
}

TEST_F(PortUserPageTest, UntouchedRemarksKeepTheirBytesThroughEditAndSave) {
  const std::string original("\xFF\xFE,beta,,delta,;", 16);
  Put(original);
  page.Load();
  SelectRow(0);
  op.OnDialog(kRemarkDialog, [](QWidget* dialog) { Click(dialog, remark::kOk); });
  DoubleClickRow(0);
  page.Save();
  EXPECT_EQ(Contents(), original);
}

TEST_F(PortUserPageTest, MissingFileLoadsFourEmptyRemarksSilently) {
  EditRemark(1, "unsaved");
  page.Load();
  EXPECT_EQ(Remarks(), (Texts{"", "", "", ""}));
  page.Load();
  EXPECT_TRUE(op.Messages().empty());
  EXPECT_EQ(op.CountShown(kProgress), 0u);
}

TEST_F(PortUserPageTest, LoadsAfterTheFirstShowTheProgressDialog) {
  Put("a,b,c,d,;");
  page.Load();
  EXPECT_EQ(op.CountShown(kProgress), 0u);
  Put("w,x,y,z,;");
  page.Load();
  EXPECT_EQ(op.CountShown(kProgress), 1u);
  EXPECT_EQ(Remarks(), (Texts{"w", "x", "y", "z"}));
}

TEST_F(PortUserPageTest, EmptyFileReportsAndKeepsTheList) {
  Put("a,b,c,d,;");
  page.Load();
  Put("");
  page.Load();
  EXPECT_EQ(op.Messages(), (std::vector<std::string>{"Read Tephone Fail"}));
  EXPECT_EQ(Remarks(), (Texts{"a", "b", "c", "d"}));
  EXPECT_EQ(op.CountShown(kProgress), 0u);
}

TEST_F(PortUserPageTest, FailedFirstLoadLeavesTheNextLoadAFirstOne) {
  Put("");
  page.Load();
  Put("a,b,c,d,;");
  page.Load();
  EXPECT_EQ(op.CountShown(kProgress), 0u);
  EXPECT_EQ(Remarks(), (Texts{"a", "b", "c", "d"}));
}

TEST_F(PortUserPageTest, ShortOrFieldlessLinesLeaveTheOtherPortsEmpty) {
  Put("x,y,");
  page.Load();
  EXPECT_EQ(Remarks(), (Texts{"x", "y", "", ""}));
  Put("no fields at all");
  page.Load();
  EXPECT_EQ(Remarks(), (Texts{"", "", "", ""}));
  std::string many;
  for (int i = 0; i < 300; ++i) many += "f" + std::to_string(i) + ",";
  Put(many);
  page.Load();
  EXPECT_EQ(Remarks(), (Texts{"f0", "f1", "f2", "f3"}));
}

TEST_F(PortUserPageTest, SaveWithoutDevicesDirectoryIsAWriteError) {
  fs::remove(root_ / "Devices");
  page.Save();
  EXPECT_EQ(op.Messages(), (std::vector<std::string>{"Write error!"}));
  EXPECT_FALSE(fs::exists(root_ / "Devices"));
}

TEST_F(PortUserPageTest, AddressesThatLeaveDevicesAreNeitherReadNorWritten) {
  fs::create_directory(root_ / "outside");
  std::ofstream(root_ / "outside" / "t740_Remark.ini") << "secret,secret,secret,secret,;";
  SetIdentity("../outside/", "");
  page.Load();
  EXPECT_EQ(Remarks(), (Texts{"", "", "", ""}));
  EditRemark(0, "overwrite");
  page.Save();
  EXPECT_EQ(op.Messages(), (std::vector<std::string>{"Write error!"}));
  std::ifstream in(root_ / "outside" / "t740_Remark.ini");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "secret,secret,secret,secret,;");
}

TEST_F(PortUserPageTest, DoubleClickWithoutSelectionOpensNothing) {
  // Below the four rows: the list never had a selection.
  const QPoint belowRows(5, RowCentre(3).y() + 20);
  ASSERT_LT(belowRows.y(), List()->viewport()->height());
  QTest::mouseDClick(List()->viewport(), Qt::LeftButton, Qt::NoModifier, belowRows);
  EXPECT_TRUE(op.ModalsShown().empty());
  EXPECT_EQ(Remarks(), (Texts{"", "", "", ""}));
}

// By keyboard: Enter edits the row the list is on (the first when the focus
// has just come), the arrows move, F2 edits too; the cell's tooltip then
// holds the whole remark, however narrow its column.
TEST_F(PortUserPageTest, EnterAndF2EditTheKeyboardsRowAndTheTooltipShowsItAll) {
  page.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
  QAbstractItemView* list = List();
  list->setFocus(Qt::OtherFocusReason);
  ASSERT_TRUE(list->hasFocus());
  op.OnDialog(kRemarkDialog, [](QWidget* dialog) {
    TypeInto(dialog, remark::kRemark, "alpha");
    Click(dialog, remark::kOk);
  });
  PressKey(list, Qt::Key_Return);
  EXPECT_TRUE(op.Done());
  const std::string whole = "Line 7 to the exchange " + std::string(60, 'x') + " 13900001111";
  op.OnDialog(kRemarkDialog, [whole](QWidget* dialog) {
    EXPECT_EQ(Text(dialog, remark::kRemark), "");
    TypeInto(dialog, remark::kRemark, whole);
    Click(dialog, remark::kOk);
  });
  PressKey(list, Qt::Key_Down);
  PressKey(list, Qt::Key_F2);
  EXPECT_TRUE(op.Done());
  EXPECT_EQ(Remarks(), (Texts{"alpha", whole, "", ""}));
  const QModelIndex cell = list->model()->index(1, kRemarkColumn);
  ASSERT_LT(list->visualRect(cell).width(),
            list->fontMetrics().horizontalAdvance(QString::fromStdString(whole)));
  EXPECT_EQ(cell.data(Qt::ToolTipRole).toString().toStdString(), whole);
}

TEST_F(PortUserPageTest, CancelEscapeAndCloseBoxLeaveTheRemark) {
  EditRemark(2, "kept");
  const std::function<void(QWidget*)> endings[] = {
      [](QWidget* dialog) { Click(dialog, remark::kCancel); },
      [](QWidget* dialog) { PressKey(dialog, Qt::Key_Escape); },
      [](QWidget* dialog) { dialog->close(); },
  };
  for (const auto& end : endings) {
    op.OnDialog(kRemarkDialog, [&](QWidget* dialog) {
      EXPECT_EQ(Text(dialog, remark::kRemark), "kept");
      TypeInto(dialog, remark::kRemark, "changed");
      end(dialog);
    });
    DoubleClickRow(2);
    EXPECT_TRUE(op.Done());
    EXPECT_EQ(Remarks()[2], "kept");
  }
}

TEST_F(PortUserPageTest, EnterInTheEditActsAsOk) {
  SelectRow(1);
  op.OnDialog(kRemarkDialog, [](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle().toStdString(), "用户信息");
    TypeInto(dialog, remark::kRemark, "by enter");
    PressKey(Control<QWidget>(dialog, remark::kRemark), Qt::Key_Return);
  });
  DoubleClickRow(1);
  EXPECT_TRUE(op.Done());
  EXPECT_EQ(Remarks()[1], "by enter");
}

TEST_F(PortUserPageTest, RemarkWithAFieldEndIsRefusedAndTheDialogStays) {
  SelectRow(0);
  std::string stillOpen;
  op.OnDialog(kRemarkDialog, [](QWidget* dialog) {
    TypeInto(dialog, remark::kRemark, "a,b");
    Click(dialog, remark::kOk);
  });
  op.AcceptMessage();
  op.OnDialog(kRemarkDialog, [&](QWidget* dialog) {
    stillOpen = Text(dialog, remark::kRemark);
    Click(dialog, remark::kCancel);
  });
  DoubleClickRow(0);
  EXPECT_TRUE(op.Done());
  EXPECT_EQ(op.Messages(), (std::vector<std::string>{"用户信息不能包含\",\"或换行!"}));
  EXPECT_EQ(stillOpen, "a,b");
  EXPECT_EQ(Remarks()[0], "");
}

TEST_F(PortUserPageTest, RemarkFileSitsBesideTheHostByDefault) {
  SetIdentity("10.9.9." + std::to_string(getpid()), "0203");
  CPortUserPage beside{card};
  const fs::path devices = fs::canonical("/proc/self/exe").parent_path() / "Devices";
  const bool made = fs::create_directory(devices);
  const fs::path file = devices / ("10.9.9." + std::to_string(getpid()) + "0203t740_Remark.ini");
  beside.Save();
  EXPECT_TRUE(fs::exists(file));
  std::error_code ignored;
  fs::remove(file, ignored);
  // Other suites beside this one may be using the directory by now.
  if (made) fs::remove(devices, ignored);
}

}  // namespace
}  // namespace t740::test
