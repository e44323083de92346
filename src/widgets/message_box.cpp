#include "widgets/message_box.h"

#include <QApplication>
#include <QMessageBox>

#include "widgets/gbk_qt.h"

namespace t740 {

void ShowPageMessage(QWidget* page, std::string_view gbkText) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), FromGbk(gbkText),
                  QMessageBox::Ok, page);
  box.exec();
}

}  // namespace t740
