#include "pages/alarm_shield_dlg.h"
#include "ids/shield_dialog_ids.h"

#include <QCheckBox>
#include <QPushButton>

#include "core/status/level_list.h"
#include "core/status/shield_mask.h"
#include "core/status/shield_rows.h"
#include "ui_alarm_shield_dlg.h"
#include "widgets/check_list_ctrl.h"
#include "widgets/control_ids.h"
#include "widgets/enter_clicks_button.h"
#include "widgets/plugin_fonts.h"

namespace t740 {
namespace {

constexpr int kLevelColumn = 1;
constexpr int kDescriptionColumn = 2;
constexpr int kShieldColumn = 3;

struct ListColumn {
  const char* heading;  // GBK
  int width;
};

const ListColumn kColumns[] = {
    {"\xB1\xE0\xBA\xC5" /* 编号 */, 50},
    {"\xB8\xE6\xBE\xAF\xBC\xB6\xB1\xF0" /* 告警级别 */, 80},
    {"\xB8\xE6\xBE\xAF\xC3\xE8\xCA\xF6" /* 告警描述 */, 220},
    {"\xB8\xE6\xBE\xAF\xC6\xC1\xB1\xCE" /* 告警屏蔽 */, 70},
};

const QColor kNumberShade(243, 243, 243);

}  // namespace

CAlarmShieldDlg::CAlarmShieldDlg(std::string_view inputMask, int32_t inputLength,
                                 std::string_view levelList, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::CAlarmShieldDlg>()),
      inputMask_(inputMask),
      inputLength_(inputLength),
      levelList_(levelList) {
  ui_->setupUi(this);
  ApplyControlIds(this);
  ApplyTemplateFont(this, ids::shield_dialog::kTemplate);
  list_ = ControlById<CCheckListCtrl>(this, ids::shield_dialog::kAlarmList);
  selectAll_ = ControlById<QCheckBox>(this, ids::shield_dialog::kSelectAll);
  connect(ControlById<QPushButton>(this, ids::shield_dialog::kOk), &QPushButton::clicked, this,
          &CAlarmShieldDlg::accept);
  connect(ControlById<QPushButton>(this, ids::shield_dialog::kCancel), &QPushButton::clicked, this,
          &CAlarmShieldDlg::reject);
  connect(selectAll_, &QCheckBox::clicked, this, &CAlarmShieldDlg::OnSelectAllClicked);
  LetEnterClickFocusedButtons(this);

  InitList();
  FillDefaultRows();
  ApplyLevelList();
  ApplyInputMask();
}

CAlarmShieldDlg::~CAlarmShieldDlg() = default;

void CAlarmShieldDlg::InitList() {
  int column = 0;
  for (const ListColumn& entry : kColumns)
    list_->InsertColumn(column++, entry.heading, entry.width);
  for (int row = 0; row < kShieldRowCount; ++row) {
    list_->InsertItem(row, ShieldRowNumber(row), list_->WindowTextColour(), kNumberShade);
    list_->SetCheckbox(row, kShieldColumn, 0);
  }
}

void CAlarmShieldDlg::FillDefaultRows() {
  for (int row = 0; row < kShieldRowCount; ++row) {
    list_->SetItemText(row, kLevelColumn, DefaultShieldLevel(row));
    list_->SetItemText(row, kDescriptionColumn, ShieldRowDescription(row));
  }
}

void CAlarmShieldDlg::ApplyLevelList() {
  const auto levels = ParseLevelList(levelList_, kShieldRowCount);
  for (size_t row = 0; row < levels.size(); ++row) {
    list_->SetItemText(static_cast<int>(row), kLevelColumn, levels[row]);
  }
}

void CAlarmShieldDlg::ApplyInputMask() {
  const ShieldBoxes boxes = ShieldBoxesFromMask(inputMask_, inputLength_);
  selectAll_->setChecked(boxes.selectAll);
  for (int row = 0; row < kShieldRowCount; ++row) {
    list_->SetCheckbox(row, kShieldColumn, boxes.rows[row] ? 1 : 0);
  }
}

void CAlarmShieldDlg::OnSelectAllClicked(bool checked) {
  for (int row = 0; row < kShieldRowCount; ++row) {
    list_->SetCheckbox(row, kShieldColumn, checked ? 1 : 0);
  }
}

void CAlarmShieldDlg::accept() {
  ShieldRows checked{};
  for (int row = 0; row < kShieldRowCount; ++row) {
    checked[row] = list_->GetCheckbox(row, kShieldColumn) == 1;
  }
  resultMask_ = BuildShieldMask(checked);
  resultLength_ = static_cast<int32_t>(resultMask_.size());
  QDialog::accept();
}

void CAlarmShieldDlg::reject() {
  resultMask_.clear();
  resultLength_ = 0;
  QDialog::reject();
}

}  // namespace t740
