// Every window the plug-in shows, photographed offscreen against the
// simulated card's default state and checked against its baseline picture,
// with the geometry the windows are built to in pixels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QMessageBox>
#include <QPainter>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTableView>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "baseline_picture.h"
#include "core/console/remark_file.h"
#include "ids/config_window_ids.h"
#include "ids/port_user_ids.h"
#include "ids/section_overhead_ids.h"
#include "ids/shield_dialog_ids.h"
#include "pages/alarm_shield_dlg.h"
#include "pages/user_info_dlg.h"
#include "picture_difference.h"
#include "sim/default_card.h"
#include "sim/request_binding.h"
#include "sim/simulated_card.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "support/gbk.h"
#include "support/held_poll.h"
#include "support/remark_folder.h"
#include "widgets/message_box.h"
#include "windows/install_configuration_window.h"
#include "windows/threshold_tab_dlg.h"
#include "windows/threshold_window.h"

namespace t740::test {
namespace {

namespace cw = ids::config_window;
namespace section = ids::section_overhead;

constexpr int64_t kFixedTime = 1767225600;  // no picture may depend on the clock

// Widths of the check-box lists' columns, in pixels.
const std::vector<int> kPortUserColumns = {70, 310};
const std::vector<int> kShieldColumns = {50, 80, 220, 70};

class WindowBaselineTest : public DialogTest {
 protected:
  WindowBaselineTest()
      : simulated(
            sim::DefaultIdentity(), sim::DefaultCardState(), [] { return kFixedTime; },
            sim::kDefaultUptimeSeconds) {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
    // A steady caret: a blinking one would be caught on or off at random.
    QApplication::setCursorFlashTime(0);
    InstallConfigurationWindow();
    SetIdentity(sim::kDefaultIp, sim::kDefaultCardAddress);
    card.SetRequestFunction(sim::BindRequestFunction(simulated));
  }
  ~WindowBaselineTest() override { sim::UnbindRequestFunction(simulated); }

  // The start-up poll's dialog, held with its bar at 60.
  void PictureThePoll(std::string_view name) {
    card.SetRequestFunction(RecordingCard::Function());
    RunPollHeldAtLoopback(card, host, op,
                          [name](QWidget* dialog) { ExpectBaseline(dialog, name); });
  }

