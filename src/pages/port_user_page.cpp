#include "pages/port_user_page.h"
#include "ids/port_user_ids.h"

#include "core/card/card_object.h"
#include "core/card/host_directory.h"
#include "pages/user_info_dlg.h"
#include "ui_port_user_page.h"
#include "widgets/check_list_ctrl.h"
#include "widgets/control_ids.h"
#include "widgets/message_box.h"
#include "widgets/poll_progress_dlg.h"

namespace t740 {
namespace {

constexpr int kRemarkColumn = 1;

struct ListColumn {
  const char* heading;  // GBK
  int width;
};

const ListColumn kColumns[] = {
    {"\xB6\xCB\xBF\xDA\xBA\xC5" /* 端口号 */, 70},
    {"\xB6\xCB\xBF\xDA\xD3\xC3\xBB\xA7\xD0\xC5\xCF\xA2" /* 端口用户信息 */, 310},
};

const char* const kPortNames[kRemarkPortCount] = {
    "A\xB9\xE2\xBF\xDA" /* A光口 */,
    "B\xB9\xE2\xBF\xDA" /* B光口 */,
    "C\xB9\xE2\xBF\xDA" /* C光口 */,
    "D\xB9\xE2\xBF\xDA" /* D光口 */,
};

constexpr char kReadFailed[] = "Read Tephone Fail";
constexpr char kWriteError[] = "Write error!";
constexpr char kSaved[] = "\xC9\xE8\xD6\xC3\xB3\xC9\xB9\xA6!" /* 设置成功! */;

}  // namespace

CPortUserPage::CPortUserPage(CCardObject& card, QWidget* parent)
    : QWidget(parent),
      card_(card),
      ui_(std::make_unique<Ui::CPortUserPage>()),
      hostDirectory_(HostDirectory()) {
  ui_->setupUi(this);
  ApplyControlIds(this);
  // The page shares its template id with its list, which a form cannot
  // name twice.
  setObjectName(QString::number(ids::port_user::kTemplate));
  list_ = ControlById<CCheckListCtrl>(this, ids::port_user::kList);
  connect(list_, &CCheckListCtrl::listDoubleClicked, this, &CPortUserPage::EditSelectedRemark);
  connect(list_, &CCheckListCtrl::itemKeyActivated, this, &CPortUserPage::EditSelectedRemark);
  InitList();
}

CPortUserPage::~CPortUserPage() = default;

void CPortUserPage::InitList() {
  int column = 0;
  for (const ListColumn& entry : kColumns)
    list_->InsertColumn(column++, entry.heading, entry.width);
  for (int row = 0; row < kRemarkPortCount; ++row) {
    list_->InsertItem(row, kPortNames[row], list_->WindowTextColour(), list_->WindowColour());
  }
}

void CPortUserPage::Load() {
  const std::optional<std::string> path = RemarkPath();
  const RemarkRead read = path ? ReadRemarkFile(*path) : RemarkRead{RemarkReadOutcome::kNoFile, {}};
  if (read.outcome == RemarkReadOutcome::kReadFailed) {
    ShowPageMessage(this, kReadFailed);
    return;
  }
  PortRemarks remarks;
  for (size_t port = 0; port < remarks.size() && port < read.fields.size(); ++port) {
    remarks[port] = read.fields[port];
  }
  if (read.outcome == RemarkReadOutcome::kRead && initialLoadDone_) {
    CPollProgressDlg progress(&card_, this);
    progress.exec();
  }
  ShowRemarks(remarks);
  initialLoadDone_ = true;
}

void CPortUserPage::Save() {
  const std::optional<std::string> path = RemarkPath();
  const PortRemarks remarks = ListedRemarks();
  if (!path || !WriteRemarkFile(*path, JoinRemarkLine(remarks))) {
    ShowPageMessage(this, kWriteError);
    return;
  }
  ShowPageMessage(this, kSaved);
}

void CPortUserPage::EditSelectedRemark() {
  const int row = list_->GetSelectionMark();
  if (row < 0 || row >= kRemarkPortCount) return;
  CUserInfoDlg dialog(list_->GetItemText(row, kRemarkColumn), this);
  if (dialog.exec() == QDialog::Accepted) {
    list_->SetItemText(row, kRemarkColumn, dialog.ResultText());
  }
}

std::optional<std::string> CPortUserPage::RemarkPath() const {
  if (hostDirectory_.empty()) return std::nullopt;
  return RemarkFilePath(hostDirectory_, card_.IpAddress(), card_.CardAddress());
}

void CPortUserPage::ShowRemarks(const PortRemarks& remarks) {
  for (int row = 0; row < kRemarkPortCount; ++row) {
    list_->SetItemText(row, kRemarkColumn, remarks[row]);
  }
}

PortRemarks CPortUserPage::ListedRemarks() const {
  PortRemarks remarks;
  for (int row = 0; row < kRemarkPortCount; ++row) {
    remarks[row] = list_->GetItemText(row, kRemarkColumn);
  }
  return remarks;
}

}  // namespace t740
