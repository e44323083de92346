#include "windows/threshold_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/card/card_object.h"
#include "widgets/resource_scope.h"

namespace t740 {
namespace {

QPushButton* AddButton(QHBoxLayout* row, int id, const QString& text) {
  auto* button = new QPushButton(text);
  button->setObjectName(QString::number(id));
  button->setAutoDefault(false);
  row->addWidget(button);
  return button;
}

}  // namespace

// Buttons as in the configuration window: 1005 reads, 1004 sets, 1010 exits.
CThresholdWindow::CThresholdWindow(CCardObject& card, QWidget* parent)
    : QDialog(parent), container_(new CThresholdTabDlg(card, this)) {
  setObjectName(QStringLiteral("ThresholdWindow"));
  setWindowTitle(QStringLiteral("t740"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(container_);
  auto* row = new QHBoxLayout();
  row->addStretch();
  connect(AddButton(row, 1005, QStringLiteral("读取")), &QPushButton::clicked, container_,
          &CThresholdTabDlg::ReadThresholds);
  connect(AddButton(row, 1004, QStringLiteral("设置")), &QPushButton::clicked, container_,
          &CThresholdTabDlg::WriteThresholds);
  connect(AddButton(row, 1010, QStringLiteral("退出")), &QPushButton::clicked, this,
          &QDialog::reject);
  layout->addLayout(row);
}

void RunThresholdWindow(QWidget* parent, CCardObject& card, std::string_view ip,
                        std::string_view cardAddress) {
  card.SetIdentity(ip, cardAddress);
  ResourceScope resources;
  CThresholdWindow window(card, parent);
  window.Container().SkipCache();
  window.Container().ReadThresholds();
  window.exec();
}

}  // namespace t740
