#include "windows/config_dlg.h"

#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>

#include "core/card/card_object.h"
#include "ids/config_window_ids.h"
#include "ui_config_dlg.h"
#include "widgets/control_ids.h"
#include "widgets/enter_clicks_button.h"
#include "widgets/poll_progress_dlg.h"
#include "widgets/resource_scope.h"
#include "windows/install_configuration_window.h"

namespace t740 {
namespace {

constexpr int kPollMode = 1;

const QKeySequence kNextTabKeys[] = {QKeySequence(Qt::CTRL | Qt::Key_Tab)};
const QKeySequence kPreviousTabKeys[] = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)};

void StepTab(QTabWidget* tabs, int step) {
  const int count = tabs->count();
  if (count > 0) tabs->setCurrentIndex((tabs->currentIndex() + step + count) % count);
}

}  // namespace

CConfigDlg::CConfigDlg(CCardObject& card, QWidget* parent)
    : QDialog(parent),
      card_(card),
      devicePage_(card),
      loopbackPage_(card),
      sectionPage_(card),
      portUserPage_(card),
      pathPage_(card),
      ui_(std::make_unique<Ui::CConfigDlg>()),
      tabActions_(BuildTabActions()) {
  ui_->setupUi(this);
  ApplyControlIds(this);
  tabs_ = ControlById<QTabWidget>(this, ids::config_window::kTabs);
  exit_ = ControlById<QPushButton>(this, ids::config_window::kExit);
  connect(ControlById<QPushButton>(this, ids::config_window::kRead), &QPushButton::clicked, this,
          &CConfigDlg::ReadShownPage);
  connect(ControlById<QPushButton>(this, ids::config_window::kSet), &QPushButton::clicked, this,
          &CConfigDlg::SetShownPage);
  connect(exit_, &QPushButton::clicked, this, &QDialog::reject);
  AddTabKeys();
}

// The pages are members and go before the tab control that shows them.
CConfigDlg::~CConfigDlg() = default;

CThresholdTabDlg& CConfigDlg::Thresholds() {
  if (!thresholds_) thresholds_ = std::make_unique<CThresholdTabDlg>(card_);
  return *thresholds_;
}

QTabWidget* CConfigDlg::Tabs() const {
  return tabs_;
}

// What Read and Set do for each tab; the device information page has
// nothing to read again or to write.
std::array<CConfigDlg::TabActions, CConfigDlg::kTabCount> CConfigDlg::BuildTabActions() {
  return {{
      {[] {}, [] {}},
      {[this] {
         loopbackPage_.Read();
         loopbackPage_.MarkInitialLoadDone();
       },
       [this] { loopbackPage_.Set(); }},
      {[this] {
         sectionPage_.ReadSectionOverhead();
         sectionPage_.MarkInitialLoadDone();
       },
       [this] { sectionPage_.SetSectionOverhead(); }},
      {[this] { pathPage_.ReadPathOverhead(true); }, [this] { pathPage_.SetPathOverhead(); }},
      {[this] { portUserPage_.Load(); }, [this] { portUserPage_.Save(); }},
  }};
}

void CConfigDlg::ReadShownPage() {
  const int tab = Tabs()->currentIndex();
  if (tab >= 0 && tab < kTabCount) tabActions_[tab].read();
}

void CConfigDlg::SetShownPage() {
  const int tab = Tabs()->currentIndex();
  if (tab >= 0 && tab < kTabCount) tabActions_[tab].set();
}

int CConfigDlg::DoModal() {
  OnInitDialog();
  return exec();
}

void CConfigDlg::OnInitDialog() {
  QTabWidget* tabs = Tabs();
  tabs->addTab(&devicePage_, QStringLiteral("设备信息"));
  tabs->addTab(&loopbackPage_, QStringLiteral("环回控制"));
  tabs->addTab(&sectionPage_, QStringLiteral("段开销配置"));
  tabs->addTab(&pathPage_, QStringLiteral("高阶通道开销配置"));
  tabs->addTab(&portUserPage_, QStringLiteral("端口用户信息"));
  tabs->setCurrentIndex(0);
  PutButtonsLastInTabOrder();
  LetEnterClickFocusedButtons(this);
  RunStartUpPoll();
  LoadPages();
}

// Ctrl+Tab and Ctrl+Shift+Tab step through the five tabs, wherever the
// focus is in the window (also in the section overhead page's own tabs).
void CConfigDlg::AddTabKeys() {
  for (const QKeySequence& keys : kNextTabKeys) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] { StepTab(Tabs(), 1); });
  }
  for (const QKeySequence& keys : kPreviousTabKeys) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this,
            [this] { StepTab(Tabs(), -1); });
  }
}

// The pages join the window's focus chain after its buttons. Putting the
// whole tab control (which hands its focus to the tab bar) after Exit makes
// the round the window shows: tab bar, the page shown, Read, Set, Exit.
// Moving only the tab bar would leave the tab control before Read as a
// second stop on the tab bar. The window opens with the tab bar focused.
void CConfigDlg::PutButtonsLastInTabOrder() {
  setTabOrder(exit_, Tabs());
  Tabs()->tabBar()->setFocus();
}

void CConfigDlg::RunStartUpPoll() {
  CPollProgressDlg poll(kPollMode, &card_, nullptr);
  poll.exec();
}

// After the poll: the cached groups first, then the pages that read for
// themselves.
void CConfigDlg::LoadPages() {
  loopbackPage_.Read();
  loopbackPage_.MarkInitialLoadDone();
  pathPage_.ReadPathOverhead(false);
  sectionPage_.ReadSectionOverhead();
  sectionPage_.MarkInitialLoadDone();
  devicePage_.Read();
  portUserPage_.Load();
}

void RunConfigurationWindow(QWidget* parent, CCardObject& card) {
  try {
    ResourceScope resources;
    CConfigDlg window(card, parent);
    window.DoModal();
  } catch (...) {
    // Nothing may leave the plug-in; the window is gone either way.
  }
}

void InstallConfigurationWindow() {
  SetConfigurationOpener(&RunConfigurationWindow);
}

}  // namespace t740
