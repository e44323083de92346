// The configuration window (template 1000): five pages in one tab control,
// and Read, Set and Exit acting on the page shown.
#ifndef T740_WINDOWS_CONFIG_DLG_H
#define T740_WINDOWS_CONFIG_DLG_H

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

#include "pages/loopback_page.h"
#include "pages/path_overhead_page.h"
#include "pages/port_user_page.h"
#include "pages/property_page1.h"
#include "pages/section_overhead_page.h"
#include "windows/threshold_tab_dlg.h"

class QTabWidget;
namespace Ui {
class CConfigDlg;
}

namespace t740 {

class CConfigDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kTabCount = 5;

  explicit CConfigDlg(CCardObject& card, QWidget* parent = nullptr);
  ~CConfigDlg() override;

  // Polls the card, lets the pages load, then runs the window modally.
  int DoModal();

  void ReadShownPage();
  void SetShownPage();

  QTabWidget* Tabs() const;
  // The threshold container is held for the window's whole life, but its
  // window is created only when something asks for it: nothing in this
  // window shows it, so an opening does not pay for its 108 edits.
  CThresholdTabDlg& Thresholds();

 private:
  struct TabActions {
    std::function<void()> read;
    std::function<void()> set;
  };

  void OnInitDialog();
  void AddTabKeys();
  void PutButtonsLastInTabOrder();
  void RunStartUpPoll();
  void LoadPages();
  std::array<TabActions, kTabCount> BuildTabActions();

  CCardObject& card_;
  CPropertyPage1 devicePage_;
  CLoopbackPage loopbackPage_;
  CSectionOverheadPage sectionPage_;
  CPortUserPage portUserPage_;
  CPathOverheadPage pathPage_;
  std::unique_ptr<CThresholdTabDlg> thresholds_;
  std::unique_ptr<Ui::CConfigDlg> ui_;
  std::array<TabActions, kTabCount> tabActions_;
  QTabWidget* tabs_ = nullptr;
  QPushButton* exit_ = nullptr;
};

// OpenConfiguration's window: the resource switch and the modal run; the
// pages take the card's identity from the card object.
void RunConfigurationWindow(QWidget* parent, CCardObject& card);

}  // namespace t740

#endif
