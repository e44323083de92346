#include "pages/section_direction_page.h"
#include "ids/section_overhead_ids.h"

#include <QLineEdit>

#include "ui_section_direction_page.h"
#include "widgets/control_ids.h"
#include "widgets/gbk_qt.h"
#include "widgets/limit_trace_edit.h"

namespace t740 {
namespace {

struct EditField {
  const char* id;
  std::string SectionDirection::*text;
};

// In the order a read fills them.
const EditField kEdits[] = {
    {"1027", &SectionDirection::j0Received}, {"1031", &SectionDirection::j0Expected},
    {"1032", &SectionDirection::j0Send},     {"1028", &SectionDirection::k1Received},
    {"1033", &SectionDirection::k1Send},     {"1029", &SectionDirection::k2Received},
    {"1034", &SectionDirection::k2Send},     {"1030", &SectionDirection::s1Received},
    {"1035", &SectionDirection::s1Send},     {"1036", &SectionDirection::z0Send},
};

struct InitialText {
  const char* id;
  const char* text;
};

// Direction A's page until the first read replaces them; the J0 texts are
// too short to pass a set.
const InitialText kInitialTexts[] = {
    {"1031", "7A 65 6C 74 6F"},
    {"1032", "7A 65 6C 74 6F"},
    {"1033", "00"},
    {"1034", "00"},
    {"1035", "0b"},
    {"1036", "55"},
};

const char* const kTraceEdits[] = {"1031", "1032"};

}  // namespace

CSectionDirectionPage::CSectionDirectionPage(size_t direction, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::SectionDirectionPage>()) {
  ui_->setupUi(this);
  ApplyControlIds(this);
  setObjectName(QString::number(TemplateId(direction)));
  for (const char* id : kTraceEdits) BindTraceLimit(findChild<QLineEdit*>(id));
  if (direction == 0) SetInitialTexts();
}

CSectionDirectionPage::~CSectionDirectionPage() = default;

int CSectionDirectionPage::TemplateId(size_t direction) {
  return ids::section_overhead::kDirectionTemplates[direction];
}

SectionDirection CSectionDirectionPage::Values() const {
  SectionDirection values;
  for (const EditField& edit : kEdits) {
    values.*edit.text = ToGbk(findChild<QLineEdit*>(edit.id)->text());
  }
  return values;
}

void CSectionDirectionPage::Show(const SectionDirection& values) {
  for (const EditField& edit : kEdits) {
    findChild<QLineEdit*>(edit.id)->setText(FromGbk(values.*edit.text));
  }
}

void CSectionDirectionPage::SetInitialTexts() {
  for (const InitialText& initial : kInitialTexts) {
    findChild<QLineEdit*>(initial.id)->setText(QString::fromLatin1(initial.text));
  }
}

}  // namespace t740
