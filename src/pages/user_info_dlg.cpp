#include "pages/user_info_dlg.h"

#include <QLineEdit>
#include <QPushButton>

#include "core/console/remark_file.h"
#include "ids/user_info_dialog_ids.h"
#include "ui_user_info_dlg.h"
#include "widgets/control_ids.h"
#include "widgets/enter_clicks_button.h"
#include "widgets/gbk_qt.h"
#include "widgets/message_box.h"

namespace t740 {
namespace {

constexpr char kUnstorableRemark[] =
    "\xD3\xC3\xBB\xA7\xD0\xC5\xCF\xA2\xB2\xBB\xC4\xDC\xB0\xFC\xBA\xAC\",\"\xBB\xF2\xBB\xBB\xD0\xD0!"
    /* 用户信息不能包含","或换行! */;

}  // namespace

CUserInfoDlg::CUserInfoDlg(std::string initialText, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::CUserInfoDlg>()),
      initialText_(std::move(initialText)) {
  ui_->setupUi(this);
  ApplyControlIds(this);
  remark_ = ControlById<QLineEdit>(this, ids::user_info_dialog::kRemark);
  connect(ControlById<QPushButton>(this, ids::user_info_dialog::kOk), &QPushButton::clicked, this,
          &CUserInfoDlg::accept);
  connect(ControlById<QPushButton>(this, ids::user_info_dialog::kCancel), &QPushButton::clicked,
          this, &CUserInfoDlg::reject);
  LetEnterClickFocusedButtons(this);
  remark_->setText(FromGbk(initialText_));
}

CUserInfoDlg::~CUserInfoDlg() = default;

void CUserInfoDlg::accept() {
  std::string text = EditedText();
  if (!IsStorableRemark(text)) {
    ShowPageMessage(this, kUnstorableRemark);
    remark_->setFocus();
    return;
  }
  resultText_ = std::move(text);
  QDialog::accept();
}

std::string CUserInfoDlg::EditedText() const {
  // An untouched remark keeps its bytes, even ones that are not GBK.
  const QString shown = remark_->text();
  if (shown == FromGbk(initialText_)) return initialText_;
  return ToGbk(shown);
}

}  // namespace t740