  sim::SimulatedCard simulated;
};

void ExpectColumns(QWidget* window, int listId, const std::vector<int>& widths) {
  auto* list = Control<QTableView>(window, listId);
  ASSERT_TRUE(list);
  ASSERT_EQ(list->horizontalHeader()->count(), static_cast<int>(widths.size()));
  for (size_t column = 0; column < widths.size(); ++column) {
    EXPECT_EQ(list->columnWidth(static_cast<int>(column)), widths[column]) << column;
  }
  EXPECT_EQ(list->rowHeight(0), 18);
  EXPECT_EQ(list->rowHeight(list->model()->rowCount() - 1), 18);
}

// Each direction page fills its tab control's page area: below the tab bar,
// inside the frame, the same rectangle for all four.
void ExpectDirectionPagesInTheirTabs(QWidget* window) {
  Control<QTabWidget>(window, cw::kTabs)->setCurrentIndex(2);
  auto* tabs = Control<QTabWidget>(Page(window, section::kTemplate), section::kDirectionTabs);
  ASSERT_TRUE(tabs);
  const QRect area = tabs->rect();
  const int tabBarBottom = tabs->tabBar()->geometry().bottom();
  for (int direction = 0; direction < tabs->count(); ++direction) {
    tabs->setCurrentIndex(direction);
    QApplication::processEvents();
    QWidget* page = tabs->widget(direction);
    const QRect placed(page->mapTo(tabs, QPoint(0, 0)), page->size());
    SCOPED_TRACE(direction);
    EXPECT_GT(placed.top(), tabBarBottom);
    EXPECT_LE(placed.top() - tabBarBottom, 4);
    EXPECT_TRUE(area.contains(placed));
    EXPECT_LE(area.width() - placed.width(), 8);
    EXPECT_LE(placed.left(), 4);
    EXPECT_EQ(placed.size(), tabs->widget(0)->size());
  }
  tabs->setCurrentIndex(0);
}

// The tolerance lets a faint change of every pixel through (as a different
// antialiasing would make) but not the Exit button moved by two pixels.
void ExpectToleranceCatchesAMovedButton(QWidget* window) {
  QImage picture = window->grab().toImage().convertToFormat(QImage::Format_ARGB32);
  const qreal scale = picture.devicePixelRatio();
  picture.setDevicePixelRatio(1);  // painted below in the picture's own pixels
  QImage faint = picture;
  for (int y = 0; y < faint.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(faint.scanLine(y));
    for (int x = 0; x < faint.width(); ++x) {
      line[x] = qRgb(qRed(line[x]) ^ 16, qGreen(line[x]) ^ 16, qBlue(line[x]) ^ 16);
    }
  }
  EXPECT_TRUE(ComparePictures(picture, faint).Matches());

  QWidget* exit = Control<QWidget>(window, cw::kExit);
  const QRect button(exit->mapTo(window, QPoint(0, 0)) * scale, exit->size() * scale);
  QImage moved = picture;
  QPainter painter(&moved);
  painter.fillRect(button, window->palette().color(QPalette::Window));
  painter.drawImage(button.topLeft() + QPoint(2, 2) * scale, picture.copy(button));
  painter.end();
  EXPECT_FALSE(ComparePictures(picture, moved).Matches());
}

TEST_F(WindowBaselineTest, ConfigurationWindowTabs) {
  RemarkFolder remarks;
  ASSERT_TRUE(remarks.Create("t740-baseline"));
  RemarkFolder::PutAt(remarks.Root().string() + "/Devices/" + sim::kDefaultIp +
                          sim::kDefaultCardAddress + "t740_Remark.ini",
                      JoinRemarkLine({Gbk("甲线 13900001111"), "", "gamma", Gbk("丁")}));
  setenv("T740_HOST_DIRECTORY", (remarks.Root().string() + "/").c_str(), 1);
  const std::array<const char*, 5> names = {"config-device", "config-loopback",
                                            "config-section-overhead", "config-path-overhead",
                                            "config-port-users"};
  op.OnDialog(std::to_string(cw::kTemplate), [&](QWidget* window) {
    auto* tabs = Control<QTabWidget>(window, cw::kTabs);
    for (int tab = 0; tab < tabs->count(); ++tab) {
      tabs->setCurrentIndex(tab);
      ExpectBaseline(window, names[static_cast<size_t>(tab)]);
    }
    ExpectColumns(Page(window, ids::port_user::kTemplate), ids::port_user::kList, kPortUserColumns);
    ExpectDirectionPagesInTheirTabs(window);
    ExpectToleranceCatchesAMovedButton(window);
    Click(window, cw::kExit);
  });
  card.OpenConfiguration(nullptr, CText(sim::kDefaultIp), CText(sim::kDefaultCardAddress), &record);
  unsetenv("T740_HOST_DIRECTORY");
  EXPECT_TRUE(op.Done());
  EXPECT_TRUE(op.Messages().empty());
}

TEST_F(WindowBaselineTest, ProgressDialog) {
  PictureThePoll("poll-progress");
}

TEST_F(WindowBaselineTest, ProgressDialogEnglish) {
  PictureThePoll("poll-progress-en");
}

void PictureTheShielding(std::string_view name) {
  CAlarmShieldDlg dialog("0100000001", 10, "");
  dialog.show();
  ExpectBaseline(&dialog, name);
  ExpectColumns(&dialog, ids::shield_dialog::kAlarmList, kShieldColumns);
  // The number column is shaded light grey; the others keep the window colour.
  auto* list = Control<QTableView>(&dialog, ids::shield_dialog::kAlarmList);
  const QImage cells = list->viewport()->grab().toImage();
  const qreal scale = cells.devicePixelRatio();
  auto colourAt = [&](int column) {
    const QRect cell = list->visualRect(list->model()->index(4, column));
    return QColor(cells.pixel(QPoint(cell.left() + 2, cell.center().y()) * scale));
  };
  EXPECT_EQ(colourAt(0), QColor(243, 243, 243));
  EXPECT_EQ(colourAt(2), list->palette().color(QPalette::Base));
}

TEST_F(WindowBaselineTest, ShieldingDialog) {
  PictureTheShielding("shield");
}

TEST_F(WindowBaselineTest, ShieldingDialogEnglish) {
  PictureTheShielding("shield-en");
}

TEST_F(WindowBaselineTest, RemarkDialog) {
  CUserInfoDlg dialog(Gbk("甲线 13900001111"));
  dialog.show();
  ExpectBaseline(&dialog, "remark");
}

TEST_F(WindowBaselineTest, ThresholdWindowPages) {
  CThresholdWindow window{card};
  window.Container().SkipCache();
  window.Container().ReadThresholds();
  window.show();
  window.Container().Tabs()->setCurrentIndex(0);
  ExpectBaseline(&window, "thresholds-first-port");
  window.Container().Tabs()->setCurrentIndex(1);
  ExpectBaseline(&window, "thresholds-second-port");
  EXPECT_TRUE(op.Messages().empty());
}

TEST_F(WindowBaselineTest, MessageBoxes) {
  QWidget page;
  int shown = 0;
  // One box at a time: each call returns when its box is closed.
  for (const auto& [name, text] : {std::pair{"message-chinese", Gbk("环回控制设置成功")},
                                   {"message-latin", std::string("Write error!")}}) {
    op.OnMessageBox([this, name = name, &shown](QMessageBox* box) {
      ExpectBaseline(box, name);
      ++shown;
      op.Accept(box);
    });
    ShowPageMessage(&page, text);
  }
  EXPECT_EQ(shown, 2);
}

}  // namespace
}  // namespace t740::test
