#include "windows/threshold_window.h"
#include "ids/threshold_window_ids.h"

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

CThresholdWindow::CThresholdWindow(CCardObject& card, QWidget* parent)
    : QDialog(parent), container_(new CThresholdTabDlg(card, this)) {
  setObjectName(QLatin1String(ids::threshold_window::kName));
  setWindowTitle(QStringLiteral("t740"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(container_);
  auto* row = new QHBoxLayout();
  row->addStretch();
  connect(AddButton(row, ids::threshold_window::kRead, QStringLiteral("读取")),
          &QPushButton::clicked, container_, &CThresholdTabDlg::ReadThresholds);
  connect(AddButton(row, ids::threshold_window::kSet, QStringLiteral("设置")),
          &QPushButton::clicked, container_, &CThresholdTabDlg::WriteThresholds);
  connect(AddButton(row, ids::threshold_window::kExit, QStringLiteral("退出")),
          &QPushButton::clicked, this, &QDialog::reject);
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
