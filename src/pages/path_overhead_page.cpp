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

namespace id = ids::path_overhead;

struct EditField {
  int id;
  std::string PathOverhead::*text;
};

// In the order a read fills them.
const EditField kEdits[] = {
    {id::kJ1Received, &PathOverhead::j1Received}, {id::kJ1Expected, &PathOverhead::j1Expected},
    {id::kJ1Send, &PathOverhead::j1Send},         {id::kC2Received, &PathOverhead::c2Received},
    {id::kC2Expected, &PathOverhead::c2Expected}, {id::kC2Send, &PathOverhead::c2Send},
    {id::kK3Send, &PathOverhead::k3Send},         {id::kN1Send, &PathOverhead::n1Send},
};

const int kTraceEdits[] = {id::kJ1Received, id::kJ1Expected, id::kJ1Send};
const int kLists[] = {id::kPort, id::kVc4, id::kG1Send};

}  // namespace

CPathOverheadPage::CPathOverheadPage(CCardObject& card, QWidget* parent)
    : QWidget(parent), card_(card), ui_(std::make_unique<Ui::PathOverheadPage>()), messages_(this) {
  ui_->setupUi(this);
  ApplyControlIds(this);
  // The port list has the template's id too, so the page is named here.
  setObjectName(QString::number(ids::path_overhead::kTemplate));
  for (int trace : kTraceEdits) BindTraceLimit(ControlById<QLineEdit>(this, trace));
  for (int list : kLists) List(list)->setCurrentIndex(0);
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

QComboBox* CPathOverheadPage::List(int listId) const {
  return ControlById<QComboBox>(this, listId);
}

PathOverhead CPathOverheadPage::Values() const {
  PathOverhead values;
  values.port = List(id::kPort)->currentIndex();
  values.vc4 = List(id::kVc4)->currentIndex();
  for (const EditField& edit : kEdits) {
    values.*edit.text = ToGbk(ControlById<QLineEdit>(this, edit.id)->text());
  }
  values.g1RemoteDefect = List(id::kG1Send)->currentIndex() != kG1Normal;
  return values;
}

void CPathOverheadPage::Show(const PathOverhead& values) {
  // A position the lists do not have leaves their choice as it was.
  if (values.port != kNoListPosition) List(id::kPort)->setCurrentIndex(values.port);
  if (values.vc4 != kNoListPosition) List(id::kVc4)->setCurrentIndex(values.vc4);
  for (const EditField& edit : kEdits) {
    ControlById<QLineEdit>(this, edit.id)->setText(FromGbk(values.*edit.text));
  }
  List(id::kG1Send)->setCurrentIndex(values.g1RemoteDefect ? kG1RemoteDefect : kG1Normal);
}

}  // namespace t740
