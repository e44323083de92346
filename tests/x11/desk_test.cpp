// The operator's desk: the configuration window and the shielding dialog on
// a real X server, worked by keyboard alone. Each step waits for the effect
// of the keys before it, so the suite runs as fast as the windows answer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/card/host_directory.h"
#include "ids/config_window_ids.h"
#include "ids/port_user_ids.h"
#include "ids/section_direction_ids.h"
#include "ids/section_overhead_ids.h"
#include "ids/shield_dialog_ids.h"
#include "ids/user_info_dialog_ids.h"
#include "sim/default_card.h"
#include "sim/request_binding.h"
#include "sim/simulated_card.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "t740/abi.h"
#include "widgets/check_list_ctrl.h"
#include "windows/install_configuration_window.h"
#include "x_display.h"
#include "x_keyboard.h"

namespace t740::test {
namespace {

namespace fs = std::filesystem;
using namespace ids;

constexpr int kSectionTab = 2;
constexpr int kPathTab = 3;
constexpr int kPortUserTab = 4;
// A J0 trace identifier is 32 characters.
constexpr char kTypedTrace[] = "54373430206b6579626f617264202020";
constexpr char kSentTrace[] = "54373430206B6579626F617264202020";
constexpr char kTypedRemark[] = "Line 7 13900001111";

// Ready for keys: shown, exposed and holding the X input focus. Xvfb runs
// no window manager, so nothing hands the focus back to a window when a
// dialog over it closes, as a desktop would; the window asks for it here.
bool Ready(QWidget* window) {
  const bool exposed = window->windowHandle() && window->windowHandle()->isExposed();
  if (exposed && !window->isActiveWindow() && !QApplication::activeWindow()) {
    window->activateWindow();
  }
  return exposed && window->isActiveWindow();
}

bool ReadyModal(QWidget* modal, int templateId) {
  return modal->objectName() == QString::number(templateId) && Ready(modal);
}

// A picture as the X server shows it, for the README.
void Photograph(QWidget* window, const char* name) {
  QApplication::processEvents();
  const QString directory = QStringLiteral(T740_X11_SCREENSHOT_DIR);
  QDir().mkpath(directory);
  const QPixmap picture = window->screen()->grabWindow(window->winId());
  EXPECT_TRUE(picture.save(directory + QLatin1Char('/') + QLatin1String(name) + ".png")) << name;
}

QTabWidget* Tabs(QWidget* window) {
  return Control<QTabWidget>(window, config_window::kTabs);
}

// Presses Tab `presses` times, each press once the one before has moved the
// focus; the focus must arrive on `target` with the last press, not before.
// Tab that stops moving the focus leaves the window to the patience of the
// operator, which closes it.
void TabTo(Operator& op, QPointer<QWidget> target, int presses) {
  if (!target) return;
  const std::string name = target->objectName().toStdString();
  if (presses == 0) {
    EXPECT_TRUE(target->hasFocus()) << "Tab did not reach " << name;
    return;
  }
  if (target->hasFocus()) {
    ADD_FAILURE() << "Tab reached " << name << " " << presses << " presses early";
    return;
  }
  QWidget* from = QApplication::focusWidget();
  PressKey("Tab", 1);
  op.Next([from](QWidget*) { return QApplication::focusWidget() != from; },
          [&op, target, presses](QWidget*) { TabTo(op, target, presses - 1); });
}

class DeskTest : public DialogTest {
 protected:
  DeskTest()
      : simulated(sim::DefaultIdentity(), sim::DefaultCardState(), sim::WallClock(),
                  sim::kDefaultUptimeSeconds) {
    InstallConfigurationWindow();
    card.SetRequestFunction(sim::BindRequestFunction(simulated));
  }
  ~DeskTest() override { sim::UnbindRequestFunction(simulated); }

  void SetUp() override {
    if (!NoDisplayReason().empty()) GTEST_SKIP() << "no X server: " << NoDisplayReason();
  }

  void Open() {
    card.OpenConfiguration(nullptr, CText(sim::kDefaultIp), CText(sim::kDefaultCardAddress),
                           &record);
    EXPECT_TRUE(op.Done()) << op.PendingSteps() << " steps did not run";
  }

