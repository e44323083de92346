#include "pages/section_direction_page.h"
#include "ids/section_direction_ids.h"
#include "ids/section_overhead_ids.h"

#include <QLineEdit>

#include "ui_section_direction_page.h"
#include "widgets/control_ids.h"
#include "widgets/gbk_qt.h"
#include "widgets/limit_trace_edit.h"

namespace t740 {
namespace {

namespace id = ids::section_direction;

struct EditField {
  int id;
  std::string SectionDirection::*text;
};

// In the order a read fills them.
const EditField kEdits[] = {
    {id::kJ0Received, &SectionDirection::j0Received},
    {id::kJ0Expected, &SectionDirection::j0Expected},
    {id::kJ0Send, &SectionDirection::j0Send},
    {id::kK1Received, &SectionDirection::k1Received},
    {id::kK1Send, &SectionDirection::k1Send},
    {id::kK2Received, &SectionDirection::k2Received},
    {id::kK2Send, &SectionDirection::k2Send},
    {id::kS1Received, &SectionDirection::s1Received},
    {id::kS1Send, &SectionDirection::s1Send},
    {id::kZ0Send, &SectionDirection::z0Send},
};

struct InitialText {
  int id;
  const char* text;
};

// Direction A's page until the first read replaces them; the J0 texts are
// too short to pass a set.
const InitialText kInitialTexts[] = {
    {id::kJ0Expected, "7A 65 6C 74 6F"},
    {id::kJ0Send, "7A 65 6C 74 6F"},
    {id::kK1Send, "00"},
    {id::kK2Send, "00"},
    {id::kS1Send, "0b"},
    {id::kZ0Send, "55"},
};

const int kTraceEdits[] = {id::kJ0Expected, id::kJ0Send};

}  // namespace

CSectionDirectionPage::CSectionDirectionPage(size_t direction, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::SectionDirectionPage>()) {
  ui_->setupUi(this);
  ApplyControlIds(this);
  setObjectName(QString::number(TemplateId(direction)));
  for (int trace : kTraceEdits) BindTraceLimit(ControlById<QLineEdit>(this, trace));
  if (direction == 0) SetInitialTexts();
}

CSectionDirectionPage::~CSectionDirectionPage() = default;

int CSectionDirectionPage::TemplateId(size_t direction) {
  return ids::section_overhead::kDirectionTemplates[direction];
}

SectionDirection CSectionDirectionPage::Values() const {
  SectionDirection values;
  for (const EditField& edit : kEdits) {
    values.*edit.text = ToGbk(ControlById<QLineEdit>(this, edit.id)->text());
  }
  return values;
}

void CSectionDirectionPage::Show(const SectionDirection& values) {
  for (const EditField& edit : kEdits) {
    ControlById<QLineEdit>(this, edit.id)->setText(FromGbk(values.*edit.text));
  }
}

void CSectionDirectionPage::SetInitialTexts() {
  for (const InitialText& initial : kInitialTexts) {
    ControlById<QLineEdit>(this, initial.id)->setText(QString::fromLatin1(initial.text));
  }
}

}  // namespace t740
