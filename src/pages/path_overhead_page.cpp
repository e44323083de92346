#include "pages/path_overhead_page.h"
#include "ids/path_overhead_ids.h"

#include <QComboBox>
#include <QLineEdit>

#include "core/card/card_object.h"
#include "core/overhead/path_overhead.h"
#include "ui_path_overhead_page.h"
#include "widgets/control_ids.h"
#include "widgets/gbk_qt.h"
#include "widgets/limit_trace_edit.h"

namespace t740 {
namespace {

constexpr int kG1Normal = 0;
constexpr int kG1RemoteDefect = 1;

struct EditField {
  const char* id;
  std::string PathOverhead::*text;
};

// In the order a read fills them.
const EditField kEdits[] = {
    {"1037", &PathOverhead::j1Received}, {"1041", &PathOverhead::j1Expected},
    {"1042", &PathOverhead::j1Send},     {"1038", &PathOverhead::c2Received},
    {"1046", &PathOverhead::c2Expected}, {"1043", &PathOverhead::c2Send},
    {"1044", &PathOverhead::k3Send},     {"1045", &PathOverhead::n1Send},
};

}  // namespace

CPathOverheadPage::CPathOverheadPage(CCardObject& card, QWidget* parent)
    : QWidget(parent), card_(card), ui_(std::make_unique<Ui::PathOverheadPage>()), messages_(this) {
  ui_->setupUi(this);
  ApplyControlIds(this);
  // The port list has the template's id too, so the page is named here.
  setObjectName(QString::number(ids::path_overhead::kTemplate));
  for (QLineEdit* trace : {ui_->id1037, ui_->id1041, ui_->id1042}) BindTraceLimit(trace);
  for (QComboBox* list : {ui_->id1093, ui_->id1094, ui_->id1095}) list->setCurrentIndex(0);
}

CPathOverheadPage::~CPathOverheadPage() = default;

void CPathOverheadPage::ReadPathOverhead(bool fromReadButton) {
  try {
    if (fromReadButton) SelectPathChannel();
    if (const auto values = FetchPathOverhead(card_, fromReadButton, messages_)) Show(*values);
  } catch (...) {
    // A read that fails on the way ends quietly; what it showed stays.
  }
}

void CPathOverheadPage::SelectPathChannel() {
  SendPathChannelSelect(card_, Values(), messages_);
}

void CPathOverheadPage::SetPathOverhead() {
  WritePathOverhead(card_, Values(), messages_);
}

std::optional<std::string> CPathOverheadPage::BuildPathRecord(std::string_view mode,
                                                              bool validate) {
  return t740::BuildPathRecord(mode, validate, Values(), messages_);
}

PathOverhead CPathOverheadPage::Values() const {
  PathOverhead values;
  values.port = ui_->id1093->currentIndex();
  values.vc4 = ui_->id1094->currentIndex();
  for (const EditField& edit : kEdits) {
    values.*edit.text = ToGbk(findChild<QLineEdit*>(edit.id)->text());
  }
  values.g1RemoteDefect = ui_->id1095->currentIndex() != kG1Normal;
  return values;
}

void CPathOverheadPage::Show(const PathOverhead& values) {
  // A position the lists do not have leaves their choice as it was.
  if (values.port != kNoListPosition) ui_->id1093->setCurrentIndex(values.port);
  if (values.vc4 != kNoListPosition) ui_->id1094->setCurrentIndex(values.vc4);
  for (const EditField& edit : kEdits) {
    findChild<QLineEdit*>(edit.id)->setText(FromGbk(values.*edit.text));
  }
  ui_->id1095->setCurrentIndex(values.g1RemoteDefect ? kG1RemoteDefect : kG1Normal);
}

}  // namespace t740
