// The edit dialog of one port's remark (template 1033). OK, and Enter,
// take the edit's text unless it holds a "," or a line break, which the
// remark file cannot keep; Cancel, Escape and the close box leave it.
#ifndef T740_PAGES_USER_INFO_DLG_H
#define T740_PAGES_USER_INFO_DLG_H

#include <QDialog>
#include <memory>
#include <string>

class QLineEdit;

namespace Ui {
class CUserInfoDlg;
}

namespace t740 {

class CUserInfoDlg : public QDialog {
 public:
  // The initial text is GBK.
  explicit CUserInfoDlg(std::string initialText, QWidget* parent = nullptr);
  ~CUserInfoDlg() override;

  // GBK; set when the dialog ended with OK.
  const std::string& ResultText() const { return resultText_; }

  void accept() override;

 private:
  std::string EditedText() const;

  std::unique_ptr<Ui::CUserInfoDlg> ui_;
  QLineEdit* remark_ = nullptr;
  std::string initialText_;
  std::string resultText_;
};

}  // namespace t740

#endif
