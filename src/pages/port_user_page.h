// The port user tab (template 1090): the four ports' remarks, kept in the
// card's remark file in the host directory. A double-click, Enter or F2 edits
// the selected port's remark in the list; only Save writes the file.
#ifndef T740_PAGES_PORT_USER_PAGE_H
#define T740_PAGES_PORT_USER_PAGE_H

#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "core/card/card_object.h"
#include "core/console/remark_file.h"

namespace Ui {
class CPortUserPage;
}

namespace t740 {

class CCheckListCtrl;

class CPortUserPage : public QWidget {
 public:
  explicit CPortUserPage(CCardObject& card, QWidget* parent = nullptr);
  ~CPortUserPage() override;

  // Reads the remark file into the list; a missing file gives four empty
  // remarks. Loads after the first show the progress dialog.
  void Load();
  // Writes the list's remarks to the remark file and reports the outcome.
  void Save();

  // Where the remark files live; the host's directory unless a test says.
  void SetHostDirectory(std::string directory) { hostDirectory_ = std::move(directory); }

 private:
  void InitList();
  void EditSelectedRemark();
  std::optional<std::string> RemarkPath() const;
  void ShowRemarks(const PortRemarks& remarks);
  PortRemarks ListedRemarks() const;

  CCardObject& card_;
  std::unique_ptr<Ui::CPortUserPage> ui_;
  CCheckListCtrl* list_;
  std::string hostDirectory_;
  bool initialLoadDone_ = false;
};

}  // namespace t740

#endif