  // Runs `step` once the configuration window is ready and `when` holds.
  void InWindow(std::function<bool(QWidget*)> when, Operator::Step step) {
    op.Then(
        [when](QWidget* modal) {
          return ReadyModal(modal, config_window::kTemplate) && when(modal);
        },
        std::move(step));
  }
  void OnReadyMessage(std::function<void(QMessageBox*)> step) {
    op.Then([](QWidget* modal) { return IsMessageBox(modal) && Ready(modal); },
            [step](QWidget* modal) { step(qobject_cast<QMessageBox*>(modal)); });
  }

  sim::SimulatedCard simulated;
};

TEST_F(DeskTest, SectionOverheadIsWrittenByKeyboardAndTheCaptionIsTheCards) {
  const sim::CardState before = simulated.Snapshot();
  QLineEdit* trace = nullptr;
  InWindow([](QWidget*) { return true; },
           [](QWidget* window) {
             EXPECT_EQ(XWindowName(window), "t740");
             Photograph(window, "config-device");
             PressKeys({"ctrl+Tab"});
           });
  InWindow([](QWidget* w) { return Tabs(w)->currentIndex() == 1; },
           [](QWidget* window) {
             Photograph(window, "config-loopback");
             PressKeys({"ctrl+Tab"});
           });
  InWindow([](QWidget* w) { return Tabs(w)->currentIndex() == kSectionTab; },
           [this, &trace](QWidget* window) {
             // From the tab bar: the direction tabs, J0 expected, J0 send.
             trace = Control<QLineEdit>(Page(Page(window, section_overhead::kTemplate),
                                             section_overhead::kDirectionTemplates[0]),
                                        section_direction::kJ0Send);
             TabTo(op, trace, 3);
           });
  InWindow([&trace](QWidget*) { return trace && trace->hasFocus(); },
           [](QWidget*) {
             PressKeys({"ctrl+a"});
             TypeText(kTypedTrace);
             // Enter in an edit neither writes nor closes.
             PressKeys({"Return"});
           });
  InWindow([&trace](QWidget*) { return trace->text().toLower() == QLatin1String(kTypedTrace); },
           [this](QWidget* window) {
             // K1, K2, S1 and Z0 send, Read, Set.
             TabTo(op, Control<QPushButton>(window, config_window::kSet), 6);
           });
  InWindow([](QWidget* w) { return Control<QPushButton>(w, config_window::kSet)->hasFocus(); },
           [this, &before](QWidget* window) {
             EXPECT_EQ(simulated.Snapshot().ports[0].section.send.j0,
                       before.ports[0].section.send.j0);
             Photograph(window, "config-section-overhead");
             PressKeys({"Return"});
           });
  OnReadyMessage([this](QMessageBox* box) {
    EXPECT_EQ(MessageText(box), "开销设置成功");
    EXPECT_EQ(box->button(QMessageBox::Ok)->text().toStdString(), "确定");
    Photograph(box, "message-box");
    PressKeys({"Return"});
  });
  InWindow([](QWidget*) { return true; },
           [](QWidget* window) {
             PressKeys({"ctrl+Tab"});
             EXPECT_EQ(Tabs(window)->currentIndex(), kSectionTab);
           });
  InWindow([](QWidget* w) { return Tabs(w)->currentIndex() == kPathTab; },
           [](QWidget* window) {
             Photograph(window, "config-path-overhead");
             PressKeys({"ctrl+shift+Tab", "ctrl+shift+Tab"});
           });
  InWindow([](QWidget* w) { return Tabs(w)->currentIndex() == 1; },
           [this](QWidget* window) {
             TabTo(op, Control<QPushButton>(window, config_window::kExit), 1);
           });
  InWindow([](QWidget* w) { return Control<QPushButton>(w, config_window::kExit)->hasFocus(); },
           [](QWidget*) { PressKeys({"space"}); });
  Open();
  EXPECT_EQ(simulated.Snapshot().ports[0].section.send.j0, kSentTrace);
}

TEST_F(DeskTest, APortsRemarkIsEditedAndSavedByKeyboard) {
  const fs::path devices = fs::path(HostDirectory()) / "Devices";
  fs::create_directories(devices);
  const fs::path file =
      devices / (std::string(sim::kDefaultIp) + sim::kDefaultCardAddress + "t740_Remark.ini");
  fs::remove(file);
  CCheckListCtrl* list = nullptr;
  InWindow([](QWidget*) { return true; }, [](QWidget*) { PressKeys({"ctrl+shift+Tab"}); });
  InWindow([](QWidget* w) { return Tabs(w)->currentIndex() == kPortUserTab; },
           [this, &list](QWidget* window) {
             list = Page(window, port_user::kTemplate)
                        ->findChild<CCheckListCtrl*>(QString::number(port_user::kList));
             ASSERT_TRUE(list);
             TabTo(op, list, 1);
           });
  InWindow([&list](QWidget*) { return list && list->hasFocus(); },
           [](QWidget*) { PressKeys({"Return"}); });
  op.Then([](QWidget* modal) { return ReadyModal(modal, user_info_dialog::kTemplate); },
          [](QWidget*) {
            PressKeys({"ctrl+a"});
            TypeText(kTypedRemark);
            PressKeys({"Return"});
          });
  InWindow([&list](QWidget*) { return list->GetItemText(0, 1) == kTypedRemark; },
           [this, &list](QWidget* window) {
             const QModelIndex remark = list->model()->index(0, 1);
             EXPECT_EQ(list->model()->data(remark, Qt::ToolTipRole).toString(),
                       QLatin1String(kTypedRemark));
             Photograph(window, "config-port-users");
             TabTo(op, Control<QPushButton>(window, config_window::kSet), 2);
           });
  InWindow([](QWidget* w) { return Control<QPushButton>(w, config_window::kSet)->hasFocus(); },
           [](QWidget*) { PressKeys({"Return"}); });
  OnReadyMessage([](QMessageBox* box) {
    EXPECT_EQ(MessageText(box), "设置成功!");
    PressKeys({"Return"});
  });
  // F2 opens the editor again, on the same remark; Escape leaves it.
  InWindow([](QWidget* w) { return Control<QPushButton>(w, config_window::kSet)->hasFocus(); },
           [this, &list](QWidget*) { TabTo(op, list, 3); });
  InWindow([&list](QWidget*) { return list->hasFocus(); }, [](QWidget*) { PressKeys({"F2"}); });
  op.Then([](QWidget* modal) { return ReadyModal(modal, user_info_dialog::kTemplate); },
          [](QWidget* dialog) {
            EXPECT_EQ(Text(dialog, user_info_dialog::kRemark), kTypedRemark);
            PressKeys({"Escape"});
          });
  InWindow([&list](QWidget*) { return list->hasFocus(); },
           [this](QWidget* window) {
             TabTo(op, Control<QPushButton>(window, config_window::kExit), 3);
           });
  InWindow([](QWidget* w) { return Control<QPushButton>(w, config_window::kExit)->hasFocus(); },
           [](QWidget*) { PressKeys({"Return"}); });
  Open();
  std::ifstream in(file, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
            std::string(kTypedRemark) + ",,,,;");
  fs::remove(file);
}

TEST_F(DeskTest, ShieldingIsChosenWithSpaceAndConfirmedWithEnter) {
  QAbstractItemView* list = nullptr;
  op.Then([](QWidget* modal) { return ReadyModal(modal, shield_dialog::kTemplate); },
          [this, &list](QWidget* dialog) {
            list = Control<QAbstractItemView>(dialog, shield_dialog::kAlarmList);
            ASSERT_TRUE(list);
            // The dialog opens with its list focused.
            TabTo(op, list, 0);
          });
  op.Then([&list](QWidget*) { return list && list->hasFocus(); },
          [](QWidget*) {
            PressKeys({"Down", "space"});
          });
  op.Then(
      [&list](QWidget*) {
        return list->model()->data(list->model()->index(1, 3), Qt::CheckStateRole).toInt() ==
               Qt::Checked;
      },
      [](QWidget* dialog) {
        Photograph(dialog, "shield");
        PressKeys({"Return"});
      });
  CText result("untouched");
  int16_t length = -1;
  const int32_t returned = GetAlarmSheild(0, CText(""), 0, &result, &length, CText(""));
  EXPECT_TRUE(op.Done());
  EXPECT_EQ(returned, 1);
  EXPECT_EQ(length, 150);
  EXPECT_EQ(std::string(result.c_str()), "01" + std::string(148, '0'));
}

}  // namespace
}  // namespace t740::test
