#include "widgets/control_ids.h"

#include <QWidget>

namespace t740 {
namespace {

void ApplyControlId(QObject* object) {
  const QString name = object->objectName();
  if (name.size() < 3 || !name.startsWith(QLatin1String("id"))) return;
  for (qsizetype i = 2; i < name.size(); ++i) {
    if (name[i] < QLatin1Char('0') || name[i] > QLatin1Char('9')) return;
  }
  object->setObjectName(name.mid(2));
}

}  // namespace

void ApplyControlIds(QWidget* root) {
  ApplyControlId(root);
  for (QWidget* child : root->findChildren<QWidget*>()) ApplyControlId(child);
}

}  // namespace t740
