// The alarm shielding dialog (template 1022): 150 alarm rows, each with a
// shield box, set from the host's mask and level list. OK, and Enter, build
// the 150-character result mask; Cancel, Escape and the close box give an
// empty one.
#ifndef T740_PAGES_ALARM_SHIELD_DLG_H
#define T740_PAGES_ALARM_SHIELD_DLG_H

#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class QCheckBox;

namespace Ui {
class CAlarmShieldDlg;
}

namespace t740 {

class CCheckListCtrl;

class CAlarmShieldDlg : public QDialog {
 public:
  // GBK texts as the host passed them; the length is the host's 16-bit
  // length widened with its sign.
  CAlarmShieldDlg(std::string_view inputMask, int32_t inputLength, std::string_view levelList,
                  QWidget* parent = nullptr);
  ~CAlarmShieldDlg() override;

  const std::string& ResultMask() const { return resultMask_; }
  int32_t ResultLength() const { return resultLength_; }

  void accept() override;
  void reject() override;

 private:
  void InitList();
  void FillDefaultRows();
  void ApplyLevelList();
  void ApplyInputMask();
  void OnSelectAllClicked(bool checked);

  std::unique_ptr<Ui::CAlarmShieldDlg> ui_;
  CCheckListCtrl* list_;
  QCheckBox* selectAll_;
  std::string resultMask_;
  std::string inputMask_;
  int32_t resultLength_ = 0;
  int32_t inputLength_;
  std::string levelList_;
};

}  // namespace t740

#endif
